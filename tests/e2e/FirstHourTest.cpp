// The first hour under Wine: a packaged application keeps its shortcuts across an update, the
// icon comes back with a new taskbar, and another code page is told of at start-up.
#include "app/StartupNotices.h"
#include "contract/HookContract.h"
#include "res/resource.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace wt;

namespace {

// Ctrl+E typed into the target: 1 when the action played X in its place, 0 when it passed.
long PlaysX(KeyTarget& target)
{
    EXPECT_TRUE(target.focus());
    const std::vector<std::string> seen = target.type("keydown ctrl keydown e sleep 0.2 keyup ctrl keyup e", 5);
    return std::count(seen.begin(), seen.end(), "WM_KEYDOWN vk=0x58 shift=0 ctrl=0 alt=0 lwin=0 rwin=0");
}

TEST(FirstHour, UpdatedPackageKeepsItsShortcuts_RestartedTaskbarGetsTheIconAndMenuBack)
{
    TempDir dir;
    const std::string apps = dir.file("WindowsApps\\"), updated = apps + "Vr.T_1.1.0.0_x64__8wekyb3d8bbwe";
    // clang-format off
    const std::pair<std::string, long> cases[] = {
        {updated, 1}, {apps + "Vr.Other_1.0.0.0_x64__8wekyb3d8bbwe", 0}, {dir.file("Vr.T_1.1.0.0_x64__8wekyb3d8bbwe"), 0}};
    CreateDirectoryA(apps.c_str(), nullptr);
    for (const auto& [folder, plays] : cases)
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    KeyTarget first;
    ASSERT_TRUE(first.start(updated, "KeyTarget.exe"));
    std::string registered = first.process.imagePath();  // as the system spells it, before the update
    ASSERT_NE(registered.find("_1.1.0.0_"), std::string::npos) << registered;
    registered.replace(registered.find("_1.1.0.0_"), 9, "_1.0.0.0_");
    InstallProgram(dir);
    WriteBytes(dir.file("keycfg.ini"), "'" + registered + "\r\nname=T\r\n325.send=88\r\n\r\n");  // Ctrl+E -> X
    Process program;
    const HWND mainWindow = StartProgram(program, dir);
    const struct Exit { Process& program; HWND window; ~Exit() { ExitProgram(program, window); } } exit{program, mainWindow};
    for (const auto& [folder, plays] : cases) {
        KeyTarget other;
        KeyTarget& target = folder == updated ? first : other;
        ASSERT_TRUE(&target == &first || other.start(folder, "KeyTarget.exe")) << folder;
        EXPECT_EQ(PlaysX(target), plays) << folder;
    }
    // clang-format on
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE, icon.hWnd = mainWindow, icon.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));  // what a restarted Explorer leaves
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    EXPECT_TRUE(PumpUntil([&] { return TrayIconPresent(mainWindow, 1); }));
    ASSERT_TRUE(ClickTrayIcon());
    EXPECT_TRUE(PumpUntil([&] { return FindTopWindow(program.id(), "#32768", nullptr, true) != nullptr; }));
    ASSERT_TRUE(Xdotool("key Escape"));
    EXPECT_EQ(PlaysX(first), 1);
}

TEST(FirstHour, AnotherCodePage_OneNoticeInUnicodeThenTheProgramRunsOn)
{
    TempDir dir(true);
    InstallProgram(dir);
    // Wine takes a program's code page from the locale of the Unix process that starts it.
    ASSERT_EQ(RunShell("(LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 exec wine varokint.exe >/dev/null 2>&1 &)", 8000), 0);
    HWND box = nullptr, mainWindow = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindTopWindow(0, "#32770", "Varokinto", true)) != nullptr; }, 20000));
    DWORD id = 0;
    GetWindowThreadProcessId(box, &id);
    const auto notice = AnswerMessageBox(id);
    ASSERT_TRUE(notice.has_value());
    char expected[4096] = {};
    WideCharToMultiByte(932, 0, CodePageNoticeText, -1, expected, sizeof expected, nullptr, nullptr);
    EXPECT_EQ(notice->caption + "|" + notice->text + "|" + std::to_string(notice->buttons()),
              "Varokinto|" + std::string(expected) + "|0");
    EXPECT_TRUE(PumpUntil([&] { return (mainWindow = FindTopWindow(id, HookContract::MainWindowClass)) != nullptr; }));
    PumpFor(1000);
    EXPECT_EQ(FindTopWindow(id, "#32770", nullptr, true), nullptr);  // one notice, and the program runs on
    PostMessageA(mainWindow, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(mainWindow); }));
}

}  // namespace
