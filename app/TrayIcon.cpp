#include "app/TrayIcon.h"

#include "win32/SystemFunctions.h"

#include <algorithm>

namespace {

constexpr UINT_PTR RetryTimerId = 0x5449;
// The first try again soon after a failed add, then less and less often: a shell without
// a notification area must not keep the program awake, and a new taskbar announces itself.
constexpr UINT FirstRetryMs = 1000;
constexpr UINT LongestRetryMs = 60000;

// An elevated program receives no message from a program of a lower integrity level (the
// shell) unless it lets that message through: this one, and nothing else.
void LetThroughFromTheShell(HWND window, UINT message)
{
    if (const auto filter = SystemFunctions::changeWindowMessageFilterEx.get())
        filter(window, message, MSGFLT_ALLOW, nullptr);
}

}  // namespace

void TrayIcon::Create(HWND window, UINT id, UINT callbackMessage, HICON icon, const char* tip)
{
    // The version-1 layout: every shell since Windows 95 accepts it, and it holds all we
    // set (icon, callback, a tip under 64 bytes). Its size depends on pointer alignment
    // (88 bytes on 32-bit, 104 on 64-bit), so it comes from the header, not a literal.
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data_.hWnd = window;
    data_.uID = id;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
    lstrcpynA(data_.szTip, tip, sizeof data_.szTip);
    // The shell broadcasts this registered message when it creates the taskbar.
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    if (taskbarCreated_ != 0)
        LetThroughFromTheShell(window, taskbarCreated_);
    retryMs_ = FirstRetryMs;
    wanted_ = true;
    Add();
}

bool TrayIcon::HandleMessage(UINT message, WPARAM wParam)
{
    if ((message == taskbarCreated_ && taskbarCreated_ != 0) || (message == WM_TIMER && wParam == RetryTimerId)) {
        if (wanted_)
            Add();
        return true;
    }
    return false;
}

void TrayIcon::Add()
{
    KillTimer(data_.hWnd, RetryTimerId);
    // A new taskbar holds no icon yet. One that still holds ours (the message came for
    // another reason) refuses to add it again; that it takes a change shows it is there.
    if (Shell_NotifyIconA(NIM_ADD, &data_) || Shell_NotifyIconA(NIM_MODIFY, &data_)) {
        retryMs_ = FirstRetryMs;
        return;
    }
    SetTimer(data_.hWnd, RetryTimerId, retryMs_, nullptr);
    retryMs_ = std::min(retryMs_ * 2, LongestRetryMs);
}

void TrayIcon::Remove()
{
    if (!wanted_)
        return;
    wanted_ = false;
    KillTimer(data_.hWnd, RetryTimerId);
    Shell_NotifyIconA(NIM_DELETE, &data_);
}
