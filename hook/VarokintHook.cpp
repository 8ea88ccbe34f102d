// varokint.dll: the system-wide hooks of Varokinto. Runs inside every hooked process and
// reports each key event to the program's main window, which answers 1 for a key it has
// acted on; that key is swallowed here. Exported undecorated through varokint.def.
#include <windows.h>

namespace {

// Longer than any playback takes, short enough that a hung main window costs the typing
// application no more than a stutter.
constexpr UINT ReportTimeoutMs = 1000;
constexpr LRESULT KeyConsumed = 1;

bool MainWindowConsumes(WPARAM vk, LPARAM keyFlags)
{
    const HWND mainWindow = FindWindowA("VRClass", "Varokinto");
    if (mainWindow == nullptr)
        return false;
    DWORD flags = static_cast<DWORD>(keyFlags);
    COPYDATASTRUCT report = {};
    report.dwData = vk;
    report.cbData = sizeof flags;
    report.lpData = &flags;
    DWORD_PTR reply = 0;
    // Not SMTO_BLOCK: while we wait, this thread must still take messages sent to it,
    // since playback may send to a window of this very thread (the taskbar, for one).
    const LRESULT answered = SendMessageTimeoutA(mainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&report),
                                                 SMTO_ABORTIFHUNG, ReportTimeoutMs, &reply);
    return answered != 0 && reply == static_cast<DWORD_PTR>(KeyConsumed);
}

}  // namespace

extern "C" LRESULT CALLBACK VRKeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    // HC_NOREMOVE is a peek at a message that stays in the queue; it comes again as HC_ACTION.
    if (code == HC_ACTION && MainWindowConsumes(wParam, lParam))
        return KeyConsumed;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" LRESULT CALLBACK VRMsgProc(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
