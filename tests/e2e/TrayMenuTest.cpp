// The tray menu of the real program takes the keyboard under Wine: opened by a second copy
// its first item is highlighted (Enter chooses it) and the access keys choose their items;
// opened by a click it closes with Esc and opens again.
#include "contract/HookContract.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

using namespace wt;

namespace {

class TrayMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallProgram(dir);
        mainWindow = StartProgram(program, dir);
        ASSERT_NE(mainWindow, nullptr);
        // Wine's desktop takes X keys only after a click in it.
        ASSERT_TRUE(target.start(dir));
        ASSERT_TRUE(target.focus());
    }
    void TearDown() override { ExitProgram(program, mainWindow); }

    HWND WaitForMenu()
    {
        HWND menu = nullptr;
        PumpUntil([&] { return (menu = FindTopWindow(program.id(), "#32768", nullptr, true)) != nullptr; });
        return menu;
    }
    HWND OpenBySecondCopy()
    {
        Process second;
        DWORD exitCode = 99;
        if (!second.start(dir.file("varokint.exe"), dir.path()) || !second.waitExit(DefaultWaitMs, exitCode))
            return nullptr;
        return WaitForMenu();
    }
    bool MenuClosed()
    {
        return PumpUntil([&] { return FindTopWindow(program.id(), "#32768", nullptr, true) == nullptr; });
    }

    TempDir dir;
    KeyTarget target;
    Process program;
    HWND mainWindow = nullptr;
};

TEST_F(TrayMenu, OpenedBySecondCopy_EnterChoosesTheFirstItemAndAccessKeysTheirs)
{
    struct Case {
        const char* key;
        const char* dialog;  // the dialog the item opens; null for 終了(&X)
    };
    const Case cases[] = {
        {"Return", "ショートカット設定"},
        {"p", "ホットキーの割り当て"},
        {"x", nullptr},
    };
    for (const Case& c : cases) {
        ASSERT_NE(OpenBySecondCopy(), nullptr) << c.key;
        ASSERT_TRUE(Xdotool(std::string("key ") + c.key)) << c.key;
        EXPECT_TRUE(MenuClosed()) << c.key;
        if (c.dialog == nullptr) {
            DWORD exitCode = 99;
            ASSERT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
            EXPECT_EQ(exitCode, 0u);
            EXPECT_EQ(FindWindowA(HookContract::MainWindowClass, HookContract::MainWindowTitle), nullptr);
            continue;
        }
        HWND dialog = nullptr;
        ASSERT_TRUE(PumpUntil([&] {
            return (dialog = FindTopWindow(program.id(), "#32770", c.dialog, true)) != nullptr;
        })) << c.key;
        Snapshot(c.key[0] == 'p' ? "tray-menu-p" : "tray-menu-return");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog); })) << c.key;
    }
}

TEST_F(TrayMenu, OpenedByAClick_EscClosesItAndItOpensAgain)
{
    for (int opening = 0; opening < 2; ++opening) {
        ASSERT_TRUE(ClickTrayIcon());
        ASSERT_NE(WaitForMenu(), nullptr) << opening;
        if (opening == 0) Snapshot("tray-menu-click");
        ASSERT_TRUE(Xdotool("key Escape"));
        EXPECT_TRUE(MenuClosed()) << opening;
        EXPECT_TRUE(program.running());
    }
    // Nothing was chosen: no dialog came up.
    EXPECT_EQ(FindTopWindow(program.id(), "#32770"), nullptr);
}

}  // namespace
