// Where the keyboard is after the program's windows close: the settings window opened by
// the hotkey over an application hands the foreground back to it, so the next key typed
// reaches that application without a click. The program adds no taskbar button of its
// own, and runs from a folder whose name goes beyond ASCII.
#include "tests/support/DialogDriver.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

const char SettingsTitle[] = "ショートカット設定";
const Lines PlainA = {
    "WM_KEYDOWN vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    "WM_CHAR vk=0x61 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    "WM_KEYUP vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
};

// The program in a folder with its files, ended through its exit command when it goes.
struct RunningProgram {
    explicit RunningProgram(const TempDir& dir, const std::string& keycfg)
    {
        InstallProgram(dir);
        WriteBytes(dir.file("keycfg.ini"), keycfg);
        WriteBytes(dir.file("property.ini"), DefaultPropertyIni);
        mainWindow = StartProgram(process, dir);
    }
    ~RunningProgram() { ExitProgram(process, mainWindow); }
    Process process;
    HWND mainWindow = nullptr;
};

TEST(Foreground, SettingsWindowOpenedByTheHotkey_GivesTheKeyboardBackWhenItCloses)
{
    TempDir dir;
    KeyTarget target;
    ASSERT_TRUE(target.start(dir));
    const std::string keycfg = "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n\r\n'" + target.process.imagePath() +
                               "\r\nname=KeyTarget\r\n325.send=88\r\n\r\n";
    RunningProgram program(dir, keycfg);
    ASSERT_NE(program.mainWindow, nullptr);
    ASSERT_TRUE(target.focus());

    ASSERT_TRUE(Xdotool("keydown super keydown Return sleep 0.2 keyup super keyup Return"));
    HWND settings = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (settings = FindTopWindow(program.process.id(), "#32770", SettingsTitle, true)) != nullptr; }));
    EXPECT_EQ(ControlText(settings, 1002), "KeyTarget");
    PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(settings); }));

    // No click: the key goes wherever the keyboard was left.
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == target.window(); }));
    target.newLines();
    const Lines seen = target.type("key a", PlainA.size());
    EXPECT_EQ(seen, PlainA) << Dump(seen);
    EXPECT_EQ(ReadBytes(dir.file("keycfg.ini")), keycfg);
}

// The buttons shown in the taskbar (Wine's taskbar makes each one a child button of it).
int TaskbarButtons()
{
    int count = 0;
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    for (HWND child = FindWindowExA(taskbar, nullptr, "Button", nullptr); child != nullptr;
         child = FindWindowExA(taskbar, child, "Button", nullptr)) {
        if (IsWindowVisible(child)) ++count;
    }
    return count;
}

TEST(Foreground, TheRunningProgram_HasNoTaskbarButton)
{
    // A program with a taskbar button brings the desktop up: the start button and its own.
    TempDir dir;
    KeyTarget target;
    ASSERT_TRUE(target.start(dir));
    ASSERT_TRUE(PumpUntil([] { return TaskbarButtons() >= 2; }));
    const int before = TaskbarButtons();
    RunningProgram program(dir, "'global\r\nname=all\r\n\r\n");
    ASSERT_NE(program.mainWindow, nullptr);
    PumpFor(1500);  // the taskbar updates its buttons a moment after a window is shown
    EXPECT_EQ(TaskbarButtons(), before);
    Snapshot("taskbar-with-program");
}

TEST(Foreground, ProgramAndTargetInAFolderWithAJapaneseName_StartAndPlayTheTargetsAction)
{
    TempDir dir(false, "-設定");
    KeyTarget target;
    ASSERT_TRUE(target.start(dir));
    const std::string path = target.process.imagePath();
    EXPECT_NE(path.find("\\vr-test-"), std::string::npos) << path;
    EXPECT_NE(path.find("-設定\\KeyTarget.exe"), std::string::npos) << path;
    RunningProgram program(dir, "'global\r\nname=all\r\n\r\n'" + path + "\r\nname=T\r\n325.send=88\r\n\r\n");
    ASSERT_NE(program.mainWindow, nullptr);
    ASSERT_TRUE(target.focus());
    const Lines seen = target.type("keydown ctrl keydown e sleep 0.2 keyup ctrl keyup e", 9);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "WM_KEYDOWN vk=0x58 shift=0 ctrl=0 alt=0 lwin=0 rwin=0"), 1)
        << Dump(seen);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0"), 0)
        << Dump(seen);
}

}  // namespace
