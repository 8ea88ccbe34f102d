// The program in the notification area: the icon, and the menu it opens, shown from a
// window in front so that it takes keys and closes on a click elsewhere.
#pragma once
#include "app/TrayIcon.h"
#include "app/TrayMenuWindow.h"
#include "win32/Handles.h"

#include <windows.h>

#include <functional>

// SetForegroundWindow as the thread in front allows it.
void BringToFront(HWND window);

class Tray {
public:
    Tray() = default;
    Tray(const Tray&) = delete;
    Tray& operator=(const Tray&) = delete;

    // The icon's menu, sub-menu 0 of the menu resource; false when it cannot be loaded.
    bool LoadTrayMenu(HINSTANCE instance);
    // At WM_CREATE of the main window, which receives the icon's clicks and the menu's commands.
    void AddIcon(HWND mainWindow, UINT id, UINT callbackMessage, HICON icon, const char* tip);
    // The icon's part of the main window's procedure: true when the message was the icon's.
    bool HandleMessage(UINT message, WPARAM wParam) { return icon_.HandleMessage(message, wParam); }
    void RemoveIcon() { icon_.Remove(); }
    // Once the main window is there: under Wine, the window that owns the menu in its place.
    void CreateMenuWindowUnderWine(HINSTANCE instance, HWND mainWindow);
    // The menu's owner under Wine; null on Windows.
    HWND MenuWindow() const { return menuWindow_.handle(); }

    // A press of either button opens the menu; the icon's other mouse messages do nothing.
    static bool OpensMenu(LPARAM mouseMessage)
    {
        return mouseMessage == WM_RBUTTONDOWN || mouseMessage == WM_LBUTTONDOWN;
    }
    // Shows the menu at the pointer, or for a second copy of the program in the corner of the
    // work area with its first item highlighted. `ownerInFront` runs once the menu's owner
    // is in front, before the menu opens. The chosen item reaches the main window as WM_COMMAND.
    void ShowMenu(bool secondCopy, const std::function<void()>& ownerInFront);

private:
    TrayIcon icon_;
    OwnedMenu menu_;
    HMENU trayMenu_ = nullptr;
    HWND mainWindow_ = nullptr;
    TrayMenuWindow menuWindow_;  // the menu's owner under Wine only
};
