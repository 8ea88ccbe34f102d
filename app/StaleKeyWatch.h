// Tells the main window when the key reports may have missed something: the session was
// unlocked or reconnected, the input desktop switched (Win+L, Ctrl+Alt+Del, a UAC prompt),
// or another window came to the front (perhaps one whose process the hooks do not reach).
#pragma once
#include "win32/Handles.h"

#include <windows.h>

class StaleKeyWatch {
public:
    StaleKeyWatch() = default;
    ~StaleKeyWatch() { Stop(); }
    StaleKeyWatch(const StaleKeyWatch&) = delete;
    StaleKeyWatch& operator=(const StaleKeyWatch&) = delete;

    // From now on `message` is posted to the window for a desktop switch or a change of the
    // window in front, and the window receives WM_WTSSESSION_CHANGE (see KeysMayBeStale).
    // Where the system does not announce the window in front, a timer of the window looks
    // at it while keys are about (see KeysSeen); while nothing happens, nothing runs.
    void Start(HWND window, UINT message);
    // Before the window is destroyed.
    void Stop();
    // After each key report and each new reading of the key state: whether the engine now
    // believes a modifier is held.
    void KeysSeen(bool modifierHeld);
    // The watch's part of the window procedure (its timer): true when the message was its.
    bool HandleMessage(UINT message, WPARAM wParam);
    // Whether a WM_WTSSESSION_CHANGE with this wParam means keys may have gone unseen.
    static bool KeysMayBeStale(WPARAM sessionChange);

private:
    HWND window_ = nullptr;
    OwnedLibrary sessionLibrary_;
    bool sessionRegistered_ = false;
    bool looking_ = false;       // the timer runs
    bool modifierHeld_ = false;  // as the engine believes
    DWORD lastKeys_ = 0;         // tick of the last KeysSeen
    OwnedWinEventHook foregroundHook_, desktopHook_;
};
