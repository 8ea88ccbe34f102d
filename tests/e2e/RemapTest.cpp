// Keys typed through X into the KeyTarget program while the real program runs: what the
// target receives, message by message, with the modifier state it sees; and the hotkey
// road, which opens the settings on the target and adds an action that works at once.
#include "contract/HookContract.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ProgramDriver.h"
#include "ui/KeyVocabulary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

const char* const CtrlDown = "WM_KEYDOWN vk=0x11 shift=0 ctrl=1 alt=0 lwin=0 rwin=0";
const char* const CtrlUp = "WM_KEYUP vk=0x11 shift=0 ctrl=0 alt=0 lwin=0 rwin=0";
const char* const AltVDown = "WM_SYSKEYDOWN vk=0x56 shift=0 ctrl=0 alt=1 lwin=0 rwin=0";
// Ctrl+E with no action: what the target gets when nothing is remapped.
const Lines PlainCtrlE = {
    CtrlDown,
    "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
    "WM_CHAR vk=0x05 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
    CtrlUp,
    "WM_KEYUP vk=0x45 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
};

// Ctrl and a key the way a person types them: the key goes down while Ctrl is held, and
// both come up a moment later (Ctrl first, as xdotool's own "key ctrl+e" does). xdotool
// alone would let go within a few milliseconds, before the action has been played.
std::string CtrlChord(const char* key)
{
    return std::string("keydown ctrl keydown ") + key + " sleep 0.2 keyup ctrl keyup " + key;
}

long Count(const Lines& lines, const char* line) { return std::count(lines.begin(), lines.end(), line); }

class Remapping : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallProgram(dir);
        ASSERT_TRUE(target.start(dir));
        // Registered under the path the system reports, in the other letter case: the
        // program must compare paths ignoring case.
        targetPath = target.process.imagePath();
        ASSERT_FALSE(targetPath.empty());
        std::string otherCase = targetPath;
        for (char& c : otherCase) {
            const auto u = static_cast<unsigned char>(c);
            c = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
        }
        WriteBytes(dir.file("keycfg.ini"), Shortcuts(otherCase));
        WriteBytes(dir.file("property.ini"),
                   std::string("UseHotKey=") + (useHotKey ? "yes" : "no") + "\r\nHotKeyCode=2061\r\nTimer=100\r\n");
        shortcuts = ReadBytes(dir.file("keycfg.ini"));
        mainWindow = StartProgram(program, dir);
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(target.focus());
    }
    void TearDown() override { ExitProgram(program, mainWindow); }

    virtual std::string Shortcuts(const std::string& path)
    {
        return "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n"
               "327.send=74\r\n"  // Ctrl+G -> J
               "\r\n'" +
               path +
               "\r\nname=KeyTarget\r\n"
               "325.send=598,581,591\r\n"  // Ctrl+E -> Alt+V, Alt+E, Alt+O
               "327.send=72\r\n"           // Ctrl+G -> H, hidden by global
               "338.send=338,66\r\n"       // Ctrl+R -> Ctrl+R, B
               "\r\n";
    }

    // A dialog of the program, once shown.
    HWND WaitForDialog(const char* title)
    {
        HWND found = nullptr;
        PumpUntil([&] { return (found = FindTopWindow(program.id(), "#32770", title, true)) != nullptr; });
        return found;
    }

    bool useHotKey = false;
    TempDir dir;
    std::string targetPath, shortcuts;
    KeyTarget target;
    Process program;
    HWND mainWindow = nullptr;
};

TEST_F(Remapping, CtrlE_ReachesTheTargetAsAltVAltEAltOAndNoE)
{
    const Lines expected = {
        CtrlDown,
        // played in place of E
        CtrlUp,
        "WM_SYSKEYDOWN vk=0x12 shift=0 ctrl=0 alt=1 lwin=0 rwin=0",
        AltVDown,
        "WM_SYSKEYUP vk=0x56 shift=0 ctrl=0 alt=1 lwin=0 rwin=0",
        "WM_SYSKEYDOWN vk=0x45 shift=0 ctrl=0 alt=1 lwin=0 rwin=0",
        "WM_SYSKEYUP vk=0x45 shift=0 ctrl=0 alt=1 lwin=0 rwin=0",
        "WM_SYSKEYDOWN vk=0x4F shift=0 ctrl=0 alt=1 lwin=0 rwin=0",
        "WM_SYSKEYUP vk=0x4F shift=0 ctrl=0 alt=1 lwin=0 rwin=0",
        "WM_KEYDOWN vk=0x11 shift=0 ctrl=1 alt=1 lwin=0 rwin=0",
        "WM_KEYUP vk=0x12 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
        "WM_KEYUP vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
        // the user lets go: xdotool releases Ctrl first, then E
        CtrlUp,
        "WM_KEYUP vk=0x45 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    };
    const Lines seen = target.type(CtrlChord("e"), expected.size());
    EXPECT_EQ(seen, expected) << Dump(seen);
}

TEST_F(Remapping, GlobalActionWins_UnmatchedKeysPassUnchanged)
{
    struct Case {
        std::string keys;
        Lines expected;
    };
    const Case cases[] = {
        {CtrlChord("g"),
         {CtrlDown, CtrlUp, "WM_KEYDOWN vk=0x4A shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
          "WM_CHAR vk=0x6A shift=0 ctrl=0 alt=0 lwin=0 rwin=0", "WM_KEYUP vk=0x4A shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
          CtrlDown, "WM_KEYUP vk=0x47 shift=0 ctrl=1 alt=0 lwin=0 rwin=0", CtrlUp,
          "WM_KEYUP vk=0x47 shift=0 ctrl=0 alt=0 lwin=0 rwin=0"}},
        {"key a",
         {"WM_KEYDOWN vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0", "WM_CHAR vk=0x61 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
          "WM_KEYUP vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0"}},
        {CtrlChord("q"),
         {CtrlDown, "WM_KEYDOWN vk=0x51 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
          "WM_CHAR vk=0x11 shift=0 ctrl=1 alt=0 lwin=0 rwin=0", CtrlUp,
          "WM_KEYUP vk=0x51 shift=0 ctrl=0 alt=0 lwin=0 rwin=0"}},
    };
    for (const Case& c : cases) {
        const Lines seen = target.type(c.keys, c.expected.size());
        EXPECT_EQ(seen, c.expected) << c.keys << Dump(seen);
    }
}

TEST_F(Remapping, AfterAnAction_TheTargetsModifiersAreThoseHeld)
{
    // Ctrl stays down across the action and after it.
    Lines seen = target.type("keydown ctrl key e sleep 0.2", 13);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), "WM_KEYUP vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0") << Dump(seen);
    seen = target.type("keyup ctrl", 1);
    EXPECT_EQ(seen, Lines{CtrlUp}) << Dump(seen);

    // A second press while Ctrl is still held plays again and leaves Ctrl down. The next
    // action is taken only after the pause that follows one (100 ms here).
    seen = target.type("keydown ctrl key e sleep 0.3 key e sleep 0.3 keyup ctrl", 24);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), CtrlUp) << Dump(seen);
    EXPECT_EQ(Count(seen, AltVDown), 2) << Dump(seen);
    EXPECT_EQ(Count(seen, "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0"), 0) << Dump(seen);
}

TEST_F(Remapping, HeldTrigger_PlaysWhileItRepeatsAndNeverReachesTheTargetRaw)
{
    // X repeats the held G; with a pause of 100 ms between actions some repeats play and
    // the rest are swallowed, none passes.
    const Lines seen = target.type("keydown ctrl keydown g sleep 1.5 keyup g keyup ctrl", 1);
    const long plays = Count(seen, "WM_KEYDOWN vk=0x4A shift=0 ctrl=0 alt=0 lwin=0 rwin=0");
    std::printf("[ held     ] Ctrl+G held 1.5 s: J played %ld times\n", plays);
    EXPECT_GE(plays, 2) << Dump(seen);
    EXPECT_EQ(Count(seen, "WM_KEYDOWN vk=0x47 shift=0 ctrl=1 alt=0 lwin=0 rwin=0"), 0) << Dump(seen);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), CtrlUp) << Dump(seen);
}

TEST_F(Remapping, ActionThatSendsItsOwnInput_PlaysOncePerPressAndTheProgramStaysResponsive)
{
    for (int press = 0; press < 2; ++press) {
        const Lines seen = target.type(CtrlChord("r"), 10);
        EXPECT_EQ(Count(seen, "WM_KEYDOWN vk=0x52 shift=0 ctrl=1 alt=0 lwin=0 rwin=0"), 1) << Dump(seen);
        EXPECT_EQ(Count(seen, "WM_KEYDOWN vk=0x42 shift=0 ctrl=0 alt=0 lwin=0 rwin=0"), 1) << Dump(seen);
        EXPECT_EQ(seen.back(), "WM_KEYUP vk=0x52 shift=0 ctrl=0 alt=0 lwin=0 rwin=0") << Dump(seen);
    }
    DWORD_PTR reply = 0;
    EXPECT_TRUE(SendMessageTimeoutA(mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &reply));
    EXPECT_EQ(Count(target.type(CtrlChord("e"), 14), AltVDown), 1);
}

TEST_F(Remapping, MalformedKeyReports_AreAnsweredZeroAndRemappingGoesOn)
{
    std::uint32_t keyDown = 0x00120001;  // repeat 1, scan code of E
    struct Case {
        const char* what;
        ULONG_PTR vk;
        DWORD size;
        void* data;
    };
    // clang-format off
    const Case cases[] = {
        {"no bytes", 0x45, 0, &keyDown}, {"no data", 0x45, 4, nullptr}, {"key code past 255", 300, 4, &keyDown}};
    for (const Case& c : cases) {
        COPYDATASTRUCT report = {c.vk, c.size, c.data};
        DWORD_PTR reply = 99;
        ASSERT_TRUE(SendMessageTimeoutA(mainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&report),
                                        SMTO_ABORTIFHUNG, 2000, &reply)) << c.what;
        EXPECT_EQ(reply, 0u) << c.what;
    }
    // clang-format on
    EXPECT_TRUE(program.running());
    EXPECT_EQ(Count(target.type(CtrlChord("e"), 14), AltVDown), 1);
}

TEST_F(Remapping, ExitFromTrayMenu_RemovesIconAndHooksAndEndsWithZero)
{
    ASSERT_TRUE(TrayIconPresent(mainWindow, 1));
    ASSERT_TRUE(ClickTrayIcon());
    ASSERT_TRUE(PumpUntil([] { return FindTopWindow(0, "#32768", nullptr, true) != nullptr; }));
    ASSERT_TRUE(Xdotool("key x"));  // 終了(&X)
    DWORD exitCode = 99;
    ASSERT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(TrayIconPresent(mainWindow, 1));
    EXPECT_EQ(FindWindowA(HookContract::MainWindowClass, HookContract::MainWindowTitle), nullptr);

    ASSERT_TRUE(target.focus());
    const Lines seen = target.type(CtrlChord("e"), PlainCtrlE.size());
    EXPECT_EQ(seen, PlainCtrlE) << Dump(seen);
}

class HotKey : public Remapping {
protected:
    void SetUp() override
    {
        useHotKey = true;
        Remapping::SetUp();
    }
};

TEST_F(HotKey, WinEnter_OpensTheSettingsOnTheAppInFrontWithoutRemappingUntilClosed)
{
    ASSERT_TRUE(Xdotool("keydown super keydown Return sleep 0.2 keyup super keyup Return"));
    HWND settings = WaitForDialog("ショートカット設定");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(ControlText(settings, 1002), "KeyTarget");
    Snapshot("settings-by-hotkey");

    // While the window is open nothing is remapped; the window may cover the target's middle,
    // and focus() clicks its right edge.
    ASSERT_TRUE(target.focus());
    Lines seen = target.type(CtrlChord("e"), PlainCtrlE.size());
    EXPECT_EQ(seen, PlainCtrlE) << Dump(seen);

    PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(settings); }));
    EXPECT_EQ(ReadBytes(dir.file("keycfg.ini")), shortcuts);  // written back, unchanged
    ASSERT_TRUE(target.focus());
    EXPECT_EQ(Count(target.type(CtrlChord("e"), 14), AltVDown), 1);
}

class SettingsRoad : public HotKey {
protected:
    std::string Shortcuts(const std::string&) override { return "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n\r\n"; }

    // One output key through the output key dialog, which the editor opens for 追加(&A).
    void AddOutput(HWND editor, unsigned vk)
    {
        Press(editor, 1014);
        HWND keyDialog = WaitForDialog("送信キー設定");
        ASSERT_NE(keyDialog, nullptr);
        ChooseKey(keyDialog, vk);
        Press(keyDialog, IDOK);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(keyDialog); }));
    }
};

TEST_F(SettingsRoad, HotkeyOpensTheTargetsEntry_NewActionCtrlQ_PlaysAThenB)
{
    ASSERT_TRUE(Xdotool("key super+Return"));
    HWND settings = WaitForDialog("ショートカット設定");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(ControlText(settings, 1002), "KeyTarget");
    EXPECT_EQ(ControlText(settings, 1004), targetPath);

    Press(settings, 5);  // 新規作成
    HWND editor = WaitForDialog("アクション設定");
    ASSERT_NE(editor, nullptr);
    SendDlgItemMessageA(editor, 1020, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("AとB"));
    SendDlgItemMessageA(editor, 1009, BM_SETCHECK, BST_CHECKED, 0);
    Press(editor, 1009);
    ChooseKey(editor, 'Q');
    // Each key goes in front of the selected row: B first, then A before it.
    AddOutput(editor, 'B');
    AddOutput(editor, 'A');
    Press(editor, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(editor); }));
    Press(settings, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(settings); }));
    EXPECT_EQ(ReadBytes(dir.file("keycfg.ini")), "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n\r\n'" + targetPath +
                                                     "\r\nname=KeyTarget\r\n337.send=65,66\r\n337.name=AとB\r\n\r\n");

    // Where the user's own release of Ctrl and Q falls among the played keys depends on
    // timing between X and the hook, so only the played keys are compared as a sequence;
    // Q itself must never arrive pressed.
    ASSERT_TRUE(target.focus());
    const Lines seen = target.type("key ctrl+q", 12);
    Lines played;
    std::copy_if(seen.begin(), seen.end(), std::back_inserter(played), [](const std::string& line) {
        for (const char* key : {"vk=0x41 ", "vk=0x42 ", "vk=0x61 ", "vk=0x62 "}) {
            if (line.find(key) != std::string::npos) return true;
        }
        return false;
    });
    const Lines expected = {
        "WM_KEYDOWN vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_CHAR vk=0x61 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_KEYUP vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_KEYDOWN vk=0x42 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_CHAR vk=0x62 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_KEYUP vk=0x42 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    };
    EXPECT_EQ(played, expected) << Dump(seen);
    EXPECT_TRUE(std::none_of(seen.begin(), seen.end(), [](const std::string& line) {
        return line.rfind("WM_KEYDOWN vk=0x51 ", 0) == 0;
    })) << Dump(seen);
    ASSERT_FALSE(seen.empty());
    EXPECT_NE(seen.back().find("ctrl=0"), std::string::npos) << Dump(seen);
}

}  // namespace
