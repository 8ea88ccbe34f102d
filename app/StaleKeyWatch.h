// Tells the main window when the key reports may have missed something: the session was
// unlocked or reconnected, the input desktop switched (Win+L, Ctrl+Alt+Del, a UAC prompt),
// or another window came to the front (perhaps one whose process the hooks do not reach).
#pragma once
#include "ui/WinHandles.h"

#include <windows.h>

class StaleKeyWatch {
public:
    StaleKeyWatch() = default;
    ~StaleKeyWatch() { Stop(); }
    StaleKeyWatch(const StaleKeyWatch&) = delete;
    StaleKeyWatch& operator=(const StaleKeyWatch&) = delete;

    // From now on `message` is posted to the window for a desktop switch or a change of the
    // window in front, and the window receives WM_WTSSESSION_CHANGE (see KeysMayBeStale).
    // A timer of the window, with a procedure of its own, looks at the window in front.
    void Start(HWND window, UINT message);
    // Before the window is destroyed.
    void Stop();
    // Whether a WM_WTSSESSION_CHANGE with this wParam means keys may have gone unseen.
    static bool KeysMayBeStale(WPARAM sessionChange);

private:
    struct FreeModule { void operator()(HMODULE module) const { FreeLibrary(module); } };
    struct RemoveWinEventHook { void operator()(HWINEVENTHOOK hook) const { UnhookWinEvent(hook); } };

    HWND window_ = nullptr;
    Owned<HMODULE, FreeModule> sessionLibrary_;
    bool sessionRegistered_ = false;
    Owned<HWINEVENTHOOK, RemoveWinEventHook> foregroundHook_, desktopHook_;
};
