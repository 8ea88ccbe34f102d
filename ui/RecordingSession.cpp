#include "ui/RecordingSession.h"

namespace {

// Marks the editor window whose keys the recording filter drops.
constexpr char RecordingProperty[] = "VarokintoRecording";

void enableCloseBox(HWND window, bool enable)
{
    EnableMenuItem(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

RecordingSession::RecordingSession(HWND editor, KeyEngine& engine, HINSTANCE instance)
    : editor_(editor), engine_(engine), instance_(instance)
{
    enableCloseBox(editor_, false);
    SetPropA(editor_, RecordingProperty, reinterpret_cast<HANDLE>(this));
    filter_.reset(SetWindowsHookExA(WH_MSGFILTER, &filter, nullptr, GetCurrentThreadId()));
    engine_.SetRecordingWindow(this);
}

RecordingSession::~RecordingSession()
{
    filter_.reset();
    RemovePropA(editor_, RecordingProperty);
    enableCloseBox(editor_, true);
    // The engine must not keep sending keys to a window that stopped recording or is gone.
    engine_.SetRecordingWindow(nullptr);
}

bool RecordingSession::canRecord(unsigned vk)
{
    // The string table holds at most 255 bytes per key name.
    char name[256];
    return LoadStringA(instance_, vk, name, sizeof name) > 0;
}

void RecordingSession::recordKey(int keyCode)
{
    // Sent, so the editor has stored the key before the engine handles the next event.
    SendMessageA(editor_, WM_KEY_RECORDED, static_cast<WPARAM>(keyCode), 0);
}

LRESULT CALLBACK RecordingSession::filter(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message != nullptr && message->message >= WM_KEYFIRST &&
        message->message <= WM_KEYLAST && GetPropA(GetAncestor(message->hwnd, GA_ROOT), RecordingProperty)) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
