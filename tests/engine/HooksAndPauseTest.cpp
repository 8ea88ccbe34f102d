// Hook installation, reports the engine must not act on, and the pause after an action.
#include "EngineFixture.h"

namespace {

TEST(SetHooksTest, FailuresShowTheirMessagesInOrderAndKeepWhatWasDone)
{
    FakeModelSystem model;
    ShortcutTable table{model};
    Settings settings{model};
    FakeKeySystem system;
    KeyEngine engine{table, settings, MainWindow, system};

    system.libraryLoads = false;
    EXPECT_FALSE(engine.SetHooks(true));
    system.libraryLoads = true;
    system.keyboardHookInstalls = false;
    EXPECT_FALSE(engine.SetHooks(true));
    system.keyboardHookInstalls = true;
    system.messageHookInstalls = false;
    EXPECT_FALSE(engine.SetHooks(true));
    system.messageHookInstalls = true;
    EXPECT_TRUE(engine.SetHooks(true));  // the keyboard hook stayed; the library is loaded once
    EXPECT_TRUE(engine.SetHooks(true));  // all in: nothing to do
    EXPECT_TRUE(engine.SetRecordingWindow(0));  // the end of recording removes them
    EXPECT_TRUE(engine.SetHooks(false));

    system.messageHookInstalls = false;
    EXPECT_FALSE(engine.SetRecordingWindow(Editor));  // recording installs them
    EXPECT_TRUE(engine.SetHooks(false));  // only the installed one is removed
    EXPECT_EQ(system.log, (Lines{"load varokint", "message Error: DLLファイルの読みとりに失敗",
                                 "load varokint", "hook 2 VRKeyboardProc", "message Error: フック登録に失敗",
                                 "hook 2 VRKeyboardProc", "hook 3 VRMsgProc",
                                 "message Error: メッセージフック登録に失敗",
                                 "hook 3 VRMsgProc",
                                 "unhook 4000", "unhook 4001",
                                 "hook 2 VRKeyboardProc", "hook 3 VRMsgProc",
                                 "message Error: メッセージフック登録に失敗", "unhook 4002"}));
}

TEST_F(EngineTest, UnsafeReports_ChangeNothingAndPass)
{
    Add(Explorer, 0x141, {0x42});  // Ctrl+A -> B
    const std::uint32_t ctrlDown = 1 | (0x1D << 16);
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{0x11, &ctrlDown, 3}));        // too short
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{0x11, nullptr, 4}));          // no data
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{0x100 + 0x11, &ctrlDown, 4}));  // no such key
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{~std::uintptr_t{0}, &ctrlDown, 4}));
    EXPECT_EQ(engine.held().toCode(), 0);
    EXPECT_EQ(Type("A"), "0");  // Ctrl was never taken as held
    EXPECT_EQ(system.log, Lines{"path 2000"});

    const std::uint32_t longer[2] = {1 | (0x1E << 16), 0xFFFFFFFFu};  // a longer record reads its first word
    Add(Explorer, 0x41, {});
    EXPECT_TRUE(engine.OnKeyEvent(KeyReport{0x41, longer, sizeof longer}));
}

TEST_F(EngineTest, WhileOurHooksAreOff_NothingIsActedOnOrHeld)
{
    Add(Explorer, 0x145, {0x41});  // Ctrl+E -> A
    engine.SetHooks(false);
    system.log.clear();
    EXPECT_EQ(Type("LCtrl E"), "00");
    EXPECT_EQ(system.log, Lines{});
    EXPECT_EQ(engine.held().toCode(), 0);
    engine.SetHooks(true);
    EXPECT_EQ(Type("LCtrl E"), "01");
}

TEST_F(EngineTest, Pause_AutoRepeatPlaysAtMostOncePerTimerAndAgainAfterReenable)
{
    settings.timer = 250;
    Add(Explorer, 0x70, {0x71});  // F1 -> F2
    EXPECT_EQ(Type("F1"), "1");
    EXPECT_FALSE(engine.enabled());
    system.log.clear();
    EXPECT_EQ(Type("F1* F1*"), "00");  // within the pause the key passes on untouched
    EXPECT_EQ(system.log, Lines{});
    engine.Reenable();
    EXPECT_EQ(Type("F1*"), "1");
    EXPECT_EQ(system.log, (Lines{"path 2000", "71 down ext", "71 up ext", "70 up", "timer 100 id 1 ms 250"}));
}

TEST_F(EngineTest, Pause_ActionThatPlaysItsOwnInputRunsOncePerPhysicalPress)
{
    Add(Explorer, 0x70, {0x70, 0x41});  // F1 -> F1, A
    EXPECT_EQ(Type("F1"), "1");
    const Lines played = system.log;
    // The hook reports the injected F1 back: it must reach the application, not replay.
    EXPECT_FALSE(Report(PhysicalKey{0x70, 0, true}, false));
    EXPECT_FALSE(Report(PhysicalKey{0x70, 0, true}, true));
    EXPECT_EQ(system.log, played);
    engine.Reenable();
    EXPECT_EQ(Type("F1"), "1");  // the next physical press plays again
    EXPECT_EQ(system.log.size(), 2 * played.size());
}

TEST_F(EngineTest, Pause_IsAtLeastOneMillisecondAndSkippedWhenNoTimerStarts)
{
    settings.timer = -5;
    Add(Explorer, 0x70, {});
    EXPECT_EQ(Type("F1"), "1");
    EXPECT_EQ(system.log.back(), "timer 100 id 1 ms 1");
    engine.Reenable();
    system.timerStarts = false;  // nothing would ever switch the engine on again
    EXPECT_EQ(Type("F1"), "1");
    EXPECT_TRUE(engine.enabled());
}

}  // namespace
