// The engine's system touching nothing and answering at once: no key is down, hooks
// "install", no window exists, the shell does nothing. Tests override the few answers they
// care about, or take only the hooks or the shell.
#pragma once
#include "engine/KeySystem.h"

class StubHooks : public HookInstaller {
public:
    ModuleId loadLibrary(const char*) override { return 1; }
    ProcId findProc(ModuleId, const char*) override { return 1; }
    HookId setHook(int, ProcId, ModuleId) override { return 1; }
    bool unhook(HookId) override { return true; }
};

class StubShell : public ShellRequests {
public:
    void openSettingsForWindowInFront() override {}
    bool startPause(unsigned) override { return true; }
    void tellHooksFailed(HookStep) override {}
};

class StubKeySystem : public Keyboard, public StubHooks, public Desktop, public StubShell {
public:
    void keybdEvent(std::uint8_t, std::uint8_t, std::uint32_t) override {}
    unsigned mapVirtualKey(unsigned, unsigned) override { return 0; }
    bool isKeyDown(std::uint8_t) override { return false; }
    std::uint32_t tickCount() override { return 0; }
    WindowId foregroundWindow() override { return 0; }
    std::string exePathOfWindow(WindowId) override { return {}; }
    void openStartMenu() override {}

    KeySystem keySystem() { return {*this, *this, *this, *this}; }
};
