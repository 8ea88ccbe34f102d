// Opening the shortcut settings window with and without a path, what it shows for an
// application, and pruning and saving when it closes.
#include "tests/ui_settings/SettingsFixture.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace settingstest {
namespace {

const Rows ZetaRows = {{"Ctrl + E", "エクスプローラーバー"}, {"Ctrl + 1", "(未入力)"}};

TEST_F(SettingsWindowTest, OpenedWithoutPath_FirstSortedItemSelectedFocusOnCombo)
{
    AddStandardEntries();
    WindowView view;
    std::string caption, widths;
    driver.OnNextDialog([&](HWND window) {
        caption = Text(window);
        view = LookAtWindow(window);
        for (int column = 0; column < 2; ++column)
            widths += std::to_string(SendDlgItemMessageA(window, IDC_ACTION_LIST, LVM_GETCOLUMNWIDTH, column, 0)) + "|";
        Snapshot("EditDialog");
        Click(window, IDOK);
    });
    EXPECT_EQ(RunWindow(), 0);
    EXPECT_EQ(caption, "ショートカット設定");
    EXPECT_EQ(widths, "100|150|");  // at 96 DPI
    EXPECT_EQ(view.comboItems, (std::vector<std::string>{"(全てのｱﾌﾟﾘｹｰｼｮﾝ)", "alpha", "Zeta"}));
    EXPECT_EQ(view.comboIndex, 0);
    EXPECT_EQ(view.focusId, IDC_APP_COMBO);
    // global: no path, no icon.
    EXPECT_EQ(view.path, "");
    EXPECT_FALSE(view.iconShown);
    EXPECT_EQ(view.rows, (Rows{{"Win + C", "コントロールパネル"}}));
    EXPECT_EQ(view.selected, (std::vector<int>{0}));
    EXPECT_TRUE(view.editEnabled && view.deleteEnabled);
    EXPECT_EQ(ReadBytes("keycfg.ini"), StandardFile);
}

TEST_F(SettingsWindowTest, OpenedWithRegisteredPathInOtherCase_SelectsItFocusOnListNoNewEntry)
{
    AddStandardEntries();
    const WindowView view = OpenAndLook("C:\\WINDOWS\\NOTEPAD.EXE");
    EXPECT_EQ(view.comboItems.size(), 3u);
    EXPECT_EQ(view.comboIndex, 2);
    EXPECT_EQ(view.focusId, IDC_ACTION_LIST);
    EXPECT_EQ(view.path, NotepadPath);
    EXPECT_TRUE(view.iconShown);
    EXPECT_EQ(view.rows, ZetaRows);
    EXPECT_EQ(view.selected, (std::vector<int>{0}));
    EXPECT_EQ(table.count(), 3);
}

TEST_F(SettingsWindowTest, OpenedWithUnregisteredPath_NewEntryShownThenRemovedOnClose)
{
    AddStandardEntries();
    WindowView view;
    int countWhileOpen = 0;
    driver.OnNextDialog([&](HWND window) {
        view = LookAtWindow(window);
        countWhileOpen = table.count();
        Click(window, IDOK);
    });
    RunWindow("C:\\Tools\\Foo.exe");
    EXPECT_EQ(countWhileOpen, 4);
    EXPECT_EQ(view.comboItems, (std::vector<std::string>{"(全てのｱﾌﾟﾘｹｰｼｮﾝ)", "alpha", "Foo", "Zeta"}));
    EXPECT_EQ(view.comboIndex, 2);
    EXPECT_EQ(view.path, "C:\\Tools\\Foo.exe");
    EXPECT_FALSE(view.iconShown);  // the file does not exist
    EXPECT_TRUE(view.rows.empty());
    EXPECT_FALSE(view.editEnabled || view.deleteEnabled);
    EXPECT_EQ(table.count(), 3);
    EXPECT_EQ(ReadBytes("keycfg.ini"), StandardFile);
}

TEST_F(SettingsWindowTest, SwitchingApplications_ShowsPathIconAndActionsOfEach_NoneForReservedEntries)
{
    AddStandardEntries();
    table.add(AppEntry("edit", "編集"));
    WindowView zeta, alpha, edit;
    driver.OnNextDialog([&](HWND window) {
        SelectComboIndex(window, IDC_APP_COMBO, 2);
        zeta = LookAtWindow(window);
        SelectComboIndex(window, IDC_APP_COMBO, 1);
        alpha = LookAtWindow(window);
        SelectComboIndex(window, IDC_APP_COMBO, 3);
        edit = LookAtWindow(window);
        Click(window, IDOK);
    });
    RunWindow();
    EXPECT_EQ(zeta.path, NotepadPath);
    EXPECT_TRUE(zeta.iconShown);
    EXPECT_EQ(zeta.rows, ZetaRows);
    EXPECT_EQ(alpha.path, "C:\\Apps\\alpha.exe");
    EXPECT_FALSE(alpha.iconShown);
    EXPECT_EQ(alpha.rows, (Rows{{"Alt + 1", "one"}}));
    EXPECT_EQ(edit.comboItems.at(3), "編集");
    EXPECT_EQ(edit.path, "");
    EXPECT_FALSE(edit.iconShown);
}

// Each close command prunes entries without actions and writes the same file.
TEST_F(SettingsWindowTest, CloseButtonEscAndCloseBox_PruneEmptyEntriesAndSave)
{
    for (int how = 0; how < 3; ++how) {
        table.clear();
        table.add(AppEntry("C:\\Empty\\one.exe", "one"));
        AppEntry kept("C:\\Kept\\kept.exe", "kept");
        kept.addAction(MakeAction("AB", Ctrl | 'Q', {'A', 'B'}));
        table.add(kept);
        driver.OnNextDialog([&](HWND window) {
            if (how == 0) {
                Click(window, IDOK);
            } else if (how == 1) {
                PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                PostMessageA(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0010001);
            } else {
                SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            PumpUntil([&] { return !IsWindowVisible(window); }, 2000);
        });
        EXPECT_EQ(RunWindow(), 0) << how;
        EXPECT_EQ(table.count(), 1) << how;
        EXPECT_EQ(ReadBytes("keycfg.ini"), "'C:\\Kept\\kept.exe\r\nname=kept\r\n337.send=65,66\r\n337.name=AB\r\n\r\n")
            << how;
    }
    EXPECT_EQ(driver.dialogsLeftOpen(), 0);
}

// A save that fails asks: OK goes back to the window as the table now is, Cancel closes it
// unsaved; the end of the session closes it asking nothing. The file stays whole throughout.
TEST_F(SettingsWindowTest, SaveThatFails_OkBackToTheWindowCancelClosesTheEndOfTheSessionAsksNothing)
{
    AddStandardEntries();
    WriteBytes("keycfg.ini", "'old\r\n\r\n");
    CreateDirectoryA("keycfg.ini.tmp", nullptr);  // the temporary cannot be made
    WindowView back;
    std::string fileMeanwhile;
    driver.OnNextDialog([&](HWND window) {
        Click(window, IDOK);  // answered OK: back to the window
        back = LookAtWindow(window);
        fileMeanwhile = ReadBytes("keycfg.ini");
        RemoveDirectoryA("keycfg.ini.tmp");
        Click(window, IDOK);
    });
    RunWindow("C:\\Tools\\Foo.exe");  // an entry with no action: pruned at the first close
    EXPECT_EQ(back.comboItems, (std::vector<std::string>{"(全てのｱﾌﾟﾘｹｰｼｮﾝ)", "alpha", "Zeta"}));
    EXPECT_EQ(back.rows, (Rows{{"Win + C", "コントロールパネル"}}));
    EXPECT_EQ(fileMeanwhile, "'old\r\n\r\n");
    EXPECT_EQ(ReadBytes("keycfg.ini"), StandardFile);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, "Varokinto");
    EXPECT_EQ(
        driver.messageBoxes()[0].text,
        "ショートカットの設定を保存できませんでした。\n\nファイル: keycfg.ini\nフォルダー: " + dir.path() +
            "\n理由: アクセスが拒否されました。\n\n「OK」を押すと、ウインドウに戻ります。原因を取り除いてから、もう一度"
            "閉じてください。\n「キャンセル」を押すと、保存せずに閉じます。変更は Varokinto を終了するまで有効で、終了"
            "すると失われます。");
    EXPECT_EQ(driver.messageBoxes()[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));

    CreateDirectoryA("keycfg.ini.tmp", nullptr);
    table.at(0)->setName("changed");
    driver.AnswerNextMessageBox(IDCANCEL);
    driver.OnNextDialog([&](HWND window) { Click(window, IDOK); });
    RunWindow();
    ShortcutSettingsDialog ending(table, engine, GetModuleHandleA(nullptr), "");
    driver.OnNextDialog([&](HWND) { ending.CloseAtEndOfSession(); });
    ending.Run(nullptr);
    EXPECT_EQ(driver.messageBoxes().size(), 2u);
    EXPECT_EQ(ReadBytes("keycfg.ini"), StandardFile);
    EXPECT_EQ(driver.dialogsLeftOpen(), 0);
    RemoveDirectoryA("keycfg.ini.tmp");
}

TEST_F(SettingsWindowTest, EmptyTable_ActionCommandsAndChangeDoNothing)
{
    WindowView view;
    driver.OnNextDialog([&](HWND window) {
        Click(window, IDC_NEW_ACTION);
        Click(window, IDC_CHANGE_APP);
        SendMessageA(window, WM_COMMAND, IDC_EDIT_ACTION, 0);
        SendMessageA(window, WM_COMMAND, IDC_DELETE_ACTION, 0);
        view = LookAtWindow(window);
        Click(window, IDOK);
    });
    EXPECT_EQ(RunWindow(), 0);
    EXPECT_EQ(driver.unexpectedDialogs(), 0);
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_TRUE(view.comboItems.empty());
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(ReadBytes("keycfg.ini"), "");
}

// A long list is completed while the window is on screen; whoever looks at it meets all of
// it, in order, with the chosen application selected.
TEST_F(SettingsWindowTest, LongList_WholeAndInOrderWhenLookedAt)
{
    constexpr int Apps = 3000;
    std::vector<std::string> expected;
    for (int i = 0; i < Apps; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "app%05d", (i * 7919) % Apps);
        AppEntry entry("C:\\Apps\\" + std::to_string(i) + ".exe", name);
        entry.addAction(MakeAction("", Ctrl | 'E', {'A'}));
        table.add(entry);
        expected.push_back(name);
    }
    std::sort(expected.begin(), expected.end());
    const WindowView fromTray = OpenAndLook();
    EXPECT_EQ(fromTray.comboItems, expected);
    EXPECT_EQ(fromTray.comboIndex, 0);
    const WindowView fromHotkey = OpenAndLook("C:\\Apps\\1.exe");  // app07919 % 3000 = app01919
    EXPECT_EQ(fromHotkey.comboItems, expected);
    EXPECT_EQ(fromHotkey.comboIndex, 1919);
    EXPECT_EQ(fromHotkey.path, "C:\\Apps\\1.exe");
}

}  // namespace
}  // namespace settingstest
