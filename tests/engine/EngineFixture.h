// An engine over an in-memory table and the recording fake, with helpers that report
// physical key events the way the hook library does.
#pragma once
#include "FakeKeySystem.h"
#include "FakeModelSystem.h"
#include "engine/KeyEngine.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

struct PhysicalKey {
    unsigned vk;
    unsigned scan;
    bool extended = false;
};

inline const PhysicalKey LeftShift{0x10, 0x2A}, RightShift{0x10, 0x36};
inline const PhysicalKey LeftCtrl{0x11, 0x1D}, RightCtrl{0x11, 0x1D, true};
inline const PhysicalKey LeftAlt{0x12, 0x38}, RightAlt{0x12, 0x38, true};
inline const PhysicalKey LeftWin{0x5B, 0x5B, true}, RightWin{0x5C, 0x5C, true};
inline const PhysicalKey KeyA{0x41, 0x1E}, KeyC{0x43, 0x2E}, KeyE{0x45, 0x12};
inline const PhysicalKey Enter{0x0D, 0x1C}, F1{0x70, 0x3B}, F2{0x71, 0x3C}, F13{0x7C, 0x64};

using Lines = std::vector<std::string>;

class EngineTest : public ::testing::Test {
protected:
    static constexpr WindowId MainWindow = 0x100;
    static constexpr WindowId ExplorerWindow = 0x2000;
    static constexpr const char* ExplorerPath = "C:\\WINDOWS\\Explorer.EXE";
    // The table's spelling of the same path: matching ignores letter case.
    static std::string ExplorerLower() { return "c:\\windows\\explorer.exe"; }

    FakeModelSystem model;
    ShortcutTable table{model};
    Settings settings{model};
    FakeKeySystem system;
    KeyEngine engine{table, settings, MainWindow, system};

    void SetUp() override
    {
        system.foreground = ExplorerWindow;
        system.exePaths[ExplorerWindow] = ExplorerPath;
        ASSERT_TRUE(engine.SetHooks(true));  // reports only count while our hooks are in
        system.log.clear();
    }

    // Adds an action (input key code -> output key codes) to the entry with that path,
    // creating the entry on first use.
    void AddAction(const std::string& path, int input, std::initializer_list<int> outputs)
    {
        int index = table.findByPath(path);
        if (index < 0)
            index = table.add(AppEntry(path, "app"));
        Action action("action");
        action.setInput(KeyStroke::ofCode(input));
        for (int code : outputs)
            action.insertOutput(KeyStroke::ofCode(code), action.outputCount());
        ASSERT_TRUE(table.at(index)->addAction(action));
    }

    static std::uint32_t Flags(const PhysicalKey& key, bool up, bool repeat)
    {
        std::uint32_t flags = 1 | (key.scan << 16) | (key.extended ? 1u << 24 : 0);
        if (repeat || up)
            flags |= 1u << 30;
        if (up)
            flags |= 1u << 31;
        return flags;
    }
    bool Report(const PhysicalKey& key, bool up, bool repeat = false)
    {
        const std::uint32_t flags = Flags(key, up, repeat);
        return engine.OnKeyEvent(KeyReport{key.vk, &flags, sizeof flags});
    }
    bool Press(const PhysicalKey& key) { return Report(key, false); }
    bool Repeat(const PhysicalKey& key) { return Report(key, false, true); }
    bool Release(const PhysicalKey& key) { return Report(key, true); }
};
