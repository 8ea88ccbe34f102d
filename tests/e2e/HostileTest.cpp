// Programs of other people beside Varokinto, written to harm it: windows that pose as its main
// window, a main window that hangs, and a varokint.dll planted in the settings folder.
#include "contract/HookContract.h"
#include "tests/support/StandInWindow.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

const Lines PlainA = {"WM_KEYDOWN vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
                      "WM_CHAR vk=0x61 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
                      "WM_KEYUP vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0"};

long Count(const Lines& lines, const char* prefix)
{
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

// Wine keeps a running program's file from Windows calls; the host removes it.
bool RemoveRunningProgram(const std::string& path)
{
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::wstring wide(path.begin(), path.end());
    char* name = unixName != nullptr ? unixName(wide.c_str()) : nullptr;
    if (name == nullptr) return false;
    const int status = RunShell("rm -f '" + std::string(name) + "'", DefaultWaitMs);
    HeapFree(GetProcessHeap(), 0, name);
    return status == 0 && !FileExists(path);
}

// The windows that pose as Varokinto's: each a process of its own with the same class and
// title and no hooks, each answering as its name says. The logger is even called
// varokint.exe, from another folder.
struct Impostor {
    const char* name;
    const char* options;
};
// clang-format off
const Impostor ImpostorKinds[] = {
    {"varokint.exe", "--no-hooks"},                       // logs what it gets
    {"relay.exe", "--no-hooks --relay"},                  // passes each report on to the real window
    {"swallow.exe", "--no-hooks --swallow 0"},            // answers 1: every key would vanish
    {"slow.exe", "--no-hooks --delay 900"},               // answers just inside the time limit
};
// clang-format on

class Impostors : public ::testing::Test {
protected:
    TempDir programDir, impostorDir;
    KeyTarget target;
    Process program;
    HWND mainWindow = nullptr;
    std::vector<std::unique_ptr<HostProgram>> impostors;

    void SetUp() override
    {
        InstallProgram(programDir);
        ASSERT_TRUE(target.start(programDir));
        RemapCtrlEIn(target.process.imagePath());
        WriteBytes(programDir.file("property.ini"), "UseHotKey=no\r\nHotKeyCode=0\r\nTimer=100\r\n");
    }
    void TearDown() override
    {
        ExitProgram(program, mainWindow);
        impostors.clear();
    }

    void RemapCtrlEIn(const std::string& application)
    {
        WriteBytes(programDir.file("keycfg.ini"), "'global\r\nname=all\r\n\r\n'" + application +
                                                      "\r\nname=KeyTarget\r\n"
                                                      "325.send=598,581,591\r\n"  // Ctrl+E -> Alt+V, Alt+E, Alt+O
                                                      "\r\n");
    }
    void StartImpostors()
    {
        for (const Impostor& impostor : ImpostorKinds) {
            impostors.push_back(std::make_unique<HostProgram>());
            ASSERT_TRUE(impostors.back()->start(impostorDir, impostor.name, impostor.options, false)) << impostor.name;
        }
    }
    void StartVarokinto()
    {
        mainWindow = StartProgram(program, programDir);
        ASSERT_NE(mainWindow, nullptr) << "an impostor's window kept Varokinto from starting";
    }

    // Plain keys pass as typed, the action plays, and no impostor saw a report.
    void ExpectOnlyVarokintoGetsTheKeys()
    {
        ASSERT_TRUE(target.focus());
        EXPECT_EQ(target.type("key a", PlainA.size()), PlainA);
        const Lines seen = target.type("keydown ctrl keydown e sleep 0.2 keyup ctrl keyup e", 14);
        EXPECT_EQ(Count(seen, "WM_SYSKEYDOWN vk=0x56 "), 1) << Dump(seen);
        EXPECT_EQ(Count(seen, "WM_SYSKEYDOWN vk=0x45 "), 1) << Dump(seen);
        EXPECT_EQ(Count(seen, "WM_SYSKEYDOWN vk=0x4F "), 1) << Dump(seen);
        EXPECT_EQ(Count(seen, "WM_KEYDOWN vk=0x45 "), 0) << Dump(seen);
        for (size_t i = 0; i < impostors.size(); ++i) EXPECT_EQ(impostors[i]->reports(), Lines{}) << i;
    }
};

TEST_F(Impostors, MadeBeforeVarokintoStarts_GetNoReportAndKeepNothingFromIt)
{
    StartImpostors();
    StartVarokinto();
    ExpectOnlyVarokintoGetsTheKeys();
}

TEST_F(Impostors, MadeAfterVarokintoStarted_GetNoReportAndKeepNothingFromIt)
{
    StartVarokinto();
    StartImpostors();
    ExpectOnlyVarokintoGetsTheKeys();

    // A second copy still finds the running one behind the impostors, which sit above it in
    // the z-order: it opens that copy's tray menu and leaves.
    Process second;
    ASSERT_TRUE(second.start(programDir.file("varokint.exe"), programDir.path()));
    DWORD exitCode = 99;
    ASSERT_TRUE(second.waitExit(DefaultWaitMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(WaitForMenuLoop(program.id()));
    ASSERT_TRUE(Xdotool("mousemove 500 300 click 1"));
    EXPECT_TRUE(PumpUntil([] { return FindTopWindow(0, "#32768", nullptr, true) == nullptr; }));
}

// A program beside Varokinto takes the name under which Varokinto publishes its main window,
// and names its own window there: Varokinto runs all the same, found by the search.
TEST_F(Impostors, PublishedNameTakenFirst_VarokintoIsFoundAllTheSame)
{
    impostors.push_back(std::make_unique<HostProgram>());
    ASSERT_TRUE(impostors.back()->start(programDir, "squatter.exe", "--no-hooks --squat", false));
    StartVarokinto();
    ExpectOnlyVarokintoGetsTheKeys();
}

// A thousand windows of the main window's class and title, made by one program after
// Varokinto started and so above it in the z-order, and eight programs whose files are gone:
// an application started afterwards is remapped from its first key, and none of them gets a
// report.
TEST_F(Impostors, FloodAndVanishedProgramsMadeAfterVarokintoStarted_ANewApplicationIsRemappedAtOnce)
{
    TempDir laterDir;
    RemapCtrlEIn(laterDir.file("KeyTarget.exe"));
    StartVarokinto();
    impostors.push_back(std::make_unique<HostProgram>());
    ASSERT_TRUE(impostors.back()->start(impostorDir, "flood.exe", "--no-hooks --flood 1000", false));
    for (int i = 0; i < 8; ++i) {
        const std::string name = "vanished" + std::to_string(i) + ".exe";
        impostors.push_back(std::make_unique<HostProgram>());
        ASSERT_TRUE(impostors.back()->start(impostorDir, name, "--no-hooks", false)) << name;
        ASSERT_TRUE(RemoveRunningProgram(impostorDir.file(name))) << name;
    }
    KeyTarget later;
    ASSERT_TRUE(later.start(laterDir));
    ASSERT_TRUE(later.focus());

    const Lines seen = later.type("keydown ctrl keydown e sleep 0.2 keyup ctrl keyup e", 14);
    EXPECT_EQ(Count(seen, "WM_SYSKEYDOWN vk=0x56 "), 1) << Dump(seen);
    EXPECT_EQ(Count(seen, "WM_KEYDOWN vk=0x45 "), 0) << Dump(seen);
    for (const auto& impostor : impostors) EXPECT_EQ(impostor->reports(), Lines{});
}

// A main window that takes longer than the library waits: the typing application waits once,
// then its keys pass unreported for a while, then are reported again.
TEST(HungHost, CostsOneStallThenKeysFlow)
{
    TempDir dir;
    KeyTarget target;
    ASSERT_TRUE(target.start(dir));
    HostProgram host;
    ASSERT_TRUE(host.start(dir, HookContract::ProgramFileName, "--hang-once 1500"));
    ASSERT_TRUE(target.focus());
    PumpFor(200);

    const DWORD start = GetTickCount();
    const Lines seen = target.type("key --delay 150 a b c", 9);
    ASSERT_EQ(Count(seen, "WM_KEYDOWN "), 3) << Dump(seen);
    const DWORD took = GetTickCount() - start;
    // One wait of the library's second, not one per key event (six of them).
    EXPECT_LT(took, 2500u);
    EXPECT_EQ(host.reports(), Lines{"A down"});

    PumpFor(2200);  // the quiet time is over: keys are reported again, and answered at once
    host.clearReports();
    EXPECT_EQ(target.type("key d", 3).size(), 3u);
    EXPECT_EQ(host.reports(), (Lines{"D down", "D up"}));
}

// The current directory is the settings folder; a varokint.dll left there is never loaded,
// whether the real one is beside the program or missing.
TEST(PlantedLibrary, InTheSettingsFolder_IsNeverLoaded)
{
    TempDir settings;
    ASSERT_TRUE(CopyFileA(WinePath(VR_PLANTED_DLL).c_str(), settings.file("varokint.dll").c_str(), FALSE));
    // Settings of its own, so that no first-start help page is looked for in this folder.
    WriteBytes(settings.file("keycfg.ini"), "'global\r\nname=all\r\n\r\n");
    WriteBytes(settings.file("property.ini"), "UseHotKey=no\r\nHotKeyCode=0\r\nTimer=100\r\n");
    const auto planted = [&] {
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA(settings.file("planted-*.txt").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        FindClose(search);
        return true;
    };
    {
        TempDir programDir;
        InstallProgram(programDir);
        KeyTarget target;
        ASSERT_TRUE(target.start(programDir));
        Process program;
        ASSERT_TRUE(program.start(programDir.file("varokint.exe"), settings.path()));
        HWND window = nullptr;
        ASSERT_TRUE(PumpUntil(
            [&] { return (window = FindTopWindow(program.id(), HookContract::MainWindowClass)) != nullptr; }));
        ASSERT_TRUE(target.focus());
        EXPECT_EQ(target.type("key a", PlainA.size()), PlainA);
        ExitProgram(program, window);
        EXPECT_FALSE(planted());
    }
    {
        TempDir programDir;
        InstallProgram(programDir, false);
        Process program;
        ASSERT_TRUE(program.start(programDir.file("varokint.exe"), settings.path()));
        for (const auto& [caption, text] : MissingLibraryMessages) {
            const auto box = AnswerMessageBox(program.id());
            ASSERT_TRUE(box.has_value()) << text;
            EXPECT_EQ(box->caption, caption);
            EXPECT_EQ(box->text, text);
        }
        DWORD exitCode = 99;
        EXPECT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
        EXPECT_FALSE(planted());
    }
}

}  // namespace
