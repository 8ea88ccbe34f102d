// The notification-area icon. Added when the main window is created; added again when the
// taskbar is created anew (Explorer restarted after an update or a crash); and, while the
// notification area does not take it (the program started at log-on before the taskbar),
// tried again by a timer that stops once it is there.
#pragma once
#include <windows.h>
#include <shellapi.h>

class TrayIcon {
public:
    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // At WM_CREATE of the window that receives the icon's callback message.
    void Create(HWND window, UINT id, UINT callbackMessage, HICON icon, const char* tip);
    // The icon's part of the window procedure: true when the message was the icon's.
    bool HandleMessage(UINT message, WPARAM wParam);
    // Before the window is destroyed, and when the session ends: the icon stays away.
    void Remove();

private:
    void Add();

    NOTIFYICONDATAA data_ = {};
    UINT taskbarCreated_ = 0;
    UINT retryMs_ = 0;
    bool wanted_ = false;  // from Create to Remove
};
