// The engine's system interface on Win32. Key names come from the string table of the
// module given at construction (the program's own instance).
#pragma once
#include "engine/KeySystem.h"

#include <windows.h>

class Win32KeySystem : public KeySystem {
public:
    explicit Win32KeySystem(HINSTANCE instance) : instance_(instance) {}

    void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
    unsigned mapVirtualKey(unsigned code, unsigned mapType) override;
    std::string loadKeyName(unsigned vk) override;
    WindowId findWindow(const char* className, const char* title) override;
    std::intptr_t sendMessage(WindowId window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    bool sendMessageTimeout(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                            unsigned timeoutMs) override;
    bool postMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool setTimer(WindowId window, unsigned id, unsigned milliseconds) override;
    WindowId foregroundWindow() override;
    std::string exePathOfWindow(WindowId window) override;
    bool isKeyDown(std::uint8_t vk) override { return (GetAsyncKeyState(vk) & 0x8000) != 0; }
    std::uint32_t tickCount() override { return GetTickCount(); }
    ModuleId loadLibrary(const char* name) override;
    ProcId findProc(ModuleId module, const char* name) override;
    HookId setHook(int type, ProcId proc, ModuleId module) override;
    bool unhook(HookId hook) override;
    void showMessage(const std::string& text, const std::string& caption) override;

    static HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
    static WindowId ToWindowId(HWND window) { return reinterpret_cast<WindowId>(window); }

private:
    HINSTANCE instance_;
};
