// Reported keys -> replies and the whole sequence of effects: matching, playing and recording.
#include "EngineFixture.h"

namespace {

struct Added {
    const char* path;
    int input;
    std::vector<int> outputs;
};

enum Setup {
    Plain = 0,
    HotKeyOn = 1,
    Recording = 2,
    CtrlLetGoEarly = 4,
    NoForeground = 8,
    AltLetGoEarly = 16,
    RWinLetGoEarly = 32,
};

struct Sequence {
    const char* name;
    int setup;
    std::vector<Added> actions;
    const char* keys;
    const char* replies;
    Lines effects;
};

// Each row: the actions added {path, input key code, output key codes}, the keys typed
// (see Type), the replies to them, and every effect in order. A key-down looks up the
// application in front ("path 2000") unless "global" or the hotkey took it.
const char* const E = Explorer;
const char* const Pause = "pause 100 ms";
const char* const Lookup = "path 2000";

// clang-format off
const Sequence Sequences[] = {
    {"CtrlE_AltV_ReleasesCtrlPlaysAltVAndPressesCtrlAgain", Plain, {{E, Ctrl | 'E', {Alt | 'V'}}}, "LCtrl E", "01",
     {Lookup, Lookup, "11:1D up", "12:38 down", "56 down ext", "56 up ext", "11:1D down", "12:38 up", "45 up", Pause}},
    {"CtrlLetGoBeforePlayback_IsNotPressedAgain", CtrlLetGoEarly, {{E, Ctrl | 'E', {Alt | 'V'}}}, "LCtrl E", "01",
     {Lookup, Lookup, "11:1D up", "12:38 down", "56 down ext", "56 up ext", "12:38 up", "45 up", Pause}},
    {"NoOutputsCtrlLetGoEarly_OnlyTheTriggersKeyUp", CtrlLetGoEarly, {{E, Ctrl | 0x71, {}}}, "LCtrl F2", "01",
     {Lookup, Lookup, "71 up", Pause}},
    {"AltLetGoBeforePlayback_IsNotPressedAgain", AltLetGoEarly, {{E, Alt | 'E', {'A'}}}, "LAlt E", "01",
     {Lookup, Lookup, "12:38 up", "41 down ext", "41 up ext", "45 up", Pause}},
    {"RightWin_ReleasedAndPressedAgainOnTheRight", Plain, {{"global", Win | 'C', {'A'}}}, "RWin C", "01",
     {Lookup, "5C up", "41 down ext", "41 up ext", "5C down", "43 up", Pause}},
    {"RightWinLetGoBeforePlayback_IsNotPressedAgain", RWinLetGoEarly, {{"global", Win | 'C', {'A'}}}, "RWin C", "01",
     {Lookup, "5C up", "41 down ext", "41 up ext", "43 up", Pause}},
    {"RightCtrlKeptThroughAnOutputWithCtrl_ReleasedOnTheRight", Plain, {{E, Ctrl | 'E', {Ctrl | 'B', 'C'}}},
     "RCtrl E", "01",
     {Lookup, Lookup, "42 down ext", "42 up ext", "11:1D up ext", "43 down ext", "43 up ext", "11:1D down ext",
      "45 up", Pause}},
    {"RightCtrlHeldLeftCtrlPlayed_RestoreSwapsTheSides", Plain, {{E, Ctrl | 'E', {'A', Ctrl | 'B'}}}, "RCtrl E", "01",
     {Lookup, Lookup, "11:1D up ext", "41 down ext", "41 up ext", "11:1D down", "42 down ext", "42 up ext",
      "11:1D up", "11:1D down ext", "45 up", Pause}},
    {"WinC_StartMenuByTheTaskbarThenSAndCWithoutWin", Plain, {{"global", Win | 'C', {Win, 'S', 'C'}}}, "LWin C", "01",
     {Lookup, "open the Start menu", "5B up", "53 down ext", "53 up ext", "43 down ext",
      "43 up ext", "5B down", "43 up", Pause}},
    {"WinAloneThenA_AIsPlayedWithoutTheHeldCtrl", Plain, {{E, Ctrl | 'E', {Win, 'A'}}}, "LCtrl E", "01",
     {Lookup, Lookup, "open the Start menu", "11:1D up", "41 down ext", "41 up ext", "11:1D down",
      "45 up", Pause}},
    {"RightShift_ReleasedAndRestoredOnItsOwnSide", Plain, {{E, Shift | 'A', {'B'}}}, "RShift A", "01",
     {Lookup, Lookup, "10:36 up ext", "42 down ext", "42 up ext", "10:36 down ext", "41 up", Pause}},
    {"RightCtrlAndAlt_ExtendedWithTheScanCodesLowByte", Plain, {{E, Ctrl | Alt | 'E', {'A'}}}, "RCtrl RAlt E", "001",
     {Lookup, Lookup, Lookup, "11:1D up ext", "12:38 up ext", "41 down ext", "41 up ext", "11:1D down ext",
      "12:38 down ext", "45 up", Pause}},
    {"ModifiersChangeOnlyBetweenNeighboursInOrderShiftWinCtrlAlt", Plain, {{E, 0x70, {Alt | Shift | 'A', Ctrl | 'B'}}},
     "F1", "1",
     {Lookup, "10:2A down", "12:38 down", "41 down ext", "41 up ext", "10:2A up", "11:1D down", "12:38 up",
      "42 down ext", "42 up ext", "11:1D up", "70 up", Pause}},
    {"NoOutputs_SwallowsTheTriggerAndSendsItsKeyUp", Plain, {{E, 0x71, {}}}, "F2", "1", {Lookup, "71 up", Pause}},
    {"CtrlAloneAsInput_TriggerHasNoVk_NoKeyUpOfKeyCodeZero", Plain, {{E, Ctrl, {'A'}}}, "LCtrl", "1",
     {Lookup, "11:1D up", "41 down ext", "41 up ext", "11:1D down", Pause}},
    {"HotKeyOff_SameKeysGoToTheAction", Plain, {{"global", Win | 0x0D, {'A'}}}, "LWin Enter", "01",
     {Lookup, "5B up", "41 down ext", "41 up ext", "5B down", "0D up", Pause}},
    {"GlobalWinsOverTheApplicationWhichIsNeverLookedUp", Plain,
     {{E, Ctrl | 'E', {Alt | 'V'}}, {"global", Ctrl | 'E', {0x74}}},
     "LCtrl E", "01", {Lookup, "11:1D up", "74 down ext", "74 up ext", "11:1D down", "45 up", Pause}},
    {"UnmatchedKey_PassesAfterOneLookUp", Plain, {{E, Ctrl | 'E', {Alt | 'V'}}}, "A", "0", {Lookup}},
    {"NoForegroundWindow_MatchesTheEmptyPathOnly", NoForeground, {{E, 'A', {'B'}}, {"", 'A', {'C'}}}, "A", "1",
     {"path 0", "43 down ext", "43 up ext", "41 up", Pause}},
    {"ModifierPressClearsTheHeldVkAndEachSideIsKept", Plain, {{E, Ctrl | Shift, {'B'}}}, "RCtrl A /A LShift", "0001",
     {Lookup, Lookup, Lookup, "10:2A up", "11:1D up ext", "42 down ext", "42 up ext", "10:2A down", "11:1D down ext",
      Pause}},
    {"KeyUps_NeverTriggerAndPass", Plain, {{E, 'A', {'B'}}}, "/A /LCtrl", "00", {}},
    {"Recording_CtrlHeldAndCPressedThreeTimes_RecordsThreeTimes", Recording, {}, "LCtrl C /C C /C C /C /LCtrl",
     "00000000",
     {"record 143", "record 143", "record 143"}},
    {"Recording_RepeatingKey_RecordsOnce", Recording, {}, "C C* C* /C", "0000", {"record 43"}},
    {"Recording_CtrlAloneAndUnnamedF13_RecordNothing", Recording, {}, "LCtrl /LCtrl LCtrl /LCtrl F13 /F13",
     "000000", {}},
    {"Recording_JapaneseKeyboardsSemicolonHenkanAndMuhenkan_AreRecorded", Recording, {},
     "LCtrl Semicolon /Semicolon /LCtrl Henkan /Henkan Muhenkan /Muhenkan", "00000000",
     {"record 1BB", "record 1C", "record 1D"}},
    {"Recording_ActionsAndHotKeyAreRecordedNotPlayed", Recording | HotKeyOn, {{"global", 'A', {'B'}}},
     "A LWin Enter", "000", {"record 41", "record 80D"}},
};
// clang-format on

void PrintTo(const Sequence& s, std::ostream* out) { *out << s.keys; }

class SequenceTest : public EngineTest, public ::testing::WithParamInterface<Sequence> {};

TEST_P(SequenceTest, RepliesAndEffects)
{
    const Sequence& s = GetParam();
    settings.useHotKey = s.setup & HotKeyOn;
    if (s.setup & CtrlLetGoEarly) system.releasedNow = {0xA2};  // Ctrl's release is queued behind E: it would stick
    if (s.setup & AltLetGoEarly) system.releasedNow = {0xA4};
    if (s.setup & RWinLetGoEarly) system.releasedNow = {0x5C};
    if (s.setup & NoForeground) system.foreground = 0;
    if (s.setup & Recording) {
        ASSERT_TRUE(engine.SetRecordingWindow(&system));
        system.log.clear();
    }
    for (const Added& a : s.actions) Add(a.path, a.input, a.outputs);
    EXPECT_EQ(Type(s.keys), s.replies);
    EXPECT_EQ(system.log, s.effects);
}

INSTANTIATE_TEST_SUITE_P(Engine, SequenceTest, ::testing::ValuesIn(Sequences),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, HotKeyOn_WinsOverTheActionRemembersTheWindowInFrontAndReadsTheKeyStateWhenTheHooksReturn)
{
    settings.useHotKey = true;
    Add("global", Win | 0x0D, {'A'});
    system.foreground = 0x2222;
    EXPECT_EQ(Type("RWin Enter"), "01");
    EXPECT_EQ(system.log, (Lines{"path 2222", "open the settings for the window in front"}));
    EXPECT_EQ(engine.foregroundWindow(), 0x2222u);
    EXPECT_EQ(engine.held().toCode(), Win | 0x0D);  // Win still held for the keys that follow
    EXPECT_EQ(engine.held().rightWin, 1);
    EXPECT_TRUE(engine.enabled());  // no pause after the hotkey
    // The settings window takes the hooks out; Win is let go and Shift pressed meanwhile.
    engine.SetHooks(false);
    system.pressed = {0xA1};
    engine.SetHooks(true);
    EXPECT_EQ(engine.held().toCode(), Shift | 0x0D);
    EXPECT_EQ(engine.held().rightShift, 1);
    EXPECT_EQ(engine.held().rightWin, 0);
}

TEST_F(EngineTest, LaterEntryWithTheSamePath_IsNotSearched)
{
    table.add(AppEntry("C:\\WINDOWS\\EXPLORER.EXE", "first, no actions"));
    AppEntry second(Explorer, "second");
    second.addAction(MakeAction("", 'A', {'B'}));
    ASSERT_EQ(table.add(second), 1);
    EXPECT_EQ(Type("A"), "0");
    EXPECT_EQ(engine.foregroundWindow(), ExplorerWindow);  // the window looked at is kept
}

}  // namespace
