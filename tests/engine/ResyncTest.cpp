// Where the reports cannot be trusted (the session was locked, the secure desktop took the
// input, another window came to the front), the engine reads the modifiers again from the
// system's key state and stops waiting for its own keys.
#include "EngineFixture.h"

namespace {

TEST_F(EngineTest, Resync_AModifierLetGoUnseenNoLongerCounts)
{
    Add("global", Win | 'C', {'S'});
    Add(Explorer, Ctrl | 'E', {'V'});
    EXPECT_EQ(Type("LWin LCtrl"), "00");
    system.pressed.clear();  // both let go where the hooks could not see (the lock screen)
    engine.ResyncHeldKeys();
    system.log.clear();
    EXPECT_EQ(Type("C /C E /E"), "0000");  // plain keys now: they pass
    EXPECT_EQ(system.log, (Lines{"path 2000", "path 2000"}));
    EXPECT_EQ(engine.held().toCode(), 'E');
}

TEST_F(EngineTest, Resync_AModifierPressedUnseenCounts)
{
    Add(Explorer, Ctrl | 'E', {'V'});
    system.pressed.insert(0xA2);  // left Ctrl went down while an elevated window was in front
    engine.ResyncHeldKeys();
    EXPECT_EQ(Type("E"), "1");
    EXPECT_EQ(system.log,
              (Lines{"path 2000", "11:1D up", "56 down ext", "56 up ext", "11:1D down", "45 up", "pause 100 ms"}));
}

TEST_F(EngineTest, Resync_OurKeysNotBackAreForgottenAndAPressLetGoIsUndone)
{
    Add(Explorer, Ctrl | 'E', {'C'});
    system.releaseAfter[1] = 0xA2;  // let go while our Ctrl release is in the key state
    EXPECT_EQ(Type("LCtrl E"), "01");
    EXPECT_EQ(ReportInjected(3), "000");  // Ctrl up, C down, C up
    EXPECT_EQ(Type("/LCtrl"), "0");       // reported before our press back, which never comes
    const std::size_t before = system.log.size();
    engine.ResyncHeldKeys();
    EXPECT_EQ(Lines(system.log.begin() + before, system.log.end()), (Lines{"11:1D up"}));
    EXPECT_EQ(engine.ownKeysPending(), 1u);  // the undo comes back as ours
    EXPECT_EQ(engine.held().toCode(), 0);
}

TEST_F(EngineTest, Resync_WithTheHooksOutDoesNothing)
{
    engine.SetHooks(false);
    system.pressed.insert(0xA2);
    system.log.clear();
    engine.ResyncHeldKeys();
    EXPECT_TRUE(system.log.empty());
    EXPECT_EQ(engine.held().toCode(), 0);
}

}  // namespace
