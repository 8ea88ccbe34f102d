// The engine's one road to the platform. The portable engine sees windows, modules and
// hooks only as opaque values; engine/win32/Win32KeySystem translates them to Win32.
#pragma once
#include <cstdint>
#include <string>

using WindowId = std::uintptr_t;  // opaque window handle; 0 = none
using ModuleId = std::uintptr_t;  // loaded library; 0 = none
using ProcId = std::uintptr_t;    // exported procedure of a library; 0 = none
using HookId = std::uintptr_t;    // installed hook; 0 = none

// The WM_COPYDATA record the hook library sends for one key event.
struct KeyReport {
    std::uintptr_t dwData;  // virtual-key code
    const void* lpData;     // the 32-bit keystroke flags word
    std::uint32_t cbData;
};

constexpr unsigned WM_KEY_RECORDED = 0x8065;  // WM_APP + 101
constexpr unsigned IDT_REENABLE = 1;

// Values of platform constants the engine hands through this interface (the Win32 names
// are macros, which a portable header must not define; Win32KeySystem checks they agree).
constexpr std::uint32_t KeyEventExtended = 0x0001;  // KEYEVENTF_EXTENDEDKEY
constexpr std::uint32_t KeyEventUp = 0x0002;        // KEYEVENTF_KEYUP
constexpr unsigned MapVkToScan = 0;                 // MapVirtualKeyA type MAPVK_VK_TO_VSC
constexpr unsigned MapScanToVkEx = 3;               // MAPVK_VSC_TO_VK_EX
constexpr unsigned CommandMessage = 0x0111;         // WM_COMMAND
constexpr int KeyboardHookType = 2;                 // WH_KEYBOARD
constexpr int MessageHookType = 3;                  // WH_GETMESSAGE

class KeySystem {
public:
    virtual ~KeySystem() = default;

    // keybd_event(vk, scan, flags, 0)
    virtual void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) = 0;
    // MapVirtualKeyA
    virtual unsigned mapVirtualKey(unsigned code, unsigned mapType) = 0;
    // LoadStringA of the program's key-name string table (id = vk), at most 255 bytes.
    virtual std::string loadKeyName(unsigned vk) = 0;

    // FindWindowA; a null title matches any.
    virtual WindowId findWindow(const char* className, const char* title) = 0;
    virtual std::intptr_t sendMessage(WindowId window, unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) = 0;
    // SendMessageTimeoutA with SMTO_ABORTIFHUNG, for windows of other processes: a hung
    // one must not stop us (nor, through us, every application whose keys we are sent).
    // False when it was not answered in time.
    virtual bool sendMessageTimeout(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                    unsigned timeoutMs) = 0;
    virtual bool postMessage(WindowId window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
    virtual bool setTimer(WindowId window, unsigned id, unsigned milliseconds) = 0;

    // GetAsyncKeyState: whether the key is down at the system level right now, which may
    // already differ from what the reported events said.
    virtual bool isKeyDown(std::uint8_t vk) = 0;

    // GetTickCount: milliseconds since some start, wrapping at 2^32.
    virtual std::uint32_t tickCount() = 0;

    virtual WindowId foregroundWindow() = 0;
    // Full executable path of the process that owns the window, or "" when it cannot be found.
    virtual std::string exePathOfWindow(WindowId window) = 0;

    // LoadLibraryA, GetProcAddress, SetWindowsHookExA(type, proc, module, thread 0),
    // UnhookWindowsHookEx.
    virtual ModuleId loadLibrary(const char* name) = 0;
    virtual ProcId findProc(ModuleId module, const char* name) = 0;
    virtual HookId setHook(int type, ProcId proc, ModuleId module) = 0;
    virtual bool unhook(HookId hook) = 0;

    // A message box with no owner and an OK button.
    virtual void showMessage(const std::string& text, const std::string& caption) = 0;
};
