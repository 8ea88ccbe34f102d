// A KeySystem that touches nothing and answers at once: hooks "install", no key is
// down, no window exists. Tests override the few answers they care about.
#pragma once
#include "engine/KeySystem.h"

class StubKeySystem : public KeySystem {
public:
    void keybdEvent(std::uint8_t, std::uint8_t, std::uint32_t) override {}
    unsigned mapVirtualKey(unsigned, unsigned) override { return 0; }
    std::string loadKeyName(unsigned) override { return {}; }
    WindowId findWindow(const char*, const char*) override { return 0; }
    std::intptr_t sendMessage(WindowId, unsigned, std::uintptr_t, std::intptr_t) override { return 0; }
    bool sendMessageTimeout(WindowId, unsigned, std::uintptr_t, std::intptr_t, unsigned) override { return true; }
    bool postMessage(WindowId, unsigned, std::uintptr_t, std::intptr_t) override { return true; }
    bool setTimer(WindowId, unsigned, unsigned) override { return true; }
    bool isKeyDown(std::uint8_t) override { return false; }
    std::uint32_t tickCount() override { return 0; }
    WindowId foregroundWindow() override { return 0; }
    std::string exePathOfWindow(WindowId) override { return {}; }
    ModuleId loadLibrary(const char*) override { return 1; }
    ProcId findProc(ModuleId, const char*) override { return 1; }
    HookId setHook(int, ProcId, ModuleId) override { return 1; }
    bool unhook(HookId) override { return true; }
    void showMessage(const std::string&, const std::string&) override {}
};
