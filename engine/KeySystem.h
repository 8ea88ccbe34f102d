// The engine's roads out, each as small as what it serves: the keyboard, the hook library,
// the desktop, and the program around the engine (its requests to the shell, and the window
// that records keys). The portable engine sees windows, modules and hooks only as opaque
// values; engine/win32/Win32KeySystem translates them to Win32, the shell answers the
// requests, and each test fake implements only what its tests need.
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

// Values of platform constants the engine hands through this interface (the Win32 names
// are macros, which a portable header must not define; Win32KeySystem checks they agree).
constexpr std::uint32_t KeyEventExtended = 0x0001;  // KEYEVENTF_EXTENDEDKEY
constexpr std::uint32_t KeyEventUp = 0x0002;        // KEYEVENTF_KEYUP
constexpr unsigned MapVkToScan = 0;                 // MapVirtualKeyA type MAPVK_VK_TO_VSC
constexpr unsigned MapScanToVkEx = 3;               // MAPVK_VSC_TO_VK_EX
constexpr int KeyboardHookType = 2;                 // WH_KEYBOARD
constexpr int MessageHookType = 3;                  // WH_GETMESSAGE

// Injected keys, scan codes, the system's key state, and the clock by which our own keys
// are given up when they never come back.
class Keyboard {
public:
    virtual ~Keyboard() = default;
    // keybd_event(vk, scan, flags, 0)
    virtual void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) = 0;
    // MapVirtualKeyA
    virtual unsigned mapVirtualKey(unsigned code, unsigned mapType) = 0;
    // GetAsyncKeyState: whether the key is down at the system level right now, which may
    // already differ from what the reported events said.
    virtual bool isKeyDown(std::uint8_t vk) = 0;
    // GetTickCount: milliseconds since some start, wrapping at 2^32.
    virtual std::uint32_t tickCount() = 0;
};

// LoadLibraryA, GetProcAddress, SetWindowsHookExA(type, proc, module, thread 0),
// UnhookWindowsHookEx.
class HookInstaller {
public:
    virtual ~HookInstaller() = default;
    virtual ModuleId loadLibrary(const char* name) = 0;
    virtual ProcId findProc(ModuleId module, const char* name) = 0;
    virtual HookId setHook(int type, ProcId proc, ModuleId module) = 0;
    virtual bool unhook(HookId hook) = 0;
};

// The window in front, the program that runs it, and the taskbar.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual WindowId foregroundWindow() = 0;
    // Full executable path of the process that owns the window, or "" when it cannot be found.
    virtual std::string exePathOfWindow(WindowId window) = 0;
    // Opens the Start menu, as the Windows key alone would. A taskbar that is missing or
    // does not answer costs at most a short wait, and playback goes on.
    virtual void openStartMenu() = 0;
};

// The step of putting the hooks in that failed.
enum class HookStep { Library, KeyboardHook, MessageHook };

// What the engine asks of the program around it, which knows its windows, timers and texts.
class ShellRequests {
public:
    virtual ~ShellRequests() = default;
    // The settings hotkey was pressed: open the shortcut settings for the window in front
    // (the engine's foregroundWindow), once the reply to the key report has gone back.
    virtual void openSettingsForWindowInFront() = 0;
    // The pause after an action: call KeyEngine::Reenable after that many milliseconds.
    // False when the pause cannot be timed.
    virtual bool startPause(unsigned milliseconds) = 0;
    // Tell the user that the hooks could not be put in, and at which step.
    virtual void tellHooksFailed(HookStep step) = 0;
};

// The window that records keys: the engine hands it each key newly pressed while recording.
class KeyRecorder {
public:
    virtual ~KeyRecorder() = default;
    // Whether a key of that virtual-key code can be recorded: one without a name cannot.
    virtual bool canRecord(unsigned vk) = 0;
    // The key and the modifiers held with it, as a key code. Stored before this returns, so
    // that the next event finds it there.
    virtual void recordKey(int keyCode) = 0;
};

// Everything one engine reaches the system and the shell through.
struct KeySystem {
    Keyboard& keyboard;
    HookInstaller& hooks;
    Desktop& desktop;
    ShellRequests& shell;
};
