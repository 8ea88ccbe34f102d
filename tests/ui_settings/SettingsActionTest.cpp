// New, edit and delete of actions in the shortcut settings window, through the real action
// editor, with the duplicate-input loop that keeps the user's entries.
#include "tests/ui_settings/SettingsFixture.h"

namespace settingstest {
namespace {

class ActionCommandTest : public SettingsWindowTest {
protected:
    void SetUp() override
    {
        SettingsWindowTest::SetUp();
        AddStandardEntries();
    }
    // Zeta, the notepad entry, is at table index 1; it opens selected when given its path.
    const AppEntry& zeta() { return *table.at(1); }
    static HWND List(HWND window) { return Control(window, IDC_ACTION_LIST); }
    void ExpectDuplicateWarning()
    {
        ASSERT_EQ(driver.messageBoxes().size(), 1u);
        const CapturedMessageBox& box = driver.messageBoxes()[0];
        EXPECT_EQ(box.text, "入力キーが他のアクションと重複しています。\n変更してください。");
        EXPECT_EQ(box.caption, "入力キー重複のお知らせ");
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
};

TEST_F(ActionCommandTest, New_ThroughTheEditor_AppendsTheActionAndListsIt)
{
    std::string opened;
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        Click(window, IDC_NEW_ACTION);
        after = LookAtWindow(window);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) {
        opened = EditorView(editor);
        EnterAction(editor, "終了", Ctrl | 'Q');
    });
    RunWindow(NotepadPath);
    EXPECT_EQ(opened, "| |1");  // no name, no key, only the end row
    ASSERT_EQ(zeta().actionCount(), 3);
    EXPECT_EQ(zeta().actionAt(2).name(), "終了");
    EXPECT_EQ(zeta().actionAt(2).input().toCode(), Ctrl | 'Q');
    EXPECT_EQ(after.rows.back(), (std::pair<std::string, std::string>{"Ctrl + Q", "終了"}));
    EXPECT_EQ(after.selected, (std::vector<int>{0}));
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(ActionCommandTest, New_DuplicateThenAFreeKey_AddsTheCorrected_OtherApplicationsKeysAreFree)
{
    driver.OnNextDialog([&](HWND window) {
        Click(window, IDC_NEW_ACTION);
        Click(window, IDC_NEW_ACTION);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "two tries", Ctrl | 'E'); });
    driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "two tries", Ctrl | 'Q'); });
    driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "global's key", Win | 'C'); });
    RunWindow(NotepadPath);
    ExpectDuplicateWarning();
    ASSERT_EQ(zeta().actionCount(), 4);
    EXPECT_EQ(zeta().actionAt(2).input().toCode(), Ctrl | 'Q');
    EXPECT_EQ(zeta().actionAt(3).input().toCode(), Win | 'C');
}

TEST_F(ActionCommandTest, Edit_KeepingItsOwnInputKey_ReplacesTheActionInPlace)
{
    std::string opened;
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        SelectRows(List(window), {1});
        Click(window, IDC_EDIT_ACTION);
        after = LookAtWindow(window);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) {
        opened = EditorView(editor);
        EnterAction(editor, "renamed", Ctrl | '1');
    });
    RunWindow(NotepadPath);
    EXPECT_EQ(opened, "|Ctrl+1|1");
    EXPECT_TRUE(driver.messageBoxes().empty());
    ASSERT_EQ(zeta().actionCount(), 2);
    EXPECT_EQ(after.rows, (Rows{{"Ctrl + E", "エクスプローラーバー"}, {"Ctrl + 1", "renamed"}}));
    EXPECT_EQ(after.selected, (std::vector<int>{0}));
}

TEST_F(ActionCommandTest, DuplicateInputFromNewOrEdit_WarnsReopensWithUserEntries_CancelChangesNothing)
{
    for (bool edit : {false, true}) {
        std::string reopened;
        driver.OnNextDialog([&](HWND window) {
            if (edit) {
                SelectRows(List(window), {1});
                DoubleClickRow(List(window), 1);
            } else {
                Click(window, IDC_NEW_ACTION);
            }
            Click(window, IDOK);
        });
        driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "重複", Ctrl | 'E'); });
        driver.OnNextDialog([&](HWND editor) {
            reopened = EditorView(editor);
            Click(editor, IDCANCEL);
        });
        RunWindow(NotepadPath);
        ExpectDuplicateWarning();
        driver.ClearMessageBoxes();
        EXPECT_EQ(reopened, "重複|Ctrl+E|1") << edit;
        ASSERT_EQ(zeta().actionCount(), 2);
        EXPECT_EQ(zeta().actionAt(1).name(), "");
        EXPECT_EQ(zeta().actionAt(1).input().toCode(), Ctrl | '1');
    }
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

TEST_F(ActionCommandTest, Edit_KeepsTheOutputKeysTheEditorChanged)
{
    driver.OnNextDialog([&](HWND window) {
        Click(window, IDC_EDIT_ACTION);  // row 0 is selected on opening
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) {
        SelectRows(Control(editor, IDC_OUTPUT_LIST), {0});
        Click(editor, IDC_DELETE_BUTTON);
        Click(editor, IDOK);
    });
    driver.AnswerNextMessageBox(IDOK);  // the editor's own confirmation
    RunWindow(NotepadPath);
    ASSERT_EQ(zeta().actionAt(0).outputCount(), 1);
    EXPECT_EQ(zeta().actionAt(0).outputAt(0).toCode(), Alt | 'E');
}

TEST_F(ActionCommandTest, DeleteButtonAndKey_AskAndRemoveOnlyOnOk)
{
    WindowView afterCancel, afterOk, afterKey;
    driver.AnswerNextMessageBox(IDCANCEL);
    driver.AnswerNextMessageBox(IDOK);
    driver.AnswerNextMessageBox(IDOK);
    driver.OnNextDialog([&](HWND window) {
        SelectRows(List(window), {1});
        Click(window, IDC_DELETE_ACTION);
        afterCancel = LookAtWindow(window);
        Click(window, IDC_DELETE_ACTION);
        afterOk = LookAtWindow(window);
        PressKey(List(window), VK_DELETE);
        afterKey = LookAtWindow(window);
        Click(window, IDOK);
    });
    RunWindow(NotepadPath);
    ASSERT_EQ(driver.messageBoxes().size(), 3u);
    for (const CapturedMessageBox& box : driver.messageBoxes()) {
        EXPECT_EQ(box.text, "選択中のアクションを削除してよろしいですか？");
        EXPECT_EQ(box.caption, "削除の確認");
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
    }
    EXPECT_EQ(afterCancel.rows.size(), 2u);
    EXPECT_EQ(afterOk.rows, (Rows{{"Ctrl + E", "エクスプローラーバー"}}));
    EXPECT_EQ(afterOk.selected, (std::vector<int>{0}));
    // The last action gone: nothing to edit or delete, and the entry is pruned on closing.
    EXPECT_TRUE(afterKey.rows.empty());
    EXPECT_FALSE(afterKey.editEnabled || afterKey.deleteEnabled);
    EXPECT_EQ(table.findByName("Zeta"), -1);
}

// The message box hands the focus back to 削除, which the emptied list disables: the focus
// must move on to a control that takes keys, or Esc and Tab would do nothing.
TEST_F(ActionCommandTest, DeletingTheLastRowWithTheButton_LeavesTheFocusWhereKeysWork)
{
    std::vector<std::pair<int, bool>> focus;  // control id, enabled
    const auto lookAtFocus = [&] {
        focus.emplace_back(GetDlgCtrlID(GetFocus()), IsWindowEnabled(GetFocus()) != FALSE);
    };
    driver.AnswerNextMessageBox(IDOK);
    driver.AnswerNextMessageBox(IDOK);
    driver.OnNextDialog([&](HWND window) {
        SetFocus(Control(window, IDC_DELETE_ACTION));
        Click(window, IDC_DELETE_ACTION);
        lookAtFocus();
        Click(window, IDC_DELETE_ACTION);
        lookAtFocus();
        Click(window, IDOK);
    });
    RunWindow(NotepadPath);
    EXPECT_EQ(driver.messageBoxes().size(), 2u);
    EXPECT_EQ(focus, (std::vector<std::pair<int, bool>>{{IDC_DELETE_ACTION, true}, {IDC_NEW_ACTION, true}}));
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
    EXPECT_FALSE(view.editEnabled || view.deleteEnabled);
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(driver.unexpectedDialogs(), 0);
    EXPECT_EQ(zeta().actionCount(), 2);
}

}  // namespace
}  // namespace settingstest
