#include "engine/win32/Win32KeySystem.h"

#include "contract/HookContract.h"
#include "engine/win32/ForegroundApp.h"

static_assert(KeyEventExtended == KEYEVENTF_EXTENDEDKEY && KeyEventUp == KEYEVENTF_KEYUP);
static_assert(MapVkToScan == MAPVK_VK_TO_VSC && MapScanToVkEx == MAPVK_VSC_TO_VK_EX);
static_assert(KeyboardHookType == WH_KEYBOARD && MessageHookType == WH_GETMESSAGE);
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

bool Win32KeySystem::OpenStartMenuOf(HWND taskbar)
{
    // SendMessageTimeoutA with SMTO_ABORTIFHUNG: a hung taskbar must not stop us (nor,
    // through us, every application whose keys we are sent). Without SMTO_BLOCK, key
    // reports sent to us meanwhile are still handled.
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(taskbar, TaskbarMessage, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, TaskbarTimeoutMs,
                               &result) != 0;
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
    return reinterpret_cast<HookId>(
        SetWindowsHookExA(type, reinterpret_cast<HOOKPROC>(proc), reinterpret_cast<HINSTANCE>(module), 0));
}

bool Win32KeySystem::unhook(HookId hook)
{
    return UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook)) != FALSE;
}
