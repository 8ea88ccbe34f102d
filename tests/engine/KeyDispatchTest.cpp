// Matching reported keys and playing actions: the whole injected sequence of each case.
#include "EngineFixture.h"

namespace {

TEST_F(EngineTest, PlayAction_CtrlEToAltV_ReleasesCtrlPlaysAltVAndRestores)
{
    AddAction(ExplorerLower(), 325, {598});  // Ctrl+E -> Alt+V

    EXPECT_FALSE(Press(LeftCtrl));
    EXPECT_TRUE(Press(KeyE));
    EXPECT_EQ(system.log, (Lines{
                              "key 0x11 scan 0x1D up",        // left Ctrl released
                              "key 0x12 scan 0x38 down",      // left Alt pressed
                              "key 0x56 scan 0x00 down ext",  // V
                              "key 0x56 scan 0x00 up ext",
                              "key 0x11 scan 0x1D down",  // Ctrl back, as the user holds it
                              "key 0x12 scan 0x38 up",    // Alt released
                              "key 0x45 scan 0x00 up",    // the trigger's key-up
                              "timer 0x100 id 1 ms 100",  // the pause after an action
                          }));
}

TEST_F(EngineTest, PlayAction_ModifierReleasedBeforePlaybackIsNotPressedAgain)
{
    AddAction(ExplorerLower(), 325, {598});  // Ctrl+E -> Alt+V

    EXPECT_FALSE(Press(LeftCtrl));
    system.releasedNow = {0x11};  // Ctrl's release is queued behind E: it would stick
    EXPECT_TRUE(Press(KeyE));
    EXPECT_EQ(system.log, (Lines{
                              "key 0x11 scan 0x1D up",
                              "key 0x12 scan 0x38 down",
                              "key 0x56 scan 0x00 down ext",
                              "key 0x56 scan 0x00 up ext",
                              "key 0x12 scan 0x38 up",  // no Ctrl press after the outputs
                              "key 0x45 scan 0x00 up",
                              "timer 0x100 id 1 ms 100",
                          }));
}

TEST_F(EngineTest, PlayAction_StartMenuKeyGoesToTaskbarAndKeepsModifiers)
{
    AddAction("global", 2115, {2048, 83, 67});  // Win+C -> Start menu, S, C

    EXPECT_FALSE(Press(LeftWin));
    EXPECT_TRUE(Press(KeyC));
    EXPECT_EQ(system.log, (Lines{
                              "send 0x7700 0x504 0x0 0x0",  // the taskbar opens the Start menu
                              "key 0x5B scan 0x00 up",      // left Win released for S
                              "key 0x53 scan 0x00 down ext",
                              "key 0x53 scan 0x00 up ext",
                              "key 0x43 scan 0x00 down ext",
                              "key 0x43 scan 0x00 up ext",
                              "key 0x5B scan 0x00 down",  // left Win back
                              "key 0x43 scan 0x00 up",    // the trigger's key-up
                              "timer 0x100 id 1 ms 100",
                          }));
}

TEST_F(EngineTest, PlayAction_RestoresRightShiftAfterOutputs)
{
    AddAction(ExplorerLower(), 0x400 | 0x41, {0x42});  // Shift+A -> B

    EXPECT_FALSE(Press(RightShift));
    EXPECT_TRUE(Press(KeyA));
    EXPECT_EQ(system.log, (Lines{
                              "key 0x10 scan 0x36 up ext",  // right Shift released
                              "key 0x42 scan 0x00 down ext",
                              "key 0x42 scan 0x00 up ext",
                              "key 0x10 scan 0x36 down ext",  // right Shift pressed again
                              "key 0x41 scan 0x00 up",
                              "timer 0x100 id 1 ms 100",
                          }));
}

TEST_F(EngineTest, PlayAction_RightCtrlAndAltUseRightScanCodesAndLowByteOnly)
{
    AddAction(ExplorerLower(), 0x100 | 0x200 | 0x45, {0x41});  // Ctrl+Alt+E -> A

    Press(RightCtrl);
    Press(RightAlt);
    EXPECT_TRUE(Press(KeyE));
    EXPECT_EQ(system.log, (Lines{
                              "key 0x11 scan 0x1D up ext",  // MapVirtualKeyA gives 0xE01D; the low byte
                              "key 0x12 scan 0x38 up ext",
                              "key 0x41 scan 0x00 down ext",
                              "key 0x41 scan 0x00 up ext",
                              "key 0x11 scan 0x1D down ext",
                              "key 0x12 scan 0x38 down ext",
                              "key 0x45 scan 0x00 up",
                              "timer 0x100 id 1 ms 100",
                          }));
}

TEST_F(EngineTest, PlayAction_WinAloneThenKey_SyncsFromPhysicalState)
{
    AddAction(ExplorerLower(), 0x100 | 0x45, {2048, 0x41});  // Ctrl+E -> Start menu, A

    Press(LeftCtrl);
    EXPECT_TRUE(Press(KeyE));
    EXPECT_EQ(system.log, (Lines{
                              "send 0x7700 0x504 0x0 0x0",
                              "key 0x11 scan 0x1D up",  // A is played without the held Ctrl
                              "key 0x41 scan 0x00 down ext",
                              "key 0x41 scan 0x00 up ext",
                              "key 0x11 scan 0x1D down",
                              "key 0x45 scan 0x00 up",
                              "timer 0x100 id 1 ms 100",
                          }));
}

TEST_F(EngineTest, PlayAction_StartMenuWithoutTaskbarGoesToNoWindow)
{
    system.trayExists = false;
    AddAction("global", 0x70, {2048});  // F1 -> Start menu

    EXPECT_TRUE(Press(F1));
    EXPECT_EQ(system.log, (Lines{"send 0x0 0x504 0x0 0x0", "key 0x70 scan 0x00 up", "timer 0x100 id 1 ms 100"}));
}

TEST_F(EngineTest, PlayAction_NoOutputs_SwallowsTriggerAndSendsOnlyItsKeyUp)
{
    AddAction(ExplorerLower(), 0x71, {});  // F2 -> nothing

    EXPECT_TRUE(Press(F2));
    EXPECT_EQ(system.log, (Lines{"key 0x71 scan 0x00 up", "timer 0x100 id 1 ms 100"}));
}

TEST_F(EngineTest, PlayAction_ModifiersOnlyOutputThenKeyWithOtherModifiers)
{
    // Modifiers change only where two neighbouring keys differ, in the order Shift, Win, Ctrl, Alt.
    AddAction(ExplorerLower(), 0x70, {0x400 | 0x200 | 0x41, 0x100 | 0x42});  // F1 -> Alt+Shift+A, Ctrl+B

    EXPECT_TRUE(Press(F1));
    EXPECT_EQ(system.log, (Lines{
                              "key 0x10 scan 0x2A down",  // Shift first, then Alt
                              "key 0x12 scan 0x38 down",
                              "key 0x41 scan 0x00 down ext",
                              "key 0x41 scan 0x00 up ext",
                              "key 0x10 scan 0x2A up",  // order Shift, Win, Ctrl, Alt
                              "key 0x11 scan 0x1D down",
                              "key 0x12 scan 0x38 up",
                              "key 0x42 scan 0x00 down ext",
                              "key 0x42 scan 0x00 up ext",
                              "key 0x11 scan 0x1D up",
                              "key 0x70 scan 0x00 up",
                              "timer 0x100 id 1 ms 100",
                          }));
}

TEST_F(EngineTest, Dispatch_HotKeyPostsSettingsCommandAndClearsHeldModifiers)
{
    settings.useHotKey = true;
    settings.hotKey.fromCode(2061);            // Win+Enter
    AddAction("global", 2061, {0x41});         // the hotkey wins over this action
    system.foreground = 0x2222;

    Press(LeftWin);
    EXPECT_TRUE(Press(Enter));
    EXPECT_EQ(system.log, (Lines{"post 0x100 WM_COMMAND 0x9C42 0x0"}));  // 40002
    EXPECT_EQ(engine.foregroundWindow(), 0x2222u);
    EXPECT_EQ(engine.held().toCode(), 0x0D);
    EXPECT_EQ(engine.held().rightWin, 0);
    EXPECT_TRUE(engine.enabled());
}

TEST_F(EngineTest, Dispatch_HotKeyOff_SameKeysGoToActions)
{
    settings.useHotKey = false;
    settings.hotKey.fromCode(2061);
    AddAction("global", 2061, {0x41});

    Press(LeftWin);
    EXPECT_TRUE(Press(Enter));
    EXPECT_EQ(system.log, (Lines{
                              "key 0x5B scan 0x00 up",
                              "key 0x41 scan 0x00 down ext",
                              "key 0x41 scan 0x00 up ext",
                              "key 0x5B scan 0x00 down",
                              "key 0x0D scan 0x00 up",
                              "timer 0x100 id 1 ms 100",
                          }));
}

TEST_F(EngineTest, Dispatch_RightWinHotKeyClearsRightFlag)
{
    settings.useHotKey = true;
    settings.hotKey.fromCode(2061);

    Press(RightWin);
    EXPECT_TRUE(engine.held().rightWin);
    EXPECT_TRUE(Press(Enter));
    EXPECT_EQ(engine.held().win, 0);
    EXPECT_EQ(engine.held().rightWin, 0);
}

TEST_F(EngineTest, Dispatch_GlobalWinsOverForegroundApplication)
{
    AddAction(ExplorerLower(), 325, {598});
    AddAction("global", 325, {0x74});  // Ctrl+E -> F5

    Press(LeftCtrl);
    system.pathLookups = 0;
    EXPECT_TRUE(Press(KeyE));
    EXPECT_EQ(system.log, (Lines{
                              "key 0x11 scan 0x1D up",
                              "key 0x74 scan 0x00 down ext",
                              "key 0x74 scan 0x00 up ext",
                              "key 0x11 scan 0x1D down",
                              "key 0x45 scan 0x00 up",
                              "timer 0x100 id 1 ms 100",
                          }));
    EXPECT_EQ(system.pathLookups, 0);  // the application was never looked at
}

TEST_F(EngineTest, Dispatch_UnmatchedKeyPassesAfterOneForegroundLookup)
{
    AddAction(ExplorerLower(), 325, {598});

    EXPECT_FALSE(Press(KeyA));
    EXPECT_TRUE(system.log.empty());
    EXPECT_EQ(system.pathLookups, 1);
    EXPECT_EQ(engine.foregroundWindow(), ExplorerWindow);
}

TEST_F(EngineTest, Dispatch_ModifierKeyDownLooksUpWithNoVk)
{
    AddAction(ExplorerLower(), 0x100, {0x41});  // Ctrl alone as input

    EXPECT_TRUE(Press(LeftCtrl));
    EXPECT_EQ(system.log, (Lines{
                              "key 0x11 scan 0x1D up",
                              "key 0x41 scan 0x00 down ext",
                              "key 0x41 scan 0x00 up ext",
                              "key 0x11 scan 0x1D down",
                              "key 0x00 scan 0x00 up",  // the trigger has no vk
                              "timer 0x100 id 1 ms 100",
                          }));
}

TEST_F(EngineTest, Dispatch_NoForegroundWindowMatchesOnlyEmptyPath)
{
    system.foreground = 0;
    AddAction(ExplorerLower(), 0x41, {0x42});
    EXPECT_FALSE(Press(KeyA));
    EXPECT_EQ(engine.foregroundWindow(), 0u);

    AddAction("", 0x41, {0x42});
    EXPECT_TRUE(Press(KeyA));
}

TEST_F(EngineTest, Dispatch_LaterEntryWithSamePathIsNotSearched)
{
    table.add(AppEntry("C:\\WINDOWS\\EXPLORER.EXE", "first, no actions"));
    AppEntry second(ExplorerLower(), "second");
    Action action;
    action.setInput(KeyStroke::ofCode(0x41));
    second.addAction(action);
    ASSERT_EQ(table.add(second), 1);
    EXPECT_FALSE(Press(KeyA));
}

TEST_F(EngineTest, OnKeyEvent_KeyUpsNeverTriggerAndReplyZero)
{
    AddAction(ExplorerLower(), 0x41, {0x42});

    EXPECT_FALSE(Release(KeyA));
    EXPECT_FALSE(Release(LeftCtrl));
    EXPECT_TRUE(system.log.empty());
    EXPECT_EQ(system.pathLookups, 0);
}

TEST_F(EngineTest, UpdateHeldKeys_TracksSidesAndClearsVkOnModifierEvents)
{
    Press(RightCtrl);
    Press(KeyA);
    EXPECT_EQ(engine.held().toCode(), 0x141);
    EXPECT_EQ(engine.held().rightCtrl, 1);
    Release(KeyA);
    EXPECT_EQ(engine.held().vk, 0x41u);  // a key-up leaves its vk
    Press(LeftShift);
    EXPECT_EQ(engine.held().vk, 0u);
    EXPECT_EQ(engine.held().toCode(), 0x500);
    Release(RightCtrl);
    EXPECT_EQ(engine.held().ctrl, 0);
    EXPECT_EQ(engine.held().rightCtrl, 0);
    Release(LeftShift);
    EXPECT_EQ(engine.held().toCode(), 0);
}

}  // namespace
