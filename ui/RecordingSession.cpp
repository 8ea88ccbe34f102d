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
    : editor_(editor), engine_(engine), recorder_(editor, instance)
{
    enableCloseBox(editor_, false);
    SetPropA(editor_, RecordingProperty, reinterpret_cast<HANDLE>(this));
    filter_.reset(SetWindowsHookExA(WH_MSGFILTER, &filter, nullptr, GetCurrentThreadId()));
    engine_.SetRecordingWindow(&recorder_);
}

RecordingSession::~RecordingSession()
{
    filter_.reset();
    RemovePropA(editor_, RecordingProperty);
    enableCloseBox(editor_, true);
    // The engine must not keep sending keys to a window that stopped recording or is gone.
    engine_.SetRecordingWindow(nullptr);
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
