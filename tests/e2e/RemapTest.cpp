// Keys typed through X into the KeyTarget program while the real program runs: what the
// target receives, message by message, with the modifier state it sees.
#include "tests/e2e/E2ESupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>

using namespace e2e;

namespace {

using Lines = std::vector<std::string>;

// Ctrl+E, Ctrl+G and Ctrl+R with their modifier, as the target logs them around an action.
const char* const CtrlDown = "WM_KEYDOWN vk=0x11 shift=0 ctrl=1 alt=0 lwin=0 rwin=0";
const char* const CtrlUp = "WM_KEYUP vk=0x11 shift=0 ctrl=0 alt=0 lwin=0 rwin=0";

// Ctrl and a key the way a person types them: the key goes down while Ctrl is held, and
// both come up a moment later (Ctrl first, as xdotool's own "key ctrl+e" does). xdotool
// alone would let go within a few milliseconds, before the action has been played.
std::string CtrlChord(const char* key)
{
    return std::string("keydown ctrl keydown ") + key + " sleep 0.2 keyup ctrl keyup " + key;
}

class Remapping : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallProgram(dir);
        ASSERT_TRUE(CopyFileA(ProgramFile(VR_E2E_KEY_TARGET).c_str(), dir.file("KeyTarget.exe").c_str(), FALSE));
        logFile = dir.file("keys.log");
        ASSERT_TRUE(target.start(dir.file("KeyTarget.exe"), dir.path(), "\"" + logFile + "\""));
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(logFile).find("ready") == 0; }));
        targetWindow = FindProcessWindow(target.id(), "VRKeyTarget", "KeyTarget");
        ASSERT_NE(targetWindow, nullptr);

        // Registered under the path the system reports, in the other letter case: the
        // program must compare paths ignoring case.
        const std::string targetPath = ProcessImagePath(target.handle());
        ASSERT_FALSE(targetPath.empty());
        WriteFileBytes(dir.file("keycfg.ini"),
                       "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n"
                       "327.send=74\r\n"                      // Ctrl+G -> J
                       "\r\n'" + SwapLetterCase(targetPath) + "\r\nname=KeyTarget\r\n"
                       "325.send=598,581,591\r\n"             // Ctrl+E -> Alt+V, Alt+E, Alt+O
                       "327.send=72\r\n"                      // Ctrl+G -> H, hidden by global
                       "338.send=338,66\r\n"                  // Ctrl+R -> Ctrl+R, B
                       "\r\n");
        WriteFileBytes(dir.file("property.ini"),
                       std::string("UseHotKey=") + (useHotKey ? "yes" : "no") + "\r\nHotKeyCode=2061\r\nTimer=100\r\n");
        shortcuts = ReadFileBytes(dir.file("keycfg.ini"));
        mainWindow = StartProgram(program, dir);
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(ClickWindow(targetWindow));
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == targetWindow; }));
    }

    void TearDown() override { ExitProgram(program, mainWindow); }

    Lines ReadLog() const
    {
        Lines lines;
        std::istringstream in(ReadFileBytes(logFile));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (line != "ready") {
                lines.push_back(line);
            }
        }
        return lines;
    }

    // Types with xdotool and returns what the target logged for it: everything up to
    // `expected` lines, and anything that would still trickle in shortly after.
    Lines Type(const std::string& keys, size_t expected)
    {
        const size_t before = ReadLog().size();
        EXPECT_TRUE(RunX("xdotool " + keys));
        WaitUntil([&] { return ReadLog().size() >= before + expected; });
        Sleep(300);
        Lines all = ReadLog();
        return Lines(all.begin() + static_cast<long>(std::min(before, all.size())), all.end());
    }

    static std::string Dump(const Lines& lines)
    {
        std::string text;
        for (const auto& line : lines) {
            text += "\n  " + line;
        }
        return text;
    }

    bool useHotKey = false;
    TempDir dir;
    std::string logFile;
    std::string shortcuts;
    Process target;
    Process program;
    HWND targetWindow = nullptr;
    HWND mainWindow = nullptr;
};

TEST_F(Remapping, CtrlE_ReachesTheTargetAsAltVAltEAltOAndNoE)
{
    const Lines expected = {
        CtrlDown,
        // played in place of E
        CtrlUp,
        "WM_SYSKEYDOWN vk=0x12 shift=0 ctrl=0 alt=1 lwin=0 rwin=0",
        "WM_SYSKEYDOWN vk=0x56 shift=0 ctrl=0 alt=1 lwin=0 rwin=0",
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
    const Lines seen = Type(CtrlChord("e"), expected.size());
    EXPECT_EQ(seen, expected) << Dump(seen);
}


TEST_F(Remapping, GlobalAction_WinsOverTheApplicationsAction)
{
    const Lines expected = {
        CtrlDown,
        CtrlUp,
        "WM_KEYDOWN vk=0x4A shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_CHAR vk=0x6A shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_KEYUP vk=0x4A shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        CtrlDown,
        "WM_KEYUP vk=0x47 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
        CtrlUp,
        "WM_KEYUP vk=0x47 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    };
    const Lines seen = Type(CtrlChord("g"), expected.size());
    EXPECT_EQ(seen, expected) << Dump(seen);
}

TEST_F(Remapping, UnmatchedKeys_PassUnchanged)
{
    const Lines plain = {
        "WM_KEYDOWN vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_CHAR vk=0x61 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_KEYUP vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    };
    Lines seen = Type("key a", plain.size());
    EXPECT_EQ(seen, plain) << Dump(seen);

    const Lines withCtrl = {
        CtrlDown,
        "WM_KEYDOWN vk=0x51 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
        "WM_CHAR vk=0x11 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
        CtrlUp,
        "WM_KEYUP vk=0x51 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    };
    seen = Type(CtrlChord("q"), withCtrl.size());
    EXPECT_EQ(seen, withCtrl) << Dump(seen);
}

TEST_F(Remapping, AfterAnAction_TheTargetsModifiersAreThoseHeld)
{
    // Ctrl stays down across the action and after it.
    Lines seen = Type("keydown ctrl key e sleep 0.2", 13);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), "WM_KEYUP vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0") << Dump(seen);
    seen = Type("keyup ctrl", 1);
    EXPECT_EQ(seen, Lines{CtrlUp}) << Dump(seen);

    // A second press while Ctrl is still held plays again and leaves Ctrl down.
    // The next action is taken only after the pause that follows one (100 ms here).
    seen = Type("keydown ctrl key e sleep 0.3 key e sleep 0.3 keyup ctrl", 24);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), CtrlUp) << Dump(seen);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "WM_SYSKEYDOWN vk=0x56 shift=0 ctrl=0 alt=1 lwin=0 rwin=0"), 2)
        << Dump(seen);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0"), 0)
        << Dump(seen);
}

TEST_F(Remapping, ActionThatSendsItsOwnInput_PlaysOncePerPress)
{
    const char* const ownInput = "WM_KEYDOWN vk=0x52 shift=0 ctrl=1 alt=0 lwin=0 rwin=0";
    const char* const b = "WM_KEYDOWN vk=0x42 shift=0 ctrl=0 alt=0 lwin=0 rwin=0";
    for (int press = 0; press < 2; ++press) {
        const Lines seen = Type(CtrlChord("r"), 10);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), ownInput), 1) << Dump(seen);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), b), 1) << Dump(seen);
        EXPECT_EQ(seen.back(), "WM_KEYUP vk=0x52 shift=0 ctrl=0 alt=0 lwin=0 rwin=0") << Dump(seen);
    }
    DWORD_PTR reply = 0;
    EXPECT_TRUE(SendMessageTimeoutA(mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &reply));
    const Lines seen = Type(CtrlChord("e"), 14);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "WM_SYSKEYDOWN vk=0x56 shift=0 ctrl=0 alt=1 lwin=0 rwin=0"), 1)
        << Dump(seen);
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
    const Case cases[] = {
        {"no bytes", 0x45, 0, &keyDown},
        {"no data", 0x45, 4, nullptr},
        {"key code past 255", 300, 4, &keyDown},
    };
    for (const Case& c : cases) {
        COPYDATASTRUCT report = {c.vk, c.size, c.data};
        DWORD_PTR reply = 99;
        ASSERT_TRUE(SendMessageTimeoutA(mainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&report),
                                        SMTO_ABORTIFHUNG, 2000, &reply))
            << c.what;
        EXPECT_EQ(reply, 0u) << c.what;
    }
    EXPECT_TRUE(program.running());
    const Lines seen = Type(CtrlChord("e"), 14);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "WM_SYSKEYDOWN vk=0x4F shift=0 ctrl=0 alt=1 lwin=0 rwin=0"), 1)
        << Dump(seen);
}

TEST_F(Remapping, ExitFromTrayMenu_RemovesIconAndHooksAndEndsWithZero)
{
    ASSERT_TRUE(TrayIconPresent(mainWindow, 1));
    ASSERT_TRUE(ClickTrayIcon());
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindOpenMenu()) != nullptr; }));
    // Under Wine the keyboard does not reach a menu whose owner is a hidden window, so
    // the last item, 終了(&X), is clicked.
    RECT items = {};
    GetWindowRect(menu, &items);
    ASSERT_TRUE(RunX("xdotool mousemove " + std::to_string(items.left + 30) + " " + std::to_string(items.bottom - 10)
                     + " click 1"));

    DWORD exitCode = 99;
    ASSERT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(TrayIconPresent(mainWindow, 1));
    EXPECT_EQ(FindWindowA("VRClass", "Varokinto"), nullptr);

    ASSERT_TRUE(ClickWindow(targetWindow));
    const Lines plain = {
        CtrlDown,
        "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
        "WM_CHAR vk=0x05 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
        CtrlUp,
        "WM_KEYUP vk=0x45 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    };
    const Lines seen = Type(CtrlChord("e"), plain.size());
    EXPECT_EQ(seen, plain) << Dump(seen);
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
    const Lines plainCtrlE = {
        CtrlDown,
        "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
        "WM_CHAR vk=0x05 shift=0 ctrl=1 alt=0 lwin=0 rwin=0",
        CtrlUp,
        "WM_KEYUP vk=0x45 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    };
    ASSERT_TRUE(RunX("xdotool keydown super keydown Return sleep 0.2 keyup super keyup Return"));
    HWND settingsWindow = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (settingsWindow = FindProcessWindow(program.id(), "#32770", "ショートカット設定")) != nullptr
               && IsWindowVisible(settingsWindow);
    }));
    char selected[256] = {};
    GetDlgItemTextA(settingsWindow, 1002, selected, sizeof selected);
    EXPECT_STREQ(selected, "KeyTarget");

    // While the window is open nothing is remapped. The window may cover the middle of
    // the target, so the click goes to the target's right edge.
    RECT client = {};
    GetClientRect(targetWindow, &client);
    ASSERT_TRUE(ClickWindowAt(targetWindow, {client.right - 10, 20}));
    Lines seen = Type(CtrlChord("e"), plainCtrlE.size());
    EXPECT_EQ(seen, plainCtrlE) << Dump(seen);

    PostMessageA(settingsWindow, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(settingsWindow); }));
    // Closing writes the table back; nothing in it changed.
    EXPECT_EQ(ReadFileBytes(dir.file("keycfg.ini")), shortcuts);

    ASSERT_TRUE(ClickWindow(targetWindow));
    seen = Type(CtrlChord("e"), 14);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "WM_SYSKEYDOWN vk=0x56 shift=0 ctrl=0 alt=1 lwin=0 rwin=0"), 1)
        << Dump(seen);
}

} // namespace
