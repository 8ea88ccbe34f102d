// The session ends (log off, shut down) while the settings window holds an edit: the
// edit is written as closing the window would write it, and the tray icon goes.
//
// wineboot --end-session ends every program of the prefix, so this runs in a Wine session
// of its own (see CMakeLists.txt).
#include "tests/support/ProgramDriver.h"
#include "ui/KeyVocabulary.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace wt;

namespace {

HWND WaitForDialog(DWORD processId, const char* title)
{
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindTopWindow(processId, "#32770", title, true)) != nullptr; });
    return found;
}

bool EndSession()
{
    Process wineboot;
    DWORD exitCode = 0;
    return wineboot.start("C:\\windows\\system32\\wineboot.exe", "", "--end-session") &&
           wineboot.waitExit(30000, exitCode);
}

TEST(EndSession, SettingsWindowWithANewAction_WritesItAndTheProgramEndsWithoutItsTrayIcon)
{
    TempDir dir;
    InstallProgram(dir);
    KeyTarget target;
    ASSERT_TRUE(target.start(dir));
    const std::string path = target.process.imagePath();
    WriteBytes(dir.file("keycfg.ini"), "'global\r\nname=all\r\n\r\n");
    WriteBytes(dir.file("property.ini"), DefaultPropertyIni);
    Process program;
    HWND mainWindow = StartProgram(program, dir);
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(target.focus());

    // Win+Enter registers the application in front; 新規作成 adds Ctrl+Q -> A to it.
    ASSERT_TRUE(Xdotool("keydown super keydown Return sleep 0.2 keyup super keyup Return"));
    HWND settings = WaitForDialog(program.id(), "ショートカット設定");
    ASSERT_NE(settings, nullptr);
    Press(settings, 5);
    HWND editor = WaitForDialog(program.id(), "アクション設定");
    ASSERT_NE(editor, nullptr);
    SendDlgItemMessageA(editor, 1020, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("新しい"));
    SendDlgItemMessageA(editor, 1009, BM_SETCHECK, BST_CHECKED, 0);
    Press(editor, 1009);
    ChooseKey(editor, 'Q');
    Press(editor, 1014);  // 追加(&A): the output key dialog
    HWND keyDialog = WaitForDialog(program.id(), "送信キー設定");
    ASSERT_NE(keyDialog, nullptr);
    ChooseKey(keyDialog, 'A');
    Press(keyDialog, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(keyDialog); }));
    Press(editor, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(editor); }));
    ASSERT_TRUE(IsWindowVisible(settings));
    EXPECT_EQ(ReadBytes(dir.file("keycfg.ini")), "'global\r\nname=all\r\n\r\n");  // not written yet

    ASSERT_TRUE(EndSession());
    DWORD exitCode = 99;
    EXPECT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
    EXPECT_EQ(ReadBytes(dir.file("keycfg.ini")),
              "'global\r\nname=all\r\n\r\n'" + path + "\r\nname=KeyTarget\r\n337.send=65\r\n337.name=新しい\r\n\r\n");
    EXPECT_FALSE(TrayIconPresent(mainWindow, 1));
    ExitProgram(program, mainWindow);
}

}  // namespace
