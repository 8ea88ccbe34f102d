// Start-up of the real program in a folder of its own: first run, a second copy, a missing
// hook library, a renamed program.
#include "contract/HookContract.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

using namespace wt;

namespace {

TEST(ShellStart, WritesMissingFilesLeavesExistingOnesAndStaysInTheTray)
{
    struct Case {
        const char* keycfg;  // written before start-up; null for none
        const char* property;
        const char* expectedKeycfg;
        const char* expectedProperty;
    };
    const Case cases[] = {
        {nullptr, nullptr, BuiltInKeycfg, DefaultPropertyIni},
        {"'global\r\nname=All\r\n321.send=66\r\n\r\n", "UseHotKey=no\r\nHotKeyCode=0\r\nTimer=250\r\n",
         "'global\r\nname=All\r\n321.send=66\r\n\r\n", "UseHotKey=no\r\nHotKeyCode=0\r\nTimer=250\r\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        InstallProgram(dir);
        if (c.keycfg != nullptr) WriteBytes(dir.file("keycfg.ini"), c.keycfg);
        if (c.property != nullptr) WriteBytes(dir.file("property.ini"), c.property);
        Process program;
        HWND window = StartProgram(program, dir);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ReadBytes(dir.file("keycfg.ini")), c.expectedKeycfg);
        EXPECT_EQ(ReadBytes(dir.file("property.ini")), c.expectedProperty);
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_TRUE(TrayIconPresent(window, 1));
        PumpFor(500);
        EXPECT_TRUE(program.running());
        ExitProgram(program, window);
    }
}

TEST(ShellStart, SecondCopy_ExitsWithZeroAndTheFirstOpensItsTrayMenu)
{
    TempDir dir;
    InstallProgram(dir);
    Process first;
    HWND window = StartProgram(first, dir);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(FindTopWindow(0, "#32768", nullptr, true), nullptr);

    Process second;
    ASSERT_TRUE(second.start(dir.file("varokint.exe"), dir.path()));
    DWORD exitCode = 99;
    ASSERT_TRUE(second.waitExit(DefaultWaitMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindTopWindow(0, HookContract::MainWindowClass), window);
    EXPECT_EQ(FindWindowExA(nullptr, window, HookContract::MainWindowClass, nullptr), nullptr);

    HWND menu = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (menu = FindTopWindow(first.id(), "#32768", nullptr, true)) != nullptr; }));
    // Opened at the bottom-right corner of the work area, growing up and to the left.
    RECT work = {}, at = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(menu, &at);
    EXPECT_LE(at.right, work.right);
    EXPECT_LE(at.bottom, work.bottom);
    EXPECT_GE(at.bottom, work.bottom - 8);
    // A click beside a menu closes it.
    ASSERT_TRUE(WaitForMenuLoop(first.id()));
    ASSERT_TRUE(Xdotool("mousemove 500 300 click 1"));
    EXPECT_TRUE(PumpUntil([] { return FindTopWindow(0, "#32768", nullptr, true) == nullptr; }));
    EXPECT_TRUE(first.running());
    ExitProgram(first, window);
}

TEST(ShellStart, MissingHookLibrary_ReportsBothFailuresAndExitsWithZero)
{
    TempDir dir;
    InstallProgram(dir, false);
    Process program;
    ASSERT_TRUE(program.start(dir.file("varokint.exe"), dir.path()));
    for (const auto& [caption, text] : MissingLibraryMessages) {
        const auto box = AnswerMessageBox(program.id());
        ASSERT_TRUE(box.has_value()) << text;
        EXPECT_EQ(box->caption, caption);
        EXPECT_EQ(box->text, text);
        EXPECT_EQ(box->style, static_cast<UINT>(MB_OK));
    }
    DWORD exitCode = 99;
    ASSERT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindWindowA(HookContract::MainWindowClass, HookContract::MainWindowTitle), nullptr);
}

// The library reports only to varokint.exe beside it: a renamed copy says so and leaves
// before it makes a window or sets a hook.
TEST(ShellStart, RenamedProgram_SaysTheLibraryWillNotReportToItAndExitsWithZero)
{
    TempDir dir;
    InstallProgram(dir);
    const std::string renamed = dir.file("varokint (2).exe");
    ASSERT_TRUE(MoveFileA(dir.file("varokint.exe").c_str(), renamed.c_str()));
    Process program;
    ASSERT_TRUE(program.start(renamed, dir.path()));
    PumpUntil([&] { return FindTopWindow(program.id(), "#32770", nullptr, true) != nullptr; });
    Snapshot("renamed-program");
    const std::string path = program.imagePath();
    const auto box = AnswerMessageBox(program.id());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "Varokinto");
    EXPECT_EQ(box->text, "このプログラムは次の名前で起動されました。\n" + path +
                             "\n\nvarokint.dll は、同じフォルダーにある varokint.exe にだけキーを知らせます。"
                             "この名前のままではキーの割り当てが働かないため、終了します。\n"
                             "ファイル名を varokint.exe に戻してから、もう一度起動してください。");
    // An icon of the box's own process cannot be told from here.
    EXPECT_EQ(box->style & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_NE(box->style & MB_ICONMASK, 0u);
    DWORD exitCode = 99;
    ASSERT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(FileExists(dir.file("keycfg.ini")));
}

}  // namespace
