#include "app/Tray.h"

#include "res/resource.h"

void BringToFront(HWND window)
{
    // Windows lets only the thread that owns the foreground window hand it over; sharing
    // its input state for the call makes SetForegroundWindow take effect.
    const DWORD ours = GetCurrentThreadId();
    const DWORD front = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attach = front != 0 && front != ours;
    if (attach) {
        AttachThreadInput(ours, front, TRUE);
    }
    SetForegroundWindow(window);
    if (attach) {
        AttachThreadInput(ours, front, FALSE);
    }
}

bool Tray::LoadTrayMenu(HINSTANCE instance)
{
    menu_.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    trayMenu_ = menu_ ? GetSubMenu(menu_.get(), 0) : nullptr;
    return trayMenu_ != nullptr;
}

void Tray::AddIcon(HWND mainWindow, UINT id, UINT callbackMessage, HICON icon, const char* tip)
{
    mainWindow_ = mainWindow;
    icon_.Create(mainWindow, id, callbackMessage, icon, tip);
}

void Tray::CreateMenuWindowUnderWine(HINSTANCE instance, HWND mainWindow)
{
    menuWindow_.CreateUnderWine(instance, mainWindow);
}

void Tray::ShowMenu(bool secondCopy, const std::function<void()>& ownerInFront)
{
    // Under Wine a menu takes keys only from an owner that has been shown, which the main
    // window never is; there a window of our own that is shown takes its place.
    const HWND owner = menuWindow_.handle() != nullptr ? menuWindow_.handle() : mainWindow_;
    POINT at = {};
    if (secondCopy) {
        RECT workArea = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
        at = {workArea.right, workArea.bottom};
        BringToFront(owner);
        // Nobody clicked, so the menu would open without a highlighted item; a Down arrow
        // queued now is the first thing the menu reads and selects its first item. (Under
        // Wine the menu's owner gives it once the menu runs: one queued now can be lost.)
        if (owner == mainWindow_) {
            keybd_event(VK_DOWN, 0, 0, 0);
            keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
        }
    } else {
        SetForegroundWindow(owner);
        GetCursorPos(&at);
    }
    ownerInFront();
    if (owner != mainWindow_) {
        menuWindow_.Track(trayMenu_, at, mainWindow_, secondCopy);
        return;
    }
    // The menu only closes on a click elsewhere if our window is in front when it opens.
    TrackPopupMenu(trayMenu_, TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, mainWindow_, nullptr);
    // A menu opened from a background window leaves its owner in a state where the next
    // click on the icon is lost, unless a message reaches the owner once it has closed.
    PostMessageA(mainWindow_, WM_NULL, 0, 0);
}
