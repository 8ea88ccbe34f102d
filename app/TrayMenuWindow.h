// Under Wine, the window that shows the tray menu in place of the hidden main window: Wine
// gives a pop-up menu the keyboard only when its owner is a window that has been shown,
// and the main window never is. On Windows it is never created.
#pragma once
#include <windows.h>

class TrayMenuWindow {
public:
    TrayMenuWindow() = default;
    ~TrayMenuWindow();
    TrayMenuWindow(const TrayMenuWindow&) = delete;
    TrayMenuWindow& operator=(const TrayMenuWindow&) = delete;

    // True when the program runs under Wine: its ntdll exports wine_get_version.
    static bool RunningUnderWine();
    // Creates and shows the window when running under Wine; does nothing elsewhere. The
    // owner keeps it off the taskbar.
    void CreateUnderWine(HINSTANCE instance, HWND owner);
    // Null on Windows, and when the window could not be created.
    HWND handle() const { return window_; }
    // Shows the menu from this window, which must be in front, optionally with its first
    // item highlighted, and posts the chosen command to the target as the WM_COMMAND a
    // menu of its own would have sent it.
    void Track(HMENU menu, POINT at, HWND commandTarget, bool highlightFirst);

private:
    template <class Owner, HWND Owner::*Window> friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    bool highlightPending_ = false;
};
