#include "FakeKeySystem.h"

#include "ui/KeyVocabulary.h"

#include <cstdio>
#include <cstring>

namespace {

std::string Hex(std::uintmax_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%jX", value);
    return text;
}

std::string MessageName(unsigned message)
{
    switch (message) {
    case 0x0111:
        return "WM_COMMAND";
    case WM_KEY_RECORDED:
        return "WM_KEY_RECORDED";
    default:
        return Hex(message);
    }
}

}  // namespace

void FakeKeySystem::keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags)
{
    char line[64];
    std::snprintf(line, sizeof line, "key 0x%02X scan 0x%02X %s%s", vk, scan, (flags & KeyEventUp) ? "up" : "down",
                  (flags & KeyEventExtended) ? " ext" : "");
    log.push_back(line);
    if (flags & ~(KeyEventUp | KeyEventExtended))
        log.push_back("unexpected key flags " + Hex(flags));
}

unsigned FakeKeySystem::mapVirtualKey(unsigned code, unsigned mapType)
{
    // The values of a US/Japanese layout for the keys the engine asks about.
    static const std::map<unsigned, unsigned> toScan = {
        {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA3, 0xE01D}, {0xA4, 0x38}, {0xA5, 0xE038},
    };
    static const std::map<unsigned, unsigned> toSidedVk = {
        {0x2A, 0xA0}, {0x36, 0xA1}, {0x1D, 0xA2}, {0x11D, 0xA3}, {0x38, 0xA4}, {0x138, 0xA5},
        {0x15B, 0x5B}, {0x15C, 0x5C}, {0x12, 0x45}, {0x2E, 0x43}, {0x1E, 0x41}, {0x1C, 0x0D},
    };
    const auto& table = mapType == MapVkToScan ? toScan : toSidedVk;
    if (mapType != MapVkToScan && mapType != MapScanToVkEx)
        log.push_back("unexpected map type " + Hex(mapType));
    const auto found = table.find(code);
    return found == table.end() ? 0 : found->second;
}

std::string FakeKeySystem::loadKeyName(unsigned vk)
{
    return KeyName(vk);
}

WindowId FakeKeySystem::findWindow(const char* className, const char* title)
{
    if (trayExists && std::strcmp(className, "Shell_TrayWnd") == 0 && title == nullptr)
        return TrayWindow;
    return 0;
}

std::intptr_t FakeKeySystem::sendMessage(WindowId window, unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam)
{
    log.push_back("send " + Hex(window) + " " + MessageName(message) + " " + Hex(wParam) + " " +
                  Hex(static_cast<std::uintptr_t>(lParam)));
    return 0;
}

bool FakeKeySystem::postMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    log.push_back("post " + Hex(window) + " " + MessageName(message) + " " + Hex(wParam) + " " +
                  Hex(static_cast<std::uintptr_t>(lParam)));
    return true;
}

bool FakeKeySystem::setTimer(WindowId window, unsigned id, unsigned milliseconds)
{
    log.push_back("timer " + Hex(window) + " id " + std::to_string(id) + " ms " + std::to_string(milliseconds));
    return timerStarts;
}

std::string FakeKeySystem::exePathOfWindow(WindowId window)
{
    ++pathLookups;
    const auto found = exePaths.find(window);
    return found == exePaths.end() ? std::string() : found->second;
}

ModuleId FakeKeySystem::loadLibrary(const char* name)
{
    log.push_back(std::string("load ") + name);
    return libraryLoads ? HookLibrary : 0;
}

ProcId FakeKeySystem::findProc(ModuleId module, const char* name)
{
    if (module != HookLibrary)
        return 0;
    procNames_.push_back(name);
    return procNames_.size();  // 1-based index into procNames_
}

HookId FakeKeySystem::setHook(int type, ProcId proc, ModuleId module)
{
    const std::string procName = proc >= 1 && proc <= procNames_.size() ? procNames_[proc - 1] : "?";
    log.push_back("hook " + std::to_string(type) + " " + procName + (module == HookLibrary ? "" : " foreign module"));
    const bool installs = type == KeyboardHookType ? keyboardHookInstalls : messageHookInstalls;
    return installs ? nextHook_++ : 0;
}

bool FakeKeySystem::unhook(HookId hook)
{
    log.push_back("unhook " + Hex(hook));
    return true;
}

void FakeKeySystem::showMessage(const std::string& text, const std::string& caption)
{
    log.push_back("message " + caption + ": " + text);
}
