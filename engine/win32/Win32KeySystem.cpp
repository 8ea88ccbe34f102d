#include "engine/win32/Win32KeySystem.h"

#include "contract/HookContract.h"
#include "engine/win32/ForegroundApp.h"

static_assert(KeyEventExtended == KEYEVENTF_EXTENDEDKEY && KeyEventUp == KEYEVENTF_KEYUP);
static_assert(MapVkToScan == MAPVK_VK_TO_VSC && MapScanToVkEx == MAPVK_VSC_TO_VK_EX);
static_assert(CommandMessage == WM_COMMAND && KeyboardHookType == WH_KEYBOARD && MessageHookType == WH_GETMESSAGE);
static_assert(WM_KEY_RECORDED == WM_APP + 101);
static_assert(HookContract::ReportMessage == WM_COPYDATA);
static_assert(KeyFlags::ExtendedBit == KF_EXTENDED << 16 && KeyFlags::PreviousBit == KF_REPEAT << 16 &&
              KeyFlags::UpBit == static_cast<std::uint32_t>(KF_UP) << 16);

void Win32KeySystem::keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags)
{
    keybd_event(vk, scan, flags, 0);
}

unsigned Win32KeySystem::mapVirtualKey(unsigned code, unsigned mapType)
{
    return MapVirtualKeyA(code, mapType);
}

std::string Win32KeySystem::loadKeyName(unsigned vk)
{
    char name[256] = {};
    const int length = LoadStringA(instance_, vk, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

WindowId Win32KeySystem::findWindow(const char* className, const char* title)
{
    return ToWindowId(FindWindowA(className, title));
}

std::intptr_t Win32KeySystem::sendMessage(WindowId window, unsigned message, std::uintptr_t wParam,
                                          std::intptr_t lParam)
{
    return SendMessageA(ToHwnd(window), message, wParam, lParam);
}

bool Win32KeySystem::sendMessageTimeout(WindowId window, unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam, unsigned timeoutMs)
{
    // Without SMTO_BLOCK: key reports sent to us meanwhile are still handled.
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(ToHwnd(window), message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs,
                               &result) != 0;
}

bool Win32KeySystem::postMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    return PostMessageA(ToHwnd(window), message, wParam, lParam) != FALSE;
}

bool Win32KeySystem::setTimer(WindowId window, unsigned id, unsigned milliseconds)
{
    return SetTimer(ToHwnd(window), id, milliseconds, nullptr) != 0;
}

WindowId Win32KeySystem::foregroundWindow()
{
    return ToWindowId(GetForegroundWindow());
}

std::string Win32KeySystem::exePathOfWindow(WindowId window)
{
    return ExePathOfWindow(ToHwnd(window));
}

ModuleId Win32KeySystem::loadLibrary(const char* name)
{
    return reinterpret_cast<ModuleId>(LoadLibraryA(name));
}

ProcId Win32KeySystem::findProc(ModuleId module, const char* name)
{
    return reinterpret_cast<ProcId>(GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

HookId Win32KeySystem::setHook(int type, ProcId proc, ModuleId module)
{
    if (proc == 0)
        return 0;
    return reinterpret_cast<HookId>(SetWindowsHookExA(type, reinterpret_cast<HOOKPROC>(proc),
                                                      reinterpret_cast<HINSTANCE>(module), 0));
}

bool Win32KeySystem::unhook(HookId hook)
{
    return UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook)) != FALSE;
}

void Win32KeySystem::showMessage(const std::string& text, const std::string& caption)
{
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
}
