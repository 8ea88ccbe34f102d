// The executable path of the foreground window's process, on both roads.
#include "engine/KeyEngine.h"
#include "engine/win32/ForegroundApp.h"
#include "engine/win32/Win32KeySystem.h"
#include "tests/engine/FakeModelSystem.h"
#include "tests/engine/StubKeySystem.h"
#include "tests/support/WineBasics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace wt;

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// A visible window of this test process, brought to the front.
class ForegroundWindowTest : public ::testing::Test {
protected:
    HWND window = CreateWindowExA(0, "STATIC", "front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    void SetUp() override
    {
        SetForegroundWindow(window);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window; }, 3000));
    }
    void TearDown() override { DestroyWindow(window); }
};

TEST_F(ForegroundWindowTest, NtRoad_GivesOurFullPath_AndTheEngineMatchesItInAnyLetterCase)
{
    const std::string path = ExePathOfWindow(window, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(path, OwnExePath());
    EXPECT_EQ(path.compare(0, 3, "Z:\\"), 0) << path;
    EXPECT_EQ(ExePathOfWindow(GetForegroundWindow()), path);

    FakeModelSystem model;
    ShortcutTable table(model);
    Settings settings(model);
    table.add(AppEntry("global", "all"));
    table.add(AppEntry(Lower(path), "tests"));
    Win32KeySystem system;
    StubShell shell;
    KeyEngine engine(table, settings, system.keySystem(shell));
    EXPECT_EQ(engine.GetForegroundExePath(), path);
    EXPECT_EQ(engine.foregroundWindow(), Win32KeySystem::ToWindowId(window));
    ASSERT_NE(path, Lower(path));  // Wine reports capitals ("Z:\"), so the case really differs
    EXPECT_EQ(table.findByPath(path), 1);
}

TEST_F(ForegroundWindowTest, ToolHelpRoad_FindsOurProcessInTheSnapshot)
{
    // The NT family's snapshot names the executable file only; the 95 family's the full path.
    const std::string path = ExePathOfWindow(window, VER_PLATFORM_WIN32_WINDOWS);
    const std::string own = OwnExePath();
    EXPECT_EQ(Lower(path.substr(path.find_last_of('\\') + 1)), Lower(own.substr(own.find_last_of('\\') + 1)));
}

TEST(ForegroundApp, NoWindowGoneWindowOrUnknownPlatform_GiveEmptyPath)
{
    const HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    for (DWORD platform : {VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32_WINDOWS})
        EXPECT_EQ(ExePathOfWindow(nullptr, platform), "") << platform;
    EXPECT_EQ(ExePathOfWindow(nullptr), "");
    EXPECT_EQ(ExePathOfWindow(gone), "");
    EXPECT_EQ(ExePathOfWindow(window, VER_PLATFORM_WIN32s), "");
    EXPECT_EQ(ExePathOfWindow(window, 3), "");
    DestroyWindow(window);
}

}  // namespace
