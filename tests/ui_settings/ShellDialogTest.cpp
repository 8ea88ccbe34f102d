// The real program under Wine with its dialogs: one framed dialog at a time, brought back
// to the front by every road that would open another, the tray menu opening again after it
// was closed, and a pause after an action that ends when a dialog closes.
#include "res/resource.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

constexpr UINT WM_TRAYICON_NOTIFY = WM_APP + 100;
constexpr char SettingsTitle[] = "ショートカット設定";
const char* const AltVDown = "WM_SYSKEYDOWN vk=0x56 shift=0 ctrl=0 alt=1 lwin=0 rwin=0";
const char* const PlainEDown = "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0";
constexpr char CtrlE[] = "keydown ctrl keydown e sleep 0.2 keyup ctrl keyup e";

long Count(const Lines& lines, const char* line) { return std::count(lines.begin(), lines.end(), line); }

class ShellDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallProgram(dir);
        ASSERT_TRUE(target.start(dir));
        // Ctrl+E -> Alt+V, Alt+E, Alt+O in the key target.
        WriteBytes(dir.file("keycfg.ini"),
                   "'" + target.process.imagePath() + "\r\nname=KeyTarget\r\n325.send=598,581,591\r\n\r\n");
        WriteBytes(dir.file("property.ini"), "UseHotKey=no\r\nHotKeyCode=2061\r\nTimer=" + timer + "\r\n");
        mainWindow = StartProgram(program, dir);
        ASSERT_NE(mainWindow, nullptr);
    }
    void TearDown() override
    {
        CloseDialogs();
        ExitProgram(program, mainWindow);
    }

    std::vector<HWND> Dialogs() const
    {
        std::vector<HWND> found;
        for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (process == program.id() && IsWindowVisible(window) && std::string(name) == "#32770")
                found.push_back(window);
        }
        return found;
    }
    HWND WaitForDialog(const char* title)
    {
        HWND found = nullptr;
        PumpUntil([&] { return (found = FindTopWindow(program.id(), "#32770", title, true)) != nullptr; });
        return found;
    }
    void CloseDialogs()
    {
        for (HWND dialog : Dialogs()) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        PumpUntil([&] { return Dialogs().empty(); });
    }
    void Command(UINT id) { PostMessageA(mainWindow, WM_COMMAND, id, 0); }
    // The window that is active and holds the keyboard focus in the program's thread.
    static bool InFrontWithFocus(HWND dialog)
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        return GetForegroundWindow() == dialog && info.hwndActive == dialog &&
               (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus));
    }
    static std::string Where(HWND dialog)
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        char text[160];
        snprintf(text, sizeof text, " dialog %p foreground %p active %p focus %p", (void*)dialog,
                 (void*)GetForegroundWindow(), (void*)info.hwndActive, (void*)info.hwndFocus);
        return text;
    }
    static bool MenuOpen() { return FindTopWindow(0, "#32768", nullptr, true) != nullptr; }

    std::string timer = "100";
    TempDir dir;
    KeyTarget target;
    Process program;
    HWND mainWindow = nullptr;
};

TEST_F(ShellDialogs, SettingsTwice_OneWindow_NoActionUntilItCloses)
{
    Command(IDM_SHORTCUT_SETTINGS);
    Command(IDM_SHORTCUT_SETTINGS);
    HWND settings = WaitForDialog(SettingsTitle);
    ASSERT_NE(settings, nullptr);
    PumpFor(500);
    EXPECT_EQ(Dialogs(), std::vector<HWND>{settings});

    ASSERT_TRUE(target.focus());
    Lines seen = target.type(CtrlE, 5);
    EXPECT_EQ(Count(seen, AltVDown), 0) << Dump(seen);
    EXPECT_EQ(Count(seen, PlainEDown), 1) << Dump(seen);

    PostMessageA(settings, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return Dialogs().empty(); }));
    ASSERT_TRUE(target.focus());
    seen = target.type(CtrlE, 14);
    EXPECT_EQ(Count(seen, AltVDown), 1) << Dump(seen);
}

// The settings window goes behind the key target after a click on it; every road that
// would open a menu or another dialog brings it back with the keyboard in it.
TEST_F(ShellDialogs, WindowBehindAnother_EveryRoadBringsItBackWithTheFocus_NoMenuNoSecondDialog)
{
    Command(IDM_SHORTCUT_SETTINGS);
    HWND settings = WaitForDialog(SettingsTitle);
    ASSERT_NE(settings, nullptr);
    struct Road {
        const char* what;
        std::function<void()> take;
    };
    const Road roads[] = {
        {"second copy", [&] { PostMessageA(mainWindow, WM_TRAYICON_NOTIFY, 0xFFFFFFFF, WM_RBUTTONDOWN); }},
        {"tray click", [&] { ClickTrayIcon(); }},
        {"settings command", [&] { Command(IDM_SHORTCUT_SETTINGS); }},
        {"properties command", [&] { Command(IDM_PROPERTIES); }},
        {"about command", [&] { Command(IDM_ABOUT); }},
    };
    for (const Road& road : roads) {
        ASSERT_TRUE(target.focus()) << road.what;
        ASSERT_EQ(GetForegroundWindow(), target.window()) << road.what;
        road.take();
        EXPECT_TRUE(PumpUntil([&] { return InFrontWithFocus(settings); }, 3000)) << road.what << Where(settings);
        PumpFor(300);
        EXPECT_FALSE(MenuOpen()) << road.what;
        EXPECT_EQ(Dialogs(), std::vector<HWND>{settings}) << road.what;
    }
    Snapshot("SettingsBroughtBack");
}

TEST_F(ShellDialogs, TrayMenuClosedWithEscape_TheNextClickOpensItAgain)
{
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(ClickTrayIcon());
        ASSERT_TRUE(PumpUntil(&MenuOpen)) << round;
        Xdotool("key Escape");
        if (!PumpUntil([] { return !MenuOpen(); }, 2000)) {
            // The menu did not get the key; a click beside it closes it as well.
            Xdotool("mousemove 500 300 click 1");
            ASSERT_TRUE(PumpUntil([] { return !MenuOpen(); })) << round;
        }
    }
}

class LongPause : public ShellDialogs {
protected:
    LongPause() { timer = "3600000"; }
};

// An action starts an hour's pause; closing a framed dialog ends it, even unchanged.
TEST_F(LongPause, ClosingADialog_EndsThePauseAfterAnAction)
{
    ASSERT_TRUE(target.focus());
    Lines seen = target.type(CtrlE, 14);
    ASSERT_EQ(Count(seen, AltVDown), 1) << Dump(seen);
    seen = target.type(CtrlE, 5);
    ASSERT_EQ(Count(seen, AltVDown), 0) << "the pause holds the action back" << Dump(seen);

    Command(IDM_PROPERTIES);
    HWND properties = WaitForDialog("ホットキーの割り当て");
    ASSERT_NE(properties, nullptr);
    Snapshot("PROPERTY_in_program");
    PostMessageA(properties, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return Dialogs().empty(); }));

    ASSERT_TRUE(target.focus());
    seen = target.type(CtrlE, 14);
    EXPECT_EQ(Count(seen, AltVDown), 1) << Dump(seen);
}

}  // namespace
