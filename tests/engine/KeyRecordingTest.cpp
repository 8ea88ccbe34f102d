// Key recording, hook installation, unsafe reports and the pause after an action.
#include "EngineFixture.h"

namespace {

constexpr WindowId Editor = 0x300;

class RecordingTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ASSERT_TRUE(engine.SetRecordingWindow(Editor));
        system.log.clear();
    }
};

TEST_F(RecordingTest, SetRecordingWindow_InstallsHooksThenStopRemovesThem)
{
    FakeKeySystem fresh;
    KeyEngine other(table, settings, MainWindow, fresh);
    EXPECT_TRUE(other.SetRecordingWindow(Editor));
    EXPECT_TRUE(other.SetRecordingWindow(0));
    EXPECT_EQ(fresh.log, (Lines{
                             "load varokint",
                             "hook 2 VRKeyboardProc",
                             "hook 3 VRMsgProc",
                             "unhook 0x4000",
                             "unhook 0x4001",
                         }));
}

TEST_F(RecordingTest, CtrlHeldAndCPressedThreeTimes_RecordsThreeTimes)
{
    EXPECT_FALSE(Press(LeftCtrl));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Press(KeyC));
        EXPECT_FALSE(Release(KeyC));
    }
    EXPECT_FALSE(Release(LeftCtrl));
    EXPECT_EQ(system.log, (Lines{
                              "send 0x300 WM_KEY_RECORDED 0x143 0x0",
                              "send 0x300 WM_KEY_RECORDED 0x143 0x0",
                              "send 0x300 WM_KEY_RECORDED 0x143 0x0",
                          }));
}

TEST_F(RecordingTest, RepeatingKey_RecordsOnce)
{
    Press(KeyC);
    Repeat(KeyC);
    Repeat(KeyC);
    Release(KeyC);
    EXPECT_EQ(system.log, (Lines{"send 0x300 WM_KEY_RECORDED 0x43 0x0"}));
}

TEST_F(RecordingTest, ModifierAloneAndUnnamedKey_RecordNothing)
{
    EXPECT_FALSE(Press(LeftCtrl));
    EXPECT_FALSE(Release(LeftCtrl));
    EXPECT_FALSE(Press(LeftCtrl));  // after a key-up, vk 0 is new but has no key to send
    EXPECT_FALSE(Release(LeftCtrl));
    EXPECT_FALSE(Press(F13));       // vk 124 has no name
    EXPECT_FALSE(Release(F13));
    EXPECT_TRUE(system.log.empty());
}

TEST_F(RecordingTest, ActionsAndHotKeyAreNotRecognised)
{
    settings.useHotKey = true;
    settings.hotKey.fromCode(2061);
    AddAction("global", 0x41, {0x42});

    EXPECT_FALSE(Press(KeyA));
    Press(LeftWin);
    EXPECT_FALSE(Press(Enter));
    EXPECT_EQ(system.log, (Lines{
                              "send 0x300 WM_KEY_RECORDED 0x41 0x0",
                              "send 0x300 WM_KEY_RECORDED 0x80D 0x0",
                          }));
    EXPECT_TRUE(engine.enabled());
}

TEST_F(EngineTest, OnKeyEvent_RejectsUnsafeReportsWithoutChangingState)
{
    AddAction(ExplorerLower(), 0x141, {0x42});
    const std::uint32_t ctrlDown = Flags(LeftCtrl, false, false);

    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{LeftCtrl.vk, &ctrlDown, 3}));      // too short
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{LeftCtrl.vk, nullptr, 4}));        // no data
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{0x100 + 0x41, &ctrlDown, 4}));     // no such key
    EXPECT_FALSE(engine.OnKeyEvent(KeyReport{~std::uintptr_t{0}, &ctrlDown, 4}));
    EXPECT_EQ(engine.held().toCode(), 0);
    EXPECT_EQ(system.pathLookups, 0);

    // Ctrl was never taken as held, so Ctrl+A does not match.
    EXPECT_FALSE(Press(KeyA));
    EXPECT_TRUE(system.log.empty());
}

TEST_F(EngineTest, OnKeyEvent_AcceptsLongerRecordAndReadsFirstWord)
{
    AddAction(ExplorerLower(), 0x41, {});
    const std::uint32_t record[2] = {Flags(KeyA, false, false), 0xFFFFFFFFu};
    EXPECT_TRUE(engine.OnKeyEvent(KeyReport{KeyA.vk, record, sizeof record}));
}

TEST_F(EngineTest, Pause_AutoRepeatPlaysAtMostOncePerTimerAndAgainAfterReenable)
{
    settings.timer = 250;
    AddAction(ExplorerLower(), 0x70, {0x71});  // F1 -> F2

    EXPECT_TRUE(Press(F1));
    EXPECT_FALSE(engine.enabled());
    system.log.clear();

    // Auto-repeat within the pause: the key passes on, at most one play per `timer` ms.
    EXPECT_FALSE(Repeat(F1));
    EXPECT_FALSE(Repeat(F1));
    EXPECT_TRUE(system.log.empty());

    engine.Reenable();
    EXPECT_TRUE(Repeat(F1));
    EXPECT_EQ(system.log, (Lines{
                              "key 0x71 scan 0x00 down ext",
                              "key 0x71 scan 0x00 up ext",
                              "key 0x70 scan 0x00 up",
                              "timer 0x100 id 1 ms 250",
                          }));
}

TEST_F(EngineTest, Pause_ActionThatPlaysItsOwnInputRunsOncePerPhysicalPress)
{
    AddAction(ExplorerLower(), 0x70, {0x70, 0x41});  // F1 -> F1, A

    EXPECT_TRUE(Press(F1));
    const std::size_t played = system.log.size();
    // The hook reports the injected F1 back: it must reach the application, not replay.
    EXPECT_FALSE(Report(PhysicalKey{0x70, 0, true}, false));
    EXPECT_FALSE(Report(PhysicalKey{0x70, 0, true}, true));
    EXPECT_EQ(system.log.size(), played);

    engine.Reenable();
    EXPECT_TRUE(Press(F1));  // the next physical press plays again
    EXPECT_EQ(system.log.size(), 2 * played);
}

TEST_F(EngineTest, Pause_HotKeyDoesNotStartIt)
{
    settings.useHotKey = true;
    settings.hotKey.fromCode(0x70);
    EXPECT_TRUE(Press(F1));
    EXPECT_TRUE(engine.enabled());
}

TEST_F(EngineTest, Pause_NonPositiveTimerStillPausesBriefly)
{
    settings.timer = -5;
    AddAction(ExplorerLower(), 0x70, {});
    EXPECT_TRUE(Press(F1));
    EXPECT_EQ(system.log.back(), "timer 0x100 id 1 ms 1");
}

TEST_F(EngineTest, Pause_WithoutTimerEngineStaysEnabled)
{
    system.timerStarts = false;
    AddAction(ExplorerLower(), 0x70, {});
    EXPECT_TRUE(Press(F1));
    EXPECT_TRUE(engine.enabled());
}

// A fresh engine: the fixture's has its hooks in already.
class SetHooksTest : public EngineTest {
protected:
    FakeKeySystem fresh;
    KeyEngine other{table, settings, MainWindow, fresh};
};

TEST_F(SetHooksTest, FailuresShowTheirMessagesInOrderAndKeepWhatWasDone)
{
    fresh.libraryLoads = false;
    EXPECT_FALSE(other.SetHooks(true));

    fresh.libraryLoads = true;
    fresh.keyboardHookInstalls = false;
    EXPECT_FALSE(other.SetHooks(true));

    fresh.keyboardHookInstalls = true;
    fresh.messageHookInstalls = false;
    EXPECT_FALSE(other.SetHooks(true));

    fresh.messageHookInstalls = true;
    EXPECT_TRUE(other.SetHooks(true));
    EXPECT_TRUE(other.SetHooks(true));  // all installed: nothing to do
    EXPECT_TRUE(other.hooksInstalled());

    EXPECT_EQ(fresh.log, (Lines{
                             "load varokint",
                             "message Error: DLLファイルの読みとりに失敗",
                             "load varokint",
                             "hook 2 VRKeyboardProc",
                             "message Error: フック登録に失敗",
                             "hook 2 VRKeyboardProc",
                             "hook 3 VRMsgProc",
                             "message Error: メッセージフック登録に失敗",
                             "hook 3 VRMsgProc",  // the keyboard hook stayed; the library is loaded once
                         }));
}

TEST_F(SetHooksTest, OffRemovesOnlyInstalledHooks)
{
    fresh.messageHookInstalls = false;
    other.SetHooks(true);
    fresh.log.clear();
    EXPECT_TRUE(other.SetHooks(false));
    EXPECT_TRUE(other.SetHooks(false));
    EXPECT_EQ(fresh.log, (Lines{"unhook 0x4000"}));
}

TEST_F(EngineTest, OnKeyEvent_WhileOurHooksAreOffNothingIsActedOnOrHeld)
{
    AddAction(ExplorerLower(), 0x145, {0x41});  // Ctrl+E -> A
    engine.SetHooks(false);
    system.log.clear();
    EXPECT_FALSE(Press(LeftCtrl));
    EXPECT_FALSE(Press(KeyE));
    EXPECT_EQ(system.log, Lines{});
    EXPECT_EQ(engine.held().toCode(), 0);

    engine.SetHooks(true);
    EXPECT_FALSE(Press(LeftCtrl));
    EXPECT_TRUE(Press(KeyE));
}

TEST_F(EngineTest, GetForegroundExePath_StoresTheWindowLookedAt)
{
    EXPECT_EQ(engine.GetForegroundExePath(), ExplorerPath);
    EXPECT_EQ(engine.foregroundWindow(), ExplorerWindow);
    EXPECT_EQ(engine.GetForegroundExePath(), ExplorerPath);
    EXPECT_EQ(system.pathLookups, 2);  // nothing is cached

    system.foreground = 0;
    engine.RememberForegroundWindow();
    EXPECT_EQ(engine.foregroundWindow(), 0u);
    EXPECT_EQ(engine.GetForegroundExePath(), "");
}

}  // namespace
