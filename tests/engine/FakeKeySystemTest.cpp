// The fake's own behaviour, which every engine test leans on.
#include "FakeKeySystem.h"

#include <gtest/gtest.h>

namespace {

TEST(FakeKeySystem, FormatsKeyEventsWithDirectionAndExtendedFlag)
{
    FakeKeySystem system;
    system.keybdEvent(0x11, 0x1D, 0);
    system.keybdEvent(0x10, 0x36, KeyEventUp | KeyEventExtended);
    system.keybdEvent(0x41, 0, 0x8);  // a flag the engine never sends is called out
    EXPECT_EQ(system.log, (std::vector<std::string>{
                              "key 0x11 scan 0x1D down",
                              "key 0x10 scan 0x36 up ext",
                              "key 0x41 scan 0x00 down",
                              "unexpected key flags 0x8",
                          }));
}

TEST(FakeKeySystem, MapsSidedModifiersBothWays)
{
    FakeKeySystem system;
    EXPECT_EQ(system.mapVirtualKey(0xA1, MapVkToScan), 0x36u);
    EXPECT_EQ(system.mapVirtualKey(0xA3, MapVkToScan) & 0xFF, 0x1Du);
    EXPECT_EQ(system.mapVirtualKey(0x1D, MapScanToVkEx), 0xA2u);
    EXPECT_EQ(system.mapVirtualKey(0x11D, MapScanToVkEx), 0xA3u);
    EXPECT_EQ(system.mapVirtualKey(0x36, MapScanToVkEx), 0xA1u);
    EXPECT_TRUE(system.log.empty());
}

TEST(FakeKeySystem, HooksNameTheirProcedureAndCanFail)
{
    FakeKeySystem system;
    const ModuleId library = system.loadLibrary("varokint");
    EXPECT_NE(system.setHook(2, system.findProc(library, "VRKeyboardProc"), library), 0u);
    system.messageHookInstalls = false;
    EXPECT_EQ(system.setHook(3, system.findProc(library, "VRMsgProc"), library), 0u);
    EXPECT_EQ(system.findProc(0, "VRMsgProc"), 0u);
    EXPECT_EQ(system.log, (std::vector<std::string>{"load varokint", "hook 2 VRKeyboardProc", "hook 3 VRMsgProc"}));
}

TEST(FakeKeySystem, AnswersPathsByWindowAndCountsLookups)
{
    FakeKeySystem system;
    system.exePaths[7] = "C:\\a.exe";
    EXPECT_EQ(system.exePathOfWindow(7), "C:\\a.exe");
    EXPECT_EQ(system.exePathOfWindow(8), "");
    EXPECT_EQ(system.pathLookups, 2);
    EXPECT_EQ(system.findWindow("Shell_TrayWnd", nullptr), FakeKeySystem::TrayWindow);
    EXPECT_EQ(system.findWindow("VRClass", "Varokinto"), 0u);
}

}  // namespace
