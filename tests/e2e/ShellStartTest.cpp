// Start-up of the real program in a folder of its own: first run, a second copy, a missing
// hook library.
#include "tests/e2e/E2ESupport.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

constexpr char BuiltInShortcuts[] =
    "'global\r\n"
    "name=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n"
    "2115.send=2048,83,67\r\n"
    "2115.name=コントロールパネル\r\n"
    "\r\n"
    "'C:\\windows\\explorer.exe\r\n"
    "name=エクスプローラー\r\n"
    "325.send=598,581,591\r\n"
    "325.name=エクスプローラーバー\r\n"
    "305.send=598,583\r\n"
    "305.name=大きいアイコン\r\n"
    "306.send=598,589\r\n"
    "306.name=小さいアイコン\r\n"
    "307.send=598,588\r\n"
    "307.name=一覧\r\n"
    "308.send=598,580\r\n"
    "308.name=詳細\r\n"
    "309.send=598,584\r\n"
    "309.name=縮小版\r\n"
    "\r\n";

constexpr char DefaultSettings[] = "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n";

int CountWindows(const char* className)
{
    int count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, className, nullptr)) {
        ++count;
    }
    return count;
}

TEST(ShellStart, FirstStart_WritesBuiltInSetAndDefaultsAndStaysInTray)
{
    TempDir dir;
    InstallProgram(dir);
    Process program;
    HWND window = StartProgram(program, dir);
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(ReadFileBytes(dir.file("keycfg.ini")), BuiltInShortcuts);
    EXPECT_EQ(ReadFileBytes(dir.file("property.ini")), DefaultSettings);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(TrayIconPresent(window, 1));
    Sleep(500);
    EXPECT_TRUE(program.running());
    ExitProgram(program, window);
}

TEST(ShellStart, ExistingFiles_AreReadAndLeftAsTheyWere)
{
    TempDir dir;
    InstallProgram(dir);
    const std::string shortcuts = "'global\r\nname=All\r\n321.send=66\r\n\r\n";
    const std::string settings = "UseHotKey=no\r\nHotKeyCode=0\r\nTimer=250\r\n";
    WriteFileBytes(dir.file("keycfg.ini"), shortcuts);
    WriteFileBytes(dir.file("property.ini"), settings);
    Process program;
    HWND window = StartProgram(program, dir);
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(ReadFileBytes(dir.file("keycfg.ini")), shortcuts);
    EXPECT_EQ(ReadFileBytes(dir.file("property.ini")), settings);
    ExitProgram(program, window);
}

TEST(ShellStart, SecondCopy_ExitsWithZeroAndTheFirstOpensItsTrayMenu)
{
    TempDir dir;
    InstallProgram(dir);
    Process first;
    HWND window = StartProgram(first, dir);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(FindOpenMenu(), nullptr);

    Process second;
    ASSERT_TRUE(second.start(dir.file("varokint.exe"), dir.path()));
    DWORD exitCode = 99;
    ASSERT_TRUE(second.waitExit(DefaultWaitMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(CountWindows("VRClass"), 1);

    HWND menu = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (menu = FindOpenMenu()) != nullptr; }));
    if (menu != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(menu, &owner);
        EXPECT_EQ(owner, first.id());
        // Opened at the bottom-right corner of the work area, growing up and to the left.
        RECT work = {}, at = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(menu, &at);
        EXPECT_LE(at.right, work.right);
        EXPECT_LE(at.bottom, work.bottom);
        EXPECT_GE(at.bottom, work.bottom - 8);
    }
    // A click beside a menu closes it.
    ASSERT_TRUE(RunX("xdotool mousemove 500 300 click 1"));
    EXPECT_TRUE(WaitUntil([] { return FindOpenMenu() == nullptr; }));
    EXPECT_TRUE(first.running());
    ExitProgram(first, window);
}

TEST(ShellStart, MissingHookLibrary_ReportsBothFailuresAndExitsWithZero)
{
    TempDir dir;
    InstallProgram(dir, false);
    Process program;
    ASSERT_TRUE(program.start(dir.file("varokint.exe"), dir.path()));

    auto hookFailure = AnswerMessageBox(program.id());
    ASSERT_TRUE(hookFailure.has_value());
    EXPECT_EQ(hookFailure->caption, "Error");
    EXPECT_EQ(hookFailure->text, "DLLファイルの読みとりに失敗");
    EXPECT_EQ(hookFailure->buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(hookFailure->hasIcon);

    auto startFailure = AnswerMessageBox(program.id());
    ASSERT_TRUE(startFailure.has_value());
    EXPECT_EQ(startFailure->caption, "Error!!!");
    EXPECT_EQ(startFailure->text, "初期化に失敗( -_-)\nアプリケーションを起動できません");
    EXPECT_EQ(startFailure->buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(startFailure->hasIcon);

    DWORD exitCode = 99;
    ASSERT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindWindowA("VRClass", "Varokinto"), nullptr);
}

} // namespace
