// A KeySystem that records every effect as one readable line, in order, and answers
// queries from settable fields. Key names come from the vocabulary, as the real string
// table holds the same names.
#pragma once
#include "engine/KeySystem.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class FakeKeySystem : public KeySystem {
public:
    static constexpr WindowId TrayWindow = 0x7700;
    static constexpr ModuleId HookLibrary = 0xD11;

    // Effects: "key 0x11 scan 0x1D up ext", "send 0x7700 0x504 0x0 0x0",
    // "post 0x100 WM_COMMAND 0x9c42 0x0", "timer 0x100 id 1 ms 100", "load varokint",
    // "hook 2 VRKeyboardProc", "unhook 0x...", "message Error: text".
    std::vector<std::string> log;

    WindowId foreground = 0;
    std::map<WindowId, std::string> exePaths;  // by window
    int pathLookups = 0;
    bool libraryLoads = true;
    bool keyboardHookInstalls = true;
    bool messageHookInstalls = true;
    bool timerStarts = true;
    bool trayExists = true;
    std::set<unsigned> releasedNow;  // keys the system already reports up (isKeyDown)

    void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
    unsigned mapVirtualKey(unsigned code, unsigned mapType) override;
    std::string loadKeyName(unsigned vk) override;
    WindowId findWindow(const char* className, const char* title) override;
    std::intptr_t sendMessage(WindowId window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    bool postMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool setTimer(WindowId window, unsigned id, unsigned milliseconds) override;
    WindowId foregroundWindow() override { return foreground; }
    bool isKeyDown(std::uint8_t vk) override { return releasedNow.count(vk) == 0; }
    std::string exePathOfWindow(WindowId window) override;
    ModuleId loadLibrary(const char* name) override;
    ProcId findProc(ModuleId module, const char* name) override;
    HookId setHook(int type, ProcId proc, ModuleId module) override;
    bool unhook(HookId hook) override;
    void showMessage(const std::string& text, const std::string& caption) override;

private:
    std::vector<std::string> procNames_;
    HookId nextHook_ = 0x4000;
};
