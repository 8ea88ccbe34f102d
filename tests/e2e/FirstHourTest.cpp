// What a user meets in the first hour on a real system, as far as Wine can show it: the
// icon comes back when the taskbar is created anew, a packaged application keeps its
// shortcuts when an update moves it into the next version's folder, and on a system of
// another code page the program says why its texts are garbled and runs on.
#include "app/StartupNotices.h"
#include "engine/HookContract.h"
#include "res/resource.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

constexpr UINT IconId = 1;
const char* const PlayedX = "WM_KEYDOWN vk=0x58 shift=0 ctrl=0 alt=0 lwin=0 rwin=0";
const char* const CtrlE = "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0";

long Count(const Lines& lines, const char* line) { return std::count(lines.begin(), lines.end(), line); }

Lines TypeCtrlE(KeyTarget& target)
{
    return target.type("keydown ctrl keydown e sleep 0.2 keyup ctrl keyup e", 5);
}

// Registered for an application: Ctrl+E plays X.
std::string Keycfg(const std::string& path) { return "'" + path + "\r\nname=T\r\n325.send=88\r\n\r\n"; }

struct RunningProgram {
    RunningProgram(const TempDir& dir, const std::string& keycfg)
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

TEST(FirstHour, TaskbarCreatedAnew_TheIconComesBackWithItsMenu_AndTheShortcutsWork)
{
    TempDir dir;
    KeyTarget target;
    ASSERT_TRUE(target.start(dir));
    RunningProgram program(dir, Keycfg(target.process.imagePath()));
    ASSERT_NE(program.mainWindow, nullptr);
    ASSERT_TRUE(TrayIconPresent(program.mainWindow, IconId));

    // What a restarted Explorer leaves: no icon, then its broadcast.
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = program.mainWindow;
    icon.uID = IconId;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_FALSE(TrayIconPresent(program.mainWindow, IconId));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 2000,
                        &ignored);
    EXPECT_TRUE(PumpUntil([&] { return TrayIconPresent(program.mainWindow, IconId); }));

    ASSERT_TRUE(ClickTrayIcon());
    EXPECT_TRUE(PumpUntil([&] { return FindTopWindow(program.process.id(), "#32768", nullptr, true) != nullptr; }));
    Snapshot("tray-menu-after-taskbar-created");
    ASSERT_TRUE(Xdotool("key Escape"));
    EXPECT_TRUE(PumpUntil([&] { return FindTopWindow(program.process.id(), "#32768", nullptr, true) == nullptr; }));

    ASSERT_TRUE(target.focus());
    const Lines seen = TypeCtrlE(target);
    EXPECT_EQ(Count(seen, PlayedX), 1) << Dump(seen);
    EXPECT_EQ(Count(seen, CtrlE), 0) << Dump(seen);
}

TEST(FirstHour, PackagedApplicationUpdated_KeepsItsShortcutsAndIsPreselected_OtherFoldersDoNot)
{
    TempDir dir;
    const std::string apps = dir.file("WindowsApps");
    const std::string updated = apps + "\\Vr.Target_1.1.0.0_x64__8wekyb3d8bbwe";
    const struct {
        std::string folder;
        bool plays;
    } cases[] = {
        {updated, true},
        {apps + "\\Vr.Other_1.0.0.0_x64__8wekyb3d8bbwe", false},
        {dir.file("Tools") + "\\Vr.Target_1.1.0.0_x64__8wekyb3d8bbwe", false},  // not under WindowsApps
    };
    for (const std::string& folder : {apps, dir.file("Tools")})
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    for (const auto& c : cases)
        ASSERT_TRUE(CreateDirectoryA(c.folder.c_str(), nullptr)) << c.folder;

    // Registered under the version before the update, spelled as the system reports paths.
    KeyTarget first;
    ASSERT_TRUE(first.start(updated, "KeyTarget.exe"));
    std::string registered = first.process.imagePath();
    const size_t version = registered.find("_1.1.0.0_");
    ASSERT_NE(version, std::string::npos) << registered;
    registered.replace(version, 9, "_1.0.0.0_");
    const std::string keycfg = Keycfg(registered);
    RunningProgram program(dir, keycfg);
    ASSERT_NE(program.mainWindow, nullptr);

    for (const auto& c : cases) {
        KeyTarget other;
        KeyTarget& target = c.folder == updated ? first : other;
        if (&target == &other) {
            ASSERT_TRUE(other.start(c.folder, "KeyTarget.exe")) << c.folder;
        }
        ASSERT_TRUE(target.focus()) << c.folder;
        const Lines seen = TypeCtrlE(target);
        EXPECT_EQ(Count(seen, PlayedX), c.plays ? 1 : 0) << c.folder << Dump(seen);
        EXPECT_EQ(Count(seen, CtrlE), c.plays ? 0 : 1) << c.folder << Dump(seen);
        if (!c.plays)
            continue;
        ASSERT_TRUE(Xdotool("keydown super keydown Return sleep 0.2 keyup super keyup Return"));
        HWND settings = nullptr;
        ASSERT_TRUE(PumpUntil([&] {
            return (settings = FindTopWindow(program.process.id(), "#32770", "ショートカット設定", true)) != nullptr;
        }));
        EXPECT_EQ(ControlText(settings, 1002), "T");  // the registered entry, no new one
        PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(settings); }));
    }
    EXPECT_EQ(ReadBytes(dir.file("keycfg.ini")), keycfg);  // the stored path keeps its bytes
}

// The notice's UTF-16 text as this test's code page (932) reads it from the box.
std::string InCodePage932(const wchar_t* text)
{
    char bytes[4096] = {};
    WideCharToMultiByte(932, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}

// A copy of the program started elsewhere than by a Process of this test, ended through its
// exit command or, failing that, by its id.
struct StartedProgram {
    ~StartedProgram()
    {
        HWND window = FindTopWindow(id, HookContract::MainWindowClass, HookContract::MainWindowTitle);
        const HANDLE process = id != 0 ? OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id) : nullptr;
        if (window != nullptr)
            PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
        if (process != nullptr) {
            if (WaitForSingleObject(process, DefaultWaitMs) != WAIT_OBJECT_0)
                TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
    DWORD id = 0;
};

TEST(FirstHour, AnotherCodePage_OneNoticeInUnicodeThenTheProgramRunsOn)
{
    TempDir dir;
    InstallProgram(dir);
    WriteBytes(dir.file("keycfg.ini"), "'global\r\nname=all\r\n\r\n");
    WriteBytes(dir.file("property.ini"), DefaultPropertyIni);
    // Wine takes a program's code page from the locale of the Unix process that starts it
    // (one it starts itself keeps ours, whatever its environment says): English gives 1252.
    const std::string folder = UnixPath(dir.path());
    ASSERT_FALSE(folder.empty());
    ASSERT_EQ(RunShell("(cd '" + folder + "' && LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 exec wine varokint.exe "
                       ">/dev/null 2>&1 &)", DefaultWaitMs), 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindTopWindow(0, "#32770", "Varokinto", true)) != nullptr; }, 20000));
    StartedProgram program;
    GetWindowThreadProcessId(box, &program.id);
    Snapshot("code-page-notice");
    const auto notice = AnswerMessageBox(program.id);
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->caption, "Varokinto");
    EXPECT_EQ(notice->text, InCodePage932(CodePageNoticeText));
    EXPECT_EQ(notice->buttons(), static_cast<UINT>(MB_OK));
    EXPECT_NE(notice->icon(), 0u);  // which one, the screenshot shows: another process's icon is no system one here

    HWND mainWindow = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
        return (mainWindow = FindTopWindow(program.id, HookContract::MainWindowClass, HookContract::MainWindowTitle)) !=
               nullptr;
    }));
    PumpFor(1000);
    EXPECT_EQ(FindTopWindow(program.id, "#32770", nullptr, true), nullptr);  // one notice only
    EXPECT_TRUE(TrayIconPresent(mainWindow, IconId));
}

}  // namespace
