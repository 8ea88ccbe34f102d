// A KeySystem that records every effect as one short line, in order, and answers queries
// from settable fields. Numbers are hex without 0x. Key names come from the vocabulary,
// as the real string table holds the same names.
#pragma once
#include "engine/KeySystem.h"
#include "tests/support/TestKeys.h"
#include "ui/KeyVocabulary.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

class FakeKeySystem : public KeySystem {
public:
    static constexpr WindowId TrayWindow = 0x7700;
    static constexpr ModuleId HookLibrary = 0xD11;

    // "11:1D up ext" (vk:scan, no scan when 0), "send 300 WM_KEY_RECORDED 143 0",
    // "send 7700 504 0 0 abort if hung ms 250",
    // "post 100 WM_COMMAND 9C42 0", "timer 100 id 1 ms 100", "path 2000" (a look-up of
    // the window's executable), "load varokint", "hook 2 VRKeyboardProc", "unhook 4000",
    // "message Error: text".
    std::vector<std::string> log;

    WindowId foreground = 0;
    std::map<WindowId, std::string> exePaths;
    bool libraryLoads = true, keyboardHookInstalls = true, messageHookInstalls = true;
    bool timerStarts = true, trayExists = true;
    // isKeyDown: a key is down when pressed (EngineTest::Report keeps this) and not among
    // the keys the system already reports released.
    std::set<unsigned> pressed, releasedNow;
    std::uint32_t now = 0;  // tickCount

    static std::string Hex(std::uintmax_t value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%jX", value);
        return text;
    }

    struct Injected {
        std::uint8_t vk, scan;
        std::uint32_t flags;
    };
    std::vector<Injected> injected;  // every keybdEvent, for reporting them back
    // The user lets go of a key (sided code) after that many injected events.
    std::map<std::size_t, unsigned> releaseAfter;

    void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override
    {
        injected.push_back({vk, scan, flags});
        const auto release = releaseAfter.find(injected.size());
        if (release != releaseAfter.end())
            pressed.erase(release->second);
        char line[64];
        std::snprintf(line, sizeof line, scan ? "%02X:%02X" : "%02X", vk, scan);
        log.push_back(line + std::string(flags & KeyEventUp ? " up" : " down") +
                      (flags & KeyEventExtended ? " ext" : "") +
                      (flags & ~(KeyEventUp | KeyEventExtended) ? " unexpected flags" : ""));
    }
    unsigned mapVirtualKey(unsigned code, unsigned mapType) override
    {
        if (mapType != MapVkToScan && mapType != MapScanToVkEx)
            log.push_back("unexpected map type " + Hex(mapType));
        return MapSidedModifier(code, mapType == MapVkToScan);
    }
    std::string loadKeyName(unsigned vk) override { return KeyName(vk); }
    WindowId findWindow(const char* className, const char* title) override
    {
        return trayExists && std::strcmp(className, "Shell_TrayWnd") == 0 && title == nullptr ? TrayWindow : 0;
    }
    std::intptr_t sendMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        log.push_back("send " + Message(window, message, wParam, lParam));
        return 0;
    }
    bool sendMessageTimeout(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                            unsigned timeoutMs) override
    {
        log.push_back("send " + Message(window, message, wParam, lParam) + " abort if hung ms " +
                      std::to_string(timeoutMs));
        return true;
    }
    bool postMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        log.push_back("post " + Message(window, message, wParam, lParam));
        return true;
    }
    bool setTimer(WindowId window, unsigned id, unsigned milliseconds) override
    {
        log.push_back("timer " + Hex(window) + " id " + std::to_string(id) + " ms " + std::to_string(milliseconds));
        return timerStarts;
    }
    WindowId foregroundWindow() override { return foreground; }
    bool isKeyDown(std::uint8_t vk) override { return pressed.count(vk) != 0 && releasedNow.count(vk) == 0; }
    std::uint32_t tickCount() override { return now; }
    std::string exePathOfWindow(WindowId window) override
    {
        log.push_back("path " + Hex(window));
        const auto found = exePaths.find(window);
        return found == exePaths.end() ? std::string() : found->second;
    }
    ModuleId loadLibrary(const char* name) override
    {
        log.push_back(std::string("load ") + name);
        return libraryLoads ? HookLibrary : 0;
    }
    ProcId findProc(ModuleId module, const char* name) override
    {
        if (module != HookLibrary)
            return 0;
        procNames_.push_back(name);
        return procNames_.size();  // 1-based index into procNames_
    }
    HookId setHook(int type, ProcId proc, ModuleId module) override
    {
        const bool known = proc >= 1 && proc <= procNames_.size() && module == HookLibrary;
        log.push_back("hook " + std::to_string(type) + " " + (known ? procNames_[proc - 1] : "unknown procedure"));
        return (type == KeyboardHookType ? keyboardHookInstalls : messageHookInstalls) ? nextHook_++ : 0;
    }
    bool unhook(HookId hook) override
    {
        log.push_back("unhook " + Hex(hook));
        return true;
    }
    void showMessage(const std::string& text, const std::string& caption) override
    {
        log.push_back("message " + caption + ": " + text);
    }

private:
    static std::string Message(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
    {
        const std::string name = message == CommandMessage    ? "WM_COMMAND"
                                 : message == WM_KEY_RECORDED ? "WM_KEY_RECORDED"
                                                              : Hex(message);
        return Hex(window) + " " + name + " " + Hex(wParam) + " " + Hex(static_cast<std::uintptr_t>(lParam));
    }

    std::vector<std::string> procNames_;
    HookId nextHook_ = 0x4000;
};
