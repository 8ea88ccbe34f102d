// The engine's keyboard, hook library and desktop on Win32.
#pragma once
#include "engine/KeySystem.h"

#include <windows.h>

class Win32KeySystem : public Keyboard, public HookInstaller, public Desktop {
public:
    // The taskbar opens the Start menu for this message.
    static constexpr UINT TaskbarMessage = 0x504;
    // How long the taskbar may take to answer: well below the hook library's wait for our
    // reply, so that a hung Explorer costs one short delay and no key reaches it raw.
    static constexpr UINT TaskbarTimeoutMs = 250;

    void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
    unsigned mapVirtualKey(unsigned code, unsigned mapType) override;
    bool isKeyDown(std::uint8_t vk) override { return (GetAsyncKeyState(vk) & 0x8000) != 0; }
    std::uint32_t tickCount() override { return GetTickCount(); }

    ModuleId loadLibrary(const char* name) override;
    ProcId findProc(ModuleId module, const char* name) override;
    HookId setHook(int type, ProcId proc, ModuleId module) override;
    bool unhook(HookId hook) override;

    WindowId foregroundWindow() override;
    std::string exePathOfWindow(WindowId window) override;
    void openStartMenu() override { OpenStartMenuOf(FindWindowA("Shell_TrayWnd", nullptr)); }
    // False when the taskbar did not answer in time, or there is none.
    static bool OpenStartMenuOf(HWND taskbar);

    // The engine's system, with the shell that answers its requests.
    KeySystem keySystem(ShellRequests& shell) { return {*this, *this, *this, shell}; }

    static HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
    static WindowId ToWindowId(HWND window) { return reinterpret_cast<WindowId>(window); }
};
