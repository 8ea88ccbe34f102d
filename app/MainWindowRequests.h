// What the key engine asks of the shell, answered through the hidden main window: the
// settings command posted to it, the pause after an action as its timer, and the hook
// failures as message boxes.
#pragma once
#include "engine/KeySystem.h"

#include <windows.h>

// The main window's timer of the pause; at its end the shell switches the engine on again.
constexpr UINT_PTR IDT_REENABLE = 1;

class MainWindowRequests : public ShellRequests {
public:
    explicit MainWindowRequests(HWND mainWindow) : mainWindow_(mainWindow) {}

    void openSettingsForWindowInFront() override;
    bool startPause(unsigned milliseconds) override;
    void tellHooksFailed(HookStep step) override;

private:
    HWND mainWindow_;
};
