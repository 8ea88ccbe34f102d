#include "app/TrayMenuWindow.h"

#include "app/WindowBinding.h"
#include "win32/SystemFunctions.h"

namespace {

constexpr char TrayMenuWindowClass[] = "VRTrayMenu";

}  // namespace

TrayMenuWindow::~TrayMenuWindow()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

bool TrayMenuWindow::RunningUnderWine()
{
    return SystemFunctions::wineGetVersion.get() != nullptr;
}

void TrayMenuWindow::CreateUnderWine(HINSTANCE instance, HWND owner)
{
    if (window_ != nullptr || !RunningUnderWine()) {
        return;
    }
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = BoundWindowProc<TrayMenuWindow, &TrayMenuWindow::window_>;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = TrayMenuWindowClass;
    RegisterClassExA(&wc);
    // One pixel in the bottom-right corner of the screen, over the taskbar and of its
    // colour. It has to be on screen and shown for good: Wine does not reliably give the
    // keyboard to a window off screen or one shown only while the menu is open. Wine's
    // taskbar gives a button to every shown window without an owner, tool windows too.
    const int x = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int y = GetSystemMetrics(SM_CYSCREEN) - 1;
    if (CreateWindowExA(WS_EX_TOOLWINDOW, TrayMenuWindowClass, "", WS_POPUP, x, y, 1, 1, owner, nullptr, instance,
                        this) != nullptr) {
        ShowWindow(window_, SW_SHOWNOACTIVATE);
    }
}

void TrayMenuWindow::Track(HMENU menu, POINT at, HWND commandTarget, bool highlightFirst)
{
    highlightPending_ = highlightFirst;
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_BOTTOMALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, window_, nullptr));
    highlightPending_ = false;
    // Lets the menu's owner run its loop once more, so that the next menu closes on a
    // click elsewhere.
    PostMessageA(window_, WM_NULL, 0, 0);
    if (command != 0) {
        PostMessageA(commandTarget, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
}

LRESULT TrayMenuWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The menu loop says it is idle once, when the menu is up and has read what was queued:
    // a Down arrow given to it now selects the first item. Queued before the menu opened it
    // can be lost under Wine, on the first opening after the foreground moved to us.
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU && highlightPending_) {
        highlightPending_ = false;
        const HWND menuWindow = lParam != 0 ? reinterpret_cast<HWND>(lParam) : window_;
        PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
        return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}
