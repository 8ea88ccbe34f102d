// New, edit and delete of actions in the shortcut settings window, through the real action
// editor, with the duplicate-input loop that keeps the user's entries.
#include "tests/ui_settings/SettingsFixture.h"

namespace settingstest {
namespace {

constexpr char DuplicateText[] = "入力キーが他のアクションと重複しています。\n変更してください。";
constexpr char DuplicateCaption[] = "入力キー重複のお知らせ";

class ActionCommandTest : public SettingsWindowTest {
protected:
    void SetUp() override
    {
        SettingsWindowTest::SetUp();
        AddStandardEntries();
    }
    // Zeta, the notepad entry, is at table index 1; it opens selected when given its path.
    const AppEntry& zeta() { return *table.at(1); }
    HWND List(HWND window) { return Control(window, ShortcutSettingsDialog::ActionList); }
};

void ExpectDuplicateWarning(const CapturedMessageBox& box)
{
    EXPECT_EQ(box.text, DuplicateText);
    EXPECT_EQ(box.caption, DuplicateCaption);
    EXPECT_EQ(box.buttons(), static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST_F(ActionCommandTest, New_ThroughTheEditor_AppendsTheActionAndListsIt)
{
    EditorView opened;
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        Click(window, ShortcutSettingsDialog::NewButton);
        after = LookAtWindow(window);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) {
        opened = LookAtEditor(editor);
        EnterAction(editor, "終了", CtrlQ);
    });
    RunWindow(NotepadPath);
    EXPECT_EQ(opened.name, "");
    EXPECT_EQ(opened.keyPosition, 0);
    EXPECT_FALSE(opened.ctrl);
    EXPECT_EQ(opened.rows, 1);  // only the end row
    ASSERT_EQ(zeta().actionCount(), 3);
    EXPECT_EQ(zeta().actionAt(2).name(), "終了");
    EXPECT_EQ(zeta().actionAt(2).input().toCode(), CtrlQ);
    EXPECT_EQ(after.rows.back(), (std::pair<std::string, std::string>{"Ctrl + Q", "終了"}));
    EXPECT_EQ(after.selected, (std::vector<int>{0}));
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(ActionCommandTest, New_DuplicateInput_WarnsReopensWithUserEntriesAndCancelAddsNothing)
{
    EditorView reopened;
    driver.OnNextDialog([&](HWND window) {
        Click(window, ShortcutSettingsDialog::NewButton);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "重複", CtrlE); });
    driver.OnNextDialog([&](HWND editor) {
        reopened = LookAtEditor(editor);
        Click(editor, IDCANCEL);
    });
    RunWindow(NotepadPath);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    ExpectDuplicateWarning(driver.messageBoxes()[0]);
    EXPECT_EQ(reopened.name, "重複");
    EXPECT_TRUE(reopened.ctrl);
    EXPECT_FALSE(reopened.alt);
    EXPECT_EQ(reopened.keyPosition, ChoicePosition('E'));
    EXPECT_EQ(zeta().actionCount(), 2);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

TEST_F(ActionCommandTest, New_DuplicateThenAFreeKey_AddsTheCorrectedAction)
{
    driver.OnNextDialog([&](HWND window) {
        Click(window, ShortcutSettingsDialog::NewButton);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "two tries", CtrlE); });
    driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "two tries", CtrlQ); });
    RunWindow(NotepadPath);
    EXPECT_EQ(driver.messageBoxes().size(), 1u);
    ASSERT_EQ(zeta().actionCount(), 3);
    EXPECT_EQ(zeta().actionAt(2).input().toCode(), CtrlQ);
    // Input keys of other applications are not compared: Win+C belongs to global.
}

TEST_F(ActionCommandTest, New_InputKeyOfAnotherApplication_IsAccepted)
{
    driver.OnNextDialog([&](HWND window) {
        Click(window, ShortcutSettingsDialog::NewButton);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "global's key", WinC); });
    RunWindow(NotepadPath);
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(zeta().actionCount(), 3);
}

TEST_F(ActionCommandTest, Edit_KeepingItsOwnInputKey_ReplacesTheActionInPlace)
{
    EditorView opened;
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        SelectRows(List(window), {1});
        Click(window, ShortcutSettingsDialog::EditButton);
        after = LookAtWindow(window);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) {
        opened = LookAtEditor(editor);
        EnterAction(editor, "renamed", 0x131);
    });
    RunWindow(NotepadPath);
    EXPECT_EQ(opened.name, "");
    EXPECT_TRUE(opened.ctrl);
    EXPECT_EQ(opened.keyPosition, ChoicePosition('1'));
    EXPECT_TRUE(driver.messageBoxes().empty());
    ASSERT_EQ(zeta().actionCount(), 2);
    EXPECT_EQ(zeta().actionAt(1).name(), "renamed");
    EXPECT_EQ(zeta().actionAt(0).name(), "エクスプローラーバー");
    EXPECT_EQ(after.rows, (Rows{{"Ctrl + E", "エクスプローラーバー"}, {"Ctrl + 1", "renamed"}}));
    EXPECT_EQ(after.selected, (std::vector<int>{0}));
}

TEST_F(ActionCommandTest, Edit_InputKeyOfAnotherAction_RefusedThenCancelLeavesItUnchanged)
{
    EditorView reopened;
    driver.OnNextDialog([&](HWND window) {
        SelectRows(List(window), {1});
        DoubleClickRow(List(window), 1);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "clash", CtrlE); });
    driver.OnNextDialog([&](HWND editor) {
        reopened = LookAtEditor(editor);
        Click(editor, IDCANCEL);
    });
    RunWindow(NotepadPath);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    ExpectDuplicateWarning(driver.messageBoxes()[0]);
    EXPECT_EQ(reopened.name, "clash");
    EXPECT_EQ(reopened.keyPosition, ChoicePosition('E'));
    EXPECT_EQ(zeta().actionAt(1).name(), "");
    EXPECT_EQ(zeta().actionAt(1).input().toCode(), 0x131);
}

TEST_F(ActionCommandTest, Edit_KeepsTheOutputKeysTheEditorChanged)
{
    driver.OnNextDialog([&](HWND window) {
        Click(window, ShortcutSettingsDialog::EditButton);  // row 0 is selected on opening
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) {
        // Delete the first output key in the editor's list, then OK.
        SelectRows(Control(editor, IDC_OUTPUT_LIST), {0});
        Click(editor, IDC_DELETE_BUTTON);
        Click(editor, IDOK);
    });
    driver.AnswerNextMessageBox(IDOK);  // the editor's own confirmation
    RunWindow(NotepadPath);
    ASSERT_EQ(zeta().actionAt(0).outputCount(), 1);
    EXPECT_EQ(zeta().actionAt(0).outputAt(0).toCode(), 0x245);
}

TEST_F(ActionCommandTest, Delete_AsksAndRemovesOnlyOnOk)
{
    WindowView afterCancel, afterOk;
    driver.AnswerNextMessageBox(IDCANCEL);
    driver.AnswerNextMessageBox(IDOK);
    driver.OnNextDialog([&](HWND window) {
        SelectRows(List(window), {1});
        Click(window, ShortcutSettingsDialog::DeleteButton);
        afterCancel = LookAtWindow(window);
        Click(window, ShortcutSettingsDialog::DeleteButton);
        afterOk = LookAtWindow(window);
        Click(window, IDOK);
    });
    RunWindow(NotepadPath);
    ASSERT_EQ(driver.messageBoxes().size(), 2u);
    for (const CapturedMessageBox& box : driver.messageBoxes()) {
        EXPECT_EQ(box.text, "選択中のアクションを削除してよろしいですか？");
        EXPECT_EQ(box.caption, "削除の確認");
        EXPECT_EQ(box.buttons(), static_cast<UINT>(MB_OKCANCEL));
        EXPECT_EQ(box.icon(), static_cast<UINT>(MB_ICONQUESTION));
    }
    EXPECT_EQ(afterCancel.rows.size(), 2u);
    EXPECT_EQ(afterOk.rows, (Rows{{"Ctrl + E", "エクスプローラーバー"}}));
    EXPECT_EQ(afterOk.selected, (std::vector<int>{0}));
    ASSERT_EQ(zeta().actionCount(), 1);
}

TEST_F(ActionCommandTest, DeleteKeyInTheList_ActsLikeDelete)
{
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        PressKey(List(window), VK_DELETE);
        after = LookAtWindow(window);
        Click(window, IDOK);
    });
    RunWindow(NotepadPath);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, "削除の確認");
    EXPECT_EQ(after.rows, (Rows{{"Ctrl + 1", "(未入力)"}}));
}

TEST_F(ActionCommandTest, NoRowSelected_DeleteKeyAndDoubleClickDoNothing)
{
    WindowView view;
    driver.OnNextDialog([&](HWND window) {
        SelectRows(List(window), {});
        view = LookAtWindow(window);
        PressKey(List(window), VK_DELETE);
        DoubleClickRow(List(window), -1);
        Click(window, IDOK);
    });
    RunWindow(NotepadPath);
    EXPECT_TRUE(view.selected.empty());
    EXPECT_FALSE(view.editEnabled);
    EXPECT_FALSE(view.deleteEnabled);
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(driver.unexpectedDialogs(), 0);
    EXPECT_EQ(zeta().actionCount(), 2);
}

TEST_F(ActionCommandTest, LastActionDeleted_EditAndDeleteDisabledAndEntryPrunedOnClose)
{
    driver.OnNextDialog([&](HWND window) {
        SelectComboIndex(window, ShortcutSettingsDialog::AppCombo, 1);  // alpha, one action
        Click(window, ShortcutSettingsDialog::DeleteButton);
        EXPECT_FALSE(IsEnabled(window, ShortcutSettingsDialog::EditButton));
        EXPECT_FALSE(IsEnabled(window, ShortcutSettingsDialog::DeleteButton));
        Click(window, IDOK);
    });
    RunWindow();
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(table.findByName("alpha"), -1);
}

}  // namespace
}  // namespace settingstest
