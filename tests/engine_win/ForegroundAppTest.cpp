// The executable path of the foreground window's process, on both roads.
#include "WineTestSupport.h"
#include "engine/KeyEngine.h"
#include "engine/win32/ForegroundApp.h"
#include "engine/win32/Win32KeySystem.h"
#include "tests/engine/FakeModelSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string BaseName(const std::string& path)
{
    return path.substr(path.find_last_of('\\') + 1);
}

// A visible window of this test process, brought to the front.
class ForegroundWindowTest : public ::testing::Test {
protected:
    HWND window = nullptr;

    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VRForegroundTest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "VRForegroundTest", "front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        SetForegroundWindow(window);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window; }, 3000));
    }
    void TearDown() override
    {
        if (window != nullptr)
            DestroyWindow(window);
        PumpFor(50);
    }
};

TEST_F(ForegroundWindowTest, PsapiGivesFullPathOfOurExecutable)
{
    const std::string path = ExePathOfWindow(GetForegroundWindow());
    EXPECT_EQ(path, ModulePath());
    EXPECT_EQ(path.compare(0, 3, "Z:\\"), 0) << path;
    EXPECT_EQ(ExePathOfWindow(window, VER_PLATFORM_WIN32_NT), path);
}

TEST_F(ForegroundWindowTest, EngineFindsEntryWhosePathDiffersInCase)
{
    FakeModelSystem model;
    ShortcutTable table(model);
    Settings settings(model);
    table.add(AppEntry("global", "all"));
    table.add(AppEntry(Lower(ModulePath()), "tests"));
    Win32KeySystem system(GetModuleHandleA(nullptr));
    KeyEngine engine(table, settings, 0, system);

    const std::string path = engine.GetForegroundExePath();
    EXPECT_EQ(engine.foregroundWindow(), Win32KeySystem::ToWindowId(window));
    ASSERT_NE(path, Lower(path));  // Wine reports capitals ("Z:\"), so the case really differs
    EXPECT_EQ(table.findByPath(path), 1);
    EXPECT_EQ(engine.GetForegroundExePath(), path);  // the same answer when asked again
}

TEST_F(ForegroundWindowTest, ToolHelpFindsTheProcessInTheSnapshot)
{
    // The NT family's snapshot names the executable file only; the 95 family's the full path.
    const std::string path = ExePathOfWindow(window, VER_PLATFORM_WIN32_WINDOWS);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(Lower(BaseName(path)), Lower(BaseName(ModulePath())));
}

TEST(ForegroundApp, NoWindowGivesEmptyPathOnBothRoads)
{
    EXPECT_EQ(ExePathOfWindow(nullptr), "");
    EXPECT_EQ(ExePathOfWindow(nullptr, VER_PLATFORM_WIN32_NT), "");
    EXPECT_EQ(ExePathOfWindow(nullptr, VER_PLATFORM_WIN32_WINDOWS), "");
    // A window that has gone has no process either.
    const HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(ExePathOfWindow(gone), "");
}

TEST(ForegroundApp, UnknownPlatformGivesEmptyPath)
{
    const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(ExePathOfWindow(window, VER_PLATFORM_WIN32s), "");
    EXPECT_EQ(ExePathOfWindow(window, 3), "");
    DestroyWindow(window);
}

}  // namespace
