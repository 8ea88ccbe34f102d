// An engine over an in-memory table and the recording fake, with its hooks in, and a
// helper that reports physical key events the way the hook library does.
#pragma once
#include "FakeKeySystem.h"
#include "engine/KeyEngine.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

struct PhysicalKey {
    unsigned vk, scan;
    bool extended;
};

inline const std::map<std::string, PhysicalKey> PhysicalKeys = {
    {"LShift", {0x10, 0x2A, false}}, {"RShift", {0x10, 0x36, false}}, {"LCtrl", {0x11, 0x1D, false}},
    {"RCtrl", {0x11, 0x1D, true}},   {"LAlt", {0x12, 0x38, false}},   {"RAlt", {0x12, 0x38, true}},
    {"LWin", {0x5B, 0x5B, true}},    {"RWin", {0x5C, 0x5C, true}},    {"A", {0x41, 0x1E, false}},
    {"C", {0x43, 0x2E, false}},      {"E", {0x45, 0x12, false}},      {"Enter", {0x0D, 0x1C, false}},
    {"F1", {0x70, 0x3B, false}},     {"F2", {0x71, 0x3C, false}},     {"F13", {0x7C, 0x64, false}},
};

using Lines = std::vector<std::string>;

inline constexpr WindowId MainWindow = 0x100, ExplorerWindow = 0x2000, Editor = 0x300;
// The table's spelling of what the system reports as C:\WINDOWS\Explorer.EXE.
inline constexpr const char* Explorer = "c:\\windows\\explorer.exe";

class EngineTest : public ::testing::Test {
protected:
    FakeModelSystem model;
    ShortcutTable table{model};
    Settings settings{model};
    FakeKeySystem system;
    KeyEngine engine{table, settings, MainWindow, system};

    void SetUp() override
    {
        system.foreground = ExplorerWindow;
        system.exePaths[ExplorerWindow] = "C:\\WINDOWS\\Explorer.EXE";
        settings.hotKey = KeyStroke::ofCode(2061);  // Win+Enter, when useHotKey is on
        ASSERT_TRUE(engine.SetHooks(true));         // reports only count while our hooks are in
        system.log.clear();
    }

    // Adds an action to the entry with that path, creating the entry on first use.
    void Add(const std::string& path, int input, const std::vector<int>& outputs)
    {
        int index = table.findByPath(path);
        if (index < 0)
            index = table.add(AppEntry(path, "app"));
        ASSERT_TRUE(table.at(index)->addAction(MakeAction("action", input, outputs)));
    }

    bool Report(const PhysicalKey& key, bool up, bool repeat = false)
    {
        std::uint32_t flags = 1 | (key.scan << 16) | (key.extended ? 1u << 24 : 0);
        flags |= (repeat || up ? 1u << 30 : 0) | (up ? 1u << 31 : 0);
        // The system's key state knows the side: VK_LSHIFT..VK_RMENU, VK_LWIN, VK_RWIN.
        unsigned sided = key.vk;
        if (key.vk == 0x10)
            sided = key.scan == 0x36 ? 0xA1 : 0xA0;
        else if (key.vk == 0x11 || key.vk == 0x12)
            sided = (key.vk == 0x11 ? 0xA2 : 0xA4) + (key.extended ? 1 : 0);
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
            std::uint32_t flags = 1 | (std::uint32_t{key.scan} << 16) | (key.flags & KeyEventExtended ? 1u << 24 : 0);
            flags |= key.flags & KeyEventUp ? 3u << 30 : 0;
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
            replies += Report(PhysicalKeys.at(name), up, repeat) ? '1' : '0';
        }
        return replies;
    }
};
