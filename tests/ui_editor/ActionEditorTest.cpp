// The action editor on the real SHORTCUT_LIST template: the output-key list, its buttons and
// keys, and OK with the input-key check.
#include "tests/ui_editor/EditorTestSupport.h"
#include "ui/KeyVocabulary.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace dialogtest;
using namespace editortest;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;
using Codes = std::vector<int>;
constexpr int A = 65, B = 66, C = 67;

class ActionEditorTest : public ::testing::Test, public EditorFixture {};

}  // namespace

TEST_F(ActionEditorTest, Opening_ShowsNameInputKeyAndOutputRowsWithEndRow)
{
    Action action = ActionWith({Ctrl, A, Ctrl | Shift | 37, 187, Ctrl | 187}, Ctrl | 69);
    Rows rows;
    std::string name, headers, stateAtOpen;
    int widths[2] = {};
    int keyPosition = -1;
    bool ctrlTicked = false;
    std::vector<int> selected;
    EXPECT_EQ(0, RunEditor(action, [&](HWND editor) {
        name = ControlText(editor, IDC_ACTION_NAME);
        keyPosition = ComboIndex(editor, IDC_KEY_COMBO);
        ctrlTicked = IsChecked(editor, IDC_CHECK_CTRL);
        rows = ListRows(editor);
        HWND header = reinterpret_cast<HWND>(SendMessageA(OutputList(editor), LVM_GETHEADER, 0, 0));
        for (int i = 0; i < 2; ++i) {
            char text[64] = {};
            HDITEMA item = {};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            headers += std::string(text) + "|";
            widths[i] = static_cast<int>(SendMessageA(OutputList(editor), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
        }
        selected = SelectedRows(OutputList(editor));
        stateAtOpen = ButtonStates(editor);
        Click(editor, IDCANCEL);
    }));
    EXPECT_EQ("テスト", name);
    EXPECT_EQ(34, keyPosition);  // E
    EXPECT_TRUE(ctrlTicked);
    EXPECT_EQ("シフトキー|キー|", headers);
    EXPECT_EQ(100, widths[0]);
    EXPECT_EQ(80, widths[1]);
    EXPECT_EQ((Rows{{"Ctrl", ""},
                    {"", "A"},
                    {"Ctrl + Shift + ", "←"},
                    {"", ""},
                    {"Ctrl", ""},
                    {"...", ""}}),
              rows);
    EXPECT_EQ(std::vector<int>{0}, selected);
    EXPECT_EQ("11101", stateAtOpen);
}

TEST_F(ActionEditorTest, EmptyAction_OpensWithEndRowSelected_AddAppends)
{
    Action action("");
    Rows before, after;
    std::string statesBefore;
    std::vector<int> selectedAfter;
    driver.OnNextDialog([&](HWND editor) {
        before = ListRows(editor);
        statesBefore = ButtonStates(editor);
        driver.OnNextDialog([](HWND keyDialog) {
            SelectComboIndex(keyDialog, IDC_KEY_COMBO, 30);  // A
            Click(keyDialog, IDOK);
        });
        Click(editor, IDC_ADD_BUTTON);
        after = ListRows(editor);
        selectedAfter = SelectedRows(OutputList(editor));
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ(0, ActionEditor(action, engine, GetModuleHandleA(nullptr)).Run(nullptr));
    EXPECT_EQ((Rows{{"...", ""}}), before);
    EXPECT_EQ("10000", statesBefore);
    EXPECT_EQ((Rows{{"", "A"}, {"...", ""}}), after);
    EXPECT_EQ(std::vector<int>{0}, selectedAfter);
    EXPECT_EQ(Codes{A}, OutputCodes(action));
}

TEST_F(ActionEditorTest, Add_InsertsBeforeSelectedKeyOrAtEndRow_NothingForEmptyOrCancelled)
{
    struct Case { int row; bool confirm; int comboPosition; bool shift; Codes expected; int selectedAfter; };
    const Case cases[] = {
        {2, true, 73, true, {A, B, Shift | 112, C}, 2},  // Shift+F1 in front of key row 2
        {3, true, 73, false, {A, B, C, 112}, 3},         // the end row appends
        {1, true, 0, false, {A, B, C}, 1},               // blank entry, no flag: nothing
        {1, false, 73, true, {A, B, C}, 1},              // cancelled
    };
    for (const Case& c : cases) {
        Action action = ActionWith({A, B, C});
        std::vector<int> selected;
        RunEditor(action, [&](HWND editor) {
            SelectRows(OutputList(editor), {c.row});
            driver.OnNextDialog([&](HWND keyDialog) {
                SelectComboIndex(keyDialog, IDC_KEY_COMBO, c.comboPosition);
                SetChecked(keyDialog, IDC_CHECK_SHIFT, c.shift);
                Click(keyDialog, c.confirm ? IDOK : IDCANCEL);
            });
            Click(editor, IDC_ADD_BUTTON);
            selected = SelectedRows(OutputList(editor));
            Click(editor, IDCANCEL);
        });
        EXPECT_EQ(c.expected, OutputCodes(action)) << "row " << c.row;
        EXPECT_EQ(std::vector<int>{c.selectedAfter}, selected) << "row " << c.row;
    }
    EXPECT_EQ(0, driver.unexpectedDialogs());
}

TEST_F(ActionEditorTest, ButtonStates_FollowTheSelection)
{
    // Add, Delete, Edit, up, down.
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{}, "00000"},
        {{0}, "11101"},
        {{1}, "11111"},
        {{2}, "11110"},
        {{3}, "10000"},        // the end row
        {{0, 2}, "01011"},
        {{0, 1}, "01001"},
        {{1, 2}, "01010"},
        {{0, 1, 2}, "01000"},  // packed: nothing can move
        {{2, 3}, "01010"},     // the end row never moves and is never moved past
    };
    Action action = ActionWith({A, B, C});
    std::vector<std::string> seen;
    RunEditor(action, [&](HWND editor) {
        for (const auto& c : cases) {
            SelectRows(OutputList(editor), c.first);
            seen.push_back(ButtonStates(editor));
        }
        Click(editor, IDCANCEL);
    });
    ASSERT_EQ(std::size(cases), seen.size());
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(cases[i].second, seen[i]) << "case " << i;
}

TEST_F(ActionEditorTest, MoveUpAndDown_RowsZeroAndTwoOfThree)
{
    struct Case { bool up; bool byKey; Codes expected; std::vector<int> selected; };
    const Case cases[] = {
        {true, false, {A, C, B}, {0, 1}},
        {false, false, {B, A, C}, {1, 2}},
        {true, true, {A, C, B}, {0, 1}},
        {false, true, {B, A, C}, {1, 2}},
    };
    for (const Case& c : cases) {
        Action action = ActionWith({A, B, C});
        std::vector<int> selected;
        Rows rows;
        RunEditor(action, [&](HWND editor) {
            SelectRows(OutputList(editor), {0, 2});
            if (c.byKey) {
                PressKey(OutputList(editor), c.up ? VK_UP : VK_DOWN, false, true);
            } else {
                Click(editor, c.up ? IDC_UP_BUTTON : IDC_DOWN_BUTTON);
            }
            selected = SelectedRows(OutputList(editor));
            rows = ListRows(editor);
            Click(editor, IDCANCEL);
        });
        const std::string name = std::string(c.up ? "up" : "down") + (c.byKey ? " by Alt+arrow" : " by button");
        EXPECT_EQ(c.expected, OutputCodes(action)) << name;
        EXPECT_EQ(c.selected, selected) << name;
        ASSERT_EQ(4u, rows.size()) << name;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(KeyName(static_cast<unsigned>(c.expected[i])), rows[i].second) << name;
        EXPECT_EQ("...", rows[3].first) << name;
    }
}

TEST_F(ActionEditorTest, ArrowWithoutAlt_DoesNotMove)
{
    Action action = ActionWith({A, B, C});
    RunEditor(action, [&](HWND editor) {
        SelectRows(OutputList(editor), {2});
        PressKey(OutputList(editor), VK_UP);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ((Codes{A, B, C}), OutputCodes(action));
}

TEST_F(ActionEditorTest, CtrlAThenDeleteKey_AsksAndLeavesOnlyTheEndRow)
{
    Action action = ActionWith({A, B, C});
    Rows rows;
    std::vector<int> selectedAfterCtrlA;
    std::string states;
    driver.AnswerNextMessageBox(IDOK);
    RunEditor(action, [&](HWND editor) {
        PressKey(OutputList(editor), 'A', true);
        selectedAfterCtrlA = SelectedRows(OutputList(editor));
        PressKey(OutputList(editor), VK_DELETE);
        rows = ListRows(editor);
        states = ButtonStates(editor);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ((std::vector<int>{0, 1, 2}), selectedAfterCtrlA);
    EXPECT_EQ(Codes{}, OutputCodes(action));
    EXPECT_EQ((Rows{{"...", ""}}), rows);
    EXPECT_EQ("10000", states);  // the focused end row got selected
    ASSERT_EQ(1u, driver.messageBoxes().size());
    EXPECT_EQ("削除の確認", driver.messageBoxes()[0].caption);
    EXPECT_EQ("選択中のキーを削除してよろしいですか？", driver.messageBoxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION), driver.messageBoxes()[0].style);
}

TEST_F(ActionEditorTest, Delete_CancelledKeepsKeys_ConfirmedRemovesOnlySelected)
{
    for (int answer : {IDCANCEL, IDOK}) {
        Action action = ActionWith({A, B, C});
        driver.AnswerNextMessageBox(answer);
        RunEditor(action, [&](HWND editor) {
            SelectRows(OutputList(editor), {0, 2, 3});
            Click(editor, IDC_DELETE_BUTTON);
            Click(editor, IDCANCEL);
        });
        EXPECT_EQ(answer == IDOK ? Codes{B} : (Codes{A, B, C}), OutputCodes(action)) << answer;
    }
    EXPECT_EQ(2u, driver.messageBoxes().size());
}

TEST_F(ActionEditorTest, DeleteKeyWithNothingDeletable_AsksNothing)
{
    Action action = ActionWith({A});
    RunEditor(action, [&](HWND editor) {
        SelectRows(OutputList(editor), {1});
        PressKey(OutputList(editor), VK_DELETE);
        Click(editor, IDCANCEL);
    });
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(Codes{A}, OutputCodes(action));
}

TEST_F(ActionEditorTest, DoubleClick_OnEndRowAdds_OnKeyRowEdits)
{
    Action action = ActionWith({A, B});
    RunEditor(action, [&](HWND editor) {
        SelectRows(OutputList(editor), {1});
        driver.OnNextDialog([](HWND keyDialog) {
            SelectComboIndex(keyDialog, IDC_KEY_COMBO, 32);  // C
            SetChecked(keyDialog, IDC_CHECK_ALT, true);
            Click(keyDialog, IDOK);
        });
        DoubleClickRow(OutputList(editor), 1);
        SelectRows(OutputList(editor), {2});
        driver.OnNextDialog([](HWND keyDialog) {
            SelectComboIndex(keyDialog, IDC_KEY_COMBO, 34);  // E
            Click(keyDialog, IDOK);
        });
        DoubleClickRow(OutputList(editor), 2);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ((Codes{A, Alt | C, 69}), OutputCodes(action));
}

TEST_F(ActionEditorTest, EditOfKeyRow_ConfirmedWithEmptyChoiceLeavesTheKey)
{
    Action action = ActionWith({Ctrl | A});
    RunEditor(action, [&](HWND editor) {
        driver.OnNextDialog([](HWND keyDialog) {
            SelectComboIndex(keyDialog, IDC_KEY_COMBO, 0);
            SetChecked(keyDialog, IDC_CHECK_CTRL, false);
            Click(keyDialog, IDOK);
        });
        Click(editor, IDC_EDIT_BUTTON);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ(Codes{Ctrl | A}, OutputCodes(action));
}

TEST_F(ActionEditorTest, OkWithEmptyInputKey_WarnsAndStaysOpen_ThenAcceptsFlagsAlone)
{
    Action action = ActionWith({A});
    bool openAfterWarning = false;
    EXPECT_EQ(1, RunEditor(action, [&](HWND editor) {
        SetControlText(editor, IDC_ACTION_NAME, "新しい名前");
        Click(editor, IDOK);
        openAfterWarning = IsWindowVisible(editor) != FALSE;
        SetChecked(editor, IDC_CHECK_CTRL, true);
        Click(editor, IDOK);
    }));
    EXPECT_TRUE(openAfterWarning);
    ASSERT_EQ(1u, driver.messageBoxes().size());
    EXPECT_EQ("入力キーが不正です", driver.messageBoxes()[0].caption);
    EXPECT_EQ("入力キーが正しく入力されていません。正しく設定して下さい。", driver.messageBoxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), driver.messageBoxes()[0].style);
    EXPECT_EQ("新しい名前", action.name());
    EXPECT_EQ(Ctrl, action.input().toCode());
}

TEST_F(ActionEditorTest, Cancel_ReturnsZeroAndLeavesInputKey)
{
    Action action = ActionWith({A}, Ctrl | 69);
    EXPECT_EQ(0, RunEditor(action, [&](HWND editor) {
        SelectComboIndex(editor, IDC_KEY_COMBO, 31);
        SetChecked(editor, IDC_CHECK_ALT, true);
        Click(editor, IDCANCEL);
    }));
    EXPECT_EQ(Ctrl | 69, action.input().toCode());
}
