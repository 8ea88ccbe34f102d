// An engine over an in-memory table and the recording fake, with its hooks in, and a
// helper that reports physical key events the way the hook library does.
#pragma once
#include "FakeKeySystem.h"
#include "contract/HookContract.h"
#include "engine/KeyEngine.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using Lines = std::vector<std::string>;

inline constexpr WindowId ExplorerWindow = 0x2000;
// The table's spelling of what the system reports as C:\WINDOWS\Explorer.EXE.
inline constexpr const char* Explorer = "c:\\windows\\explorer.exe";

class EngineTest : public ::testing::Test {
protected:
    FakeModelSystem model;
    ShortcutTable table{model};
    Settings settings{model};
    FakeKeySystem system;
    KeyEngine engine{table, settings, system.keySystem()};

    void SetUp() override
    {
        system.foreground = ExplorerWindow;
        system.exePaths[ExplorerWindow] = "C:\\WINDOWS\\Explorer.EXE";
        settings.hotKey = KeyStroke::ofCode(Win | 0x0D);  // Win+Enter, when useHotKey is on
        ASSERT_TRUE(engine.SetHooks(true));               // reports only count while our hooks are in
        system.log.clear();
    }

    // Adds an action to the entry with that path, creating the entry on first use.
    void Add(const std::string& path, int input, const std::vector<int>& outputs)
    {
        int index = table.findByPath(path);
        if (index < 0) index = table.add(AppEntry(path, "app"));
        ASSERT_TRUE(table.at(index)->addAction(MakeAction("action", input, outputs)));
    }

    bool Report(const PhysicalKey& key, bool up, bool repeat = false)
    {
        const std::uint32_t flags =
            (up ? KeyFlags::Up(key.scan, key.extended) : KeyFlags::Down(key.scan, key.extended, repeat)).word();
        // The system's key state knows the side: VK_LSHIFT..VK_RMENU, VK_LWIN, VK_RWIN.
        unsigned sided = MapSidedModifier(key.scan | (key.extended ? 0x100u : 0), false);
        if (sided == 0) sided = key.vk;
        if (up)
            system.pressed.erase(sided);
        else
            system.pressed.insert(sided);
        return engine.OnKeyEvent(KeyReport{key.vk, &flags, sizeof flags});
    }
    // Reports the next `count` injected events back, as the hook does (scan code and
    // extended bit as injected); returns the replies.
    std::string ReportInjected(std::size_t count)
    {
        std::string replies;
        for (; count > 0 && reportedBack_ < system.injected.size(); --count) {
            const FakeKeySystem::Injected key = system.injected[reportedBack_++];
            const bool extended = (key.flags & KeyEventExtended) != 0;
            const std::uint32_t flags =
                (key.flags & KeyEventUp ? KeyFlags::Up(key.scan, extended) : KeyFlags::Down(key.scan, extended)).word();
            replies += engine.OnKeyEvent(KeyReport{key.vk, &flags, sizeof flags}) ? '1' : '0';
        }
        return replies;
    }
    std::size_t reportedBack_ = 0;

    // Reports "LCtrl" as a press, "/LCtrl" as a release and "C*" as an auto-repeat, in
    // order; returns the replies, one digit per report.
    std::string Type(const std::string& keys)
    {
        std::istringstream words(keys);
        std::string replies;
        for (std::string word; words >> word;) {
            const bool up = word[0] == '/', repeat = word.back() == '*';
            const std::string name = word.substr(up ? 1 : 0, word.size() - (up || repeat ? 1 : 0));
            replies += Report(PhysicalKeyNamed(name), up, repeat) ? '1' : '0';
        }
        return replies;
    }
};
