// Hook installation, reports the engine must not act on, and the pause after an action.
#include "EngineFixture.h"

namespace {

TEST(SetHooksTest, FailuresShowTheirMessagesInOrderAndKeepWhatWasDone)
{
    FakeModelSystem model;
    ShortcutTable table{model};
    Settings settings{model};
    FakeKeySystem system;
    KeyEngine engine{table, settings, system.keySystem()};

    system.libraryLoads = false;
    EXPECT_FALSE(engine.SetHooks(true));
    system.libraryLoads = true;
    system.keyboardHookInstalls = false;
    EXPECT_FALSE(engine.SetHooks(true));
    system.keyboardHookInstalls = true;
    system.messageHookInstalls = false;
    EXPECT_FALSE(engine.SetHooks(true));
    system.messageHookInstalls = true;
    EXPECT_TRUE(engine.SetHooks(true));               // the keyboard hook stayed; the library is loaded once
    EXPECT_TRUE(engine.SetHooks(true));               // all in: nothing to do
    EXPECT_TRUE(engine.SetRecordingWindow(nullptr));  // the end of recording removes them
    EXPECT_TRUE(engine.SetHooks(false));

    system.messageHookInstalls = false;
    EXPECT_FALSE(engine.SetRecordingWindow(&system));  // recording installs them
    EXPECT_TRUE(engine.SetHooks(false));               // only the installed one is removed
    EXPECT_EQ(system.log,
              (Lines{"load varokint", "hooks failed: library", "load varokint", "hook 2 VRKeyboardProc",
                     "hooks failed: keyboard hook", "hook 2 VRKeyboardProc", "hook 3 VRMsgProc",
                     "hooks failed: message hook", "hook 3 VRMsgProc", "unhook 4000", "unhook 4001",
                     "hook 2 VRKeyboardProc", "hook 3 VRMsgProc", "hooks failed: message hook", "unhook 4002"}));
}

TEST_F(EngineTest, UnsafeReports_ChangeNothingAndPass)
{
    Add(Explorer, Ctrl | 'A', {'B'});
    const std::uint32_t ctrlDown = KeyFlags::Down(0x1D).word();
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{0x11, &ctrlDown, 3}));          // too short
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{0x11, nullptr, 4}));            // no data
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{0x100 + 0x11, &ctrlDown, 4}));  // no such key
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{~std::uintptr_t{0}, &ctrlDown, 4}));
    EXPECT_EQ(engine.held().toCode(), 0);
    EXPECT_EQ(Type("A"), "0");  // Ctrl was never taken as held
    EXPECT_EQ(system.log, Lines{"path 2000"});

    const std::uint32_t longer[2] = {KeyFlags::Down(0x1E).word(), 0xFFFFFFFFu};  // a longer record reads its first word
    Add(Explorer, 'A', {});
    EXPECT_TRUE(engine.OnKeyEvent(KeyReport{0x41, longer, sizeof longer}));
}

TEST_F(EngineTest, WhileOurHooksAreOff_NothingIsActedOnOrHeld)
{
    Add(Explorer, Ctrl | 'E', {'A'});
    engine.SetHooks(false);
    system.log.clear();
    EXPECT_EQ(Type("LCtrl E"), "00");
    EXPECT_EQ(system.log, Lines{});
    EXPECT_EQ(engine.held().toCode(), 0);
    engine.SetHooks(true);
    EXPECT_EQ(Type("LCtrl E"), "01");
}

TEST_F(EngineTest, Pause_SwallowsWhatWouldActAndPassesTheRest)
{
    settings.timer = 250;
    settings.useHotKey = true;
    Add(Explorer, 0x70, {0x71});  // F1 -> F2
    Add("global", 'A', {'B'});
    EXPECT_EQ(Type("F1"), "1");
    EXPECT_FALSE(engine.enabled());
    system.log.clear();
    // Repeats of the held trigger, a global action, the hotkey: swallowed, nothing played
    // or opened; an unmatched key passes.
    EXPECT_EQ(Type("F1* F1* A LWin Enter /Enter /LWin F2"), "11101000");
    EXPECT_EQ(system.log, (Lines{"path 2000", "path 2000", "path 2000", "path 2000"}));
    engine.Reenable();
    EXPECT_EQ(Type("F1*"), "1");
    EXPECT_EQ(system.log.size(), 9u);
}

TEST_F(EngineTest, Pause_LastsFromOneMillisecondToTenSecondsAndIsSkippedWhenItCannotStart)
{
    Add(Explorer, 0x70, {});
    for (const int timer : {-5, 1, 99999, 2147483647}) {
        settings.timer = timer;
        EXPECT_EQ(Type("F1"), "1");
        engine.Reenable();
    }
    EXPECT_EQ(system.log, (Lines{"path 2000", "70 up", "pause 1 ms", "path 2000", "70 up", "pause 1 ms", "path 2000",
                                 "70 up", "pause 10000 ms", "path 2000", "70 up", "pause 10000 ms"}));
    system.pauseStarts = false;  // nothing would ever switch the engine on again
    EXPECT_EQ(Type("F1"), "1");
    EXPECT_TRUE(engine.enabled());
}

TEST_F(EngineTest, OwnKeys_NeverActEvenAfterThePauseAndAreForgottenAfterASecond)
{
    Add(Explorer, 0x70, {0x70, 'A'});  // F1 -> F1, A
    EXPECT_EQ(Type("F1"), "1");
    engine.Reenable();  // a 1 ms pause ends before the keys come back
    const Lines played = system.log;
    EXPECT_EQ(ReportInjected(5), "00000");  // F1, A and the trigger's key-up reach the application
    EXPECT_EQ(system.log, played);
    EXPECT_EQ(engine.ownKeysPending(), 0u);
    EXPECT_EQ(Type("F1"), "1");  // the next physical press plays again
    engine.Reenable();
    EXPECT_EQ(system.log.size(), 2 * played.size());
    // Keys that never come back (the window in front changed) do not stay ours for ever.
    system.now += KeyEngine::OwnKeyTimeoutMs + 1;
    EXPECT_EQ(ReportInjected(1), "1");  // now the F1 counts as the user's
}

TEST_F(EngineTest, LetGoDuringPlayback_TheModifierIsNotPressedAgain)
{
    Add(Explorer, Ctrl | 'E', {Alt | 'V', Ctrl | 'B', 'C'});
    // Ctrl is let go after the fifth injected event, the Ctrl press for B: its release is
    // queued before our later events, which must not leave Ctrl down.
    system.releaseAfter[5] = 0xA2;
    EXPECT_EQ(Type("LCtrl E"), "01");
    EXPECT_EQ(system.log, (Lines{"path 2000", "path 2000", "11:1D up", "12:38 down", "56 down ext", "56 up ext",
                                 "11:1D down", "12:38 up", "42 down ext", "42 up ext", "11:1D up", "43 down ext",
                                 "43 up ext", "45 up", "pause 100 ms"}));
}

TEST_F(EngineTest, LetGoBeforeOurPressBackIsReported_TheHooksGoingOutReleaseIt)
{
    Add(Explorer, Ctrl | 'E', {'C'});
    system.releaseAfter[1] = 0xA2;  // let go while our Ctrl release is in the key state
    EXPECT_EQ(Type("LCtrl E"), "01");
    EXPECT_EQ(ReportInjected(3), "000");  // Ctrl up, C down, C up
    EXPECT_EQ(Type("/LCtrl"), "0");       // reported before our press back
    const std::size_t before = system.log.size();
    engine.SetHooks(false);  // the settings window opens: our press never comes back
    EXPECT_EQ(Lines(system.log.begin() + before, system.log.end()), (Lines{"11:1D up", "unhook 4000", "unhook 4001"}));
}

}  // namespace
