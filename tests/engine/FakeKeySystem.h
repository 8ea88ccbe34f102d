// The engine's whole system as one recording fake: every effect is one short line, in order,
// and queries are answered from settable fields. Numbers are hex without 0x. It records keys
// as the recording window does, taking those the vocabulary names (the real string table
// holds the same names).
#pragma once
#include "engine/KeySystem.h"
#include "tests/support/TestKeys.h"
#include "ui/KeyVocabulary.h"

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

class FakeKeySystem : public Keyboard, public HookInstaller, public Desktop, public ShellRequests, public KeyRecorder {
public:
    static constexpr ModuleId HookLibrary = 0xD11;

    // "11:1D up ext" (vk:scan, no scan when 0), "record 143", "open the Start menu",
    // "open the settings for the window in front", "pause 100 ms", "path 2000" (a look-up of
    // the window's executable), "load varokint", "hook 2 VRKeyboardProc", "unhook 4000",
    // "hooks failed: library".
    std::vector<std::string> log;

    WindowId foreground = 0;
    std::map<WindowId, std::string> exePaths;
    bool libraryLoads = true, keyboardHookInstalls = true, messageHookInstalls = true;
    bool pauseStarts = true;
    // isKeyDown: a key is down when pressed (EngineTest::Report keeps this) and not among
    // the keys the system already reports released.
    std::set<unsigned> pressed, releasedNow;
    std::uint32_t now = 0;  // tickCount

    KeySystem keySystem() { return {*this, *this, *this, *this}; }

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
        if (release != releaseAfter.end()) pressed.erase(release->second);
        char line[64];
        std::snprintf(line, sizeof line, scan ? "%02X:%02X" : "%02X", vk, scan);
        log.push_back(line + std::string(flags & KeyEventUp ? " up" : " down") +
                      (flags & KeyEventExtended ? " ext" : "") +
                      (flags & ~(KeyEventUp | KeyEventExtended) ? " unexpected flags" : ""));
    }
    unsigned mapVirtualKey(unsigned code, unsigned mapType) override
    {
        if (mapType != MapVkToScan && mapType != MapScanToVkEx) log.push_back("unexpected map type " + Hex(mapType));
        return MapSidedModifier(code, mapType == MapVkToScan);
    }
    bool isKeyDown(std::uint8_t vk) override { return pressed.count(vk) != 0 && releasedNow.count(vk) == 0; }
    std::uint32_t tickCount() override { return now; }

    ModuleId loadLibrary(const char* name) override
    {
        log.push_back(std::string("load ") + name);
        return libraryLoads ? HookLibrary : 0;
    }
    ProcId findProc(ModuleId module, const char* name) override
    {
        if (module != HookLibrary) return 0;
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

    WindowId foregroundWindow() override { return foreground; }
    std::string exePathOfWindow(WindowId window) override
    {
        log.push_back("path " + Hex(window));
        const auto found = exePaths.find(window);
        return found == exePaths.end() ? std::string() : found->second;
    }
    void openStartMenu() override { log.push_back("open the Start menu"); }

    void openSettingsForWindowInFront() override { log.push_back("open the settings for the window in front"); }
    bool startPause(unsigned milliseconds) override
    {
        log.push_back("pause " + std::to_string(milliseconds) + " ms");
        return pauseStarts;
    }
    void tellHooksFailed(HookStep step) override
    {
        log.push_back(std::string("hooks failed: ") + (step == HookStep::Library        ? "library"
                                                       : step == HookStep::KeyboardHook ? "keyboard hook"
                                                                                        : "message hook"));
    }

    bool canRecord(unsigned vk) override { return HasKeyName(vk); }
    void recordKey(int keyCode) override { log.push_back("record " + Hex(static_cast<unsigned>(keyCode))); }

private:
    std::vector<std::string> procNames_;
    HookId nextHook_ = 0x4000;
};
