// The fake's own behaviour, which every engine test leans on.
#include "FakeKeySystem.h"

#include <gtest/gtest.h>

namespace {

TEST(FakeKeySystem, LogsEffectsAsShortLines)
{
    FakeKeySystem system;
    system.exePaths[7] = "C:\\a.exe";
    system.messageHookInstalls = false;
    system.keybdEvent(0x11, 0x1D, 0);
    system.keybdEvent(0x10, 0x36, KeyEventUp | KeyEventExtended);
    system.keybdEvent(0x41, 0, 0x8);  // a flag the engine never sends is called out
    system.openSettingsForWindowInFront();
    EXPECT_EQ(system.exePathOfWindow(7), "C:\\a.exe");
    EXPECT_EQ(system.exePathOfWindow(8), "");
    const ModuleId library = system.loadLibrary("varokint");
    EXPECT_NE(system.setHook(2, system.findProc(library, "VRKeyboardProc"), library), 0u);
    EXPECT_EQ(system.setHook(3, system.findProc(library, "VRMsgProc"), library), 0u);
    EXPECT_EQ(system.findProc(0, "VRMsgProc"), 0u);
    EXPECT_EQ(system.log, (std::vector<std::string>{"11:1D down", "10:36 up ext", "41 down unexpected flags",
                                                    "open the settings for the window in front", "path 7", "path 8",
                                                    "load varokint", "hook 2 VRKeyboardProc", "hook 3 VRMsgProc"}));
}

TEST(FakeKeySystem, AnswersLikeAJapaneseLayout)
{
    FakeKeySystem system;
    EXPECT_EQ(system.mapVirtualKey(0xA1, MapVkToScan), 0x36u);
    EXPECT_EQ(system.mapVirtualKey(0xA3, MapVkToScan) & 0xFF, 0x1Du);
    EXPECT_EQ(system.mapVirtualKey(0x1D, MapScanToVkEx), 0xA2u);
    EXPECT_EQ(system.mapVirtualKey(0x11D, MapScanToVkEx), 0xA3u);
    EXPECT_TRUE(system.log.empty());
}

}  // namespace
