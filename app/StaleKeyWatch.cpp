#include "app/StaleKeyWatch.h"

#include "win32/SystemFunctions.h"
#include "win32/SystemLibrary.h"

namespace {

// The window and message of the one watch, the window last seen in front, and whether the
// system has announced a new window in front: WinEvent callbacks get no context of their own.
HWND notifyWindow = nullptr;
UINT notifyMessage = 0;
HWND lastFront = nullptr;
bool foregroundAnnounced = false;

// Some systems (Wine among them) never announce a new window in front. There the window in
// front is looked at a few times a second, but only while a missed change could matter: while
// the engine believes a modifier is held, and for a while after the last key.
constexpr UINT_PTR ForegroundTimerId = 0x5743;
constexpr UINT ForegroundLookMs = 250;
constexpr DWORD LookAfterKeysMs = 10000;

void Notify()
{
    // Posted, not handled here: the callback can run while the engine waits inside a
    // playback, and key reports sent before the change are handled before a posted message.
    if (notifyWindow != nullptr)
        PostMessageA(notifyWindow, notifyMessage, 0, 0);
}

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD)
{
    if (event == EVENT_SYSTEM_FOREGROUND) {
        lastFront = GetForegroundWindow();
        foregroundAnnounced = true;
    }
    Notify();
}

constexpr DWORD NotifyForThisSession = 0;  // NOTIFY_FOR_THIS_SESSION

}  // namespace

void StaleKeyWatch::Start(HWND window, UINT message)
{
    Stop();
    window_ = window;
    notifyWindow = window;
    notifyMessage = message;
    // Out of context: the system calls back on this thread through its message queue, for
    // every process on the desktop, elevated ones included.
    lastFront = GetForegroundWindow();
    foregroundHook_.reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnWinEvent, 0, 0,
                                          WINEVENT_OUTOFCONTEXT));
    desktopHook_.reset(SetWinEventHook(EVENT_SYSTEM_DESKTOPSWITCH, EVENT_SYSTEM_DESKTOPSWITCH, nullptr, OnWinEvent, 0,
                                       0, WINEVENT_OUTOFCONTEXT));

    // The session notifications come from wtsapi32, loaded from the system folder (never
    // from the program's folder), and only for as long as the watch runs.
    sessionLibrary_.reset(LoadSystemLibrary(SystemFunctions::wtsRegisterSessionNotification.library()));
    const auto registerFor = SystemFunctions::wtsRegisterSessionNotification.in(sessionLibrary_.get());
    sessionRegistered_ = registerFor != nullptr && registerFor(window, NotifyForThisSession) != FALSE;
}

void StaleKeyWatch::Stop()
{
    foregroundHook_.reset();
    desktopHook_.reset();
    if (window_ != nullptr)
        KillTimer(window_, ForegroundTimerId);
    looking_ = false;
    if (sessionRegistered_) {
        if (const auto unregister = SystemFunctions::wtsUnRegisterSessionNotification.in(sessionLibrary_.get()))
            unregister(window_);
        sessionRegistered_ = false;
    }
    sessionLibrary_.reset();
    if (notifyWindow == window_)
        notifyWindow = nullptr;
    window_ = nullptr;
}

void StaleKeyWatch::KeysSeen(bool modifierHeld)
{
    modifierHeld_ = modifierHeld;
    lastKeys_ = GetTickCount();
    if (looking_ || foregroundAnnounced || window_ == nullptr)
        return;
    looking_ = SetTimer(window_, ForegroundTimerId, ForegroundLookMs, nullptr) != 0;
}

bool StaleKeyWatch::HandleMessage(UINT message, WPARAM wParam)
{
    if (message != WM_TIMER || wParam != ForegroundTimerId)
        return false;
    const HWND front = GetForegroundWindow();
    if (front != lastFront) {
        lastFront = front;
        Notify();
    }
    if (foregroundAnnounced || (!modifierHeld_ && GetTickCount() - lastKeys_ >= LookAfterKeysMs)) {
        KillTimer(window_, ForegroundTimerId);
        looking_ = false;
    }
    return true;
}

bool StaleKeyWatch::KeysMayBeStale(WPARAM sessionChange)
{
    // Back from the lock screen, or the session's console or remote connection changed:
    // keys went elsewhere meanwhile.
    return sessionChange == WTS_SESSION_UNLOCK || sessionChange == WTS_CONSOLE_CONNECT ||
           sessionChange == WTS_REMOTE_CONNECT;
}
