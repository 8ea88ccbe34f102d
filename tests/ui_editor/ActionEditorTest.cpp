// The action editor on the real SHORTCUT_LIST template: the output-key list, its buttons and
// keys, OK with the input-key check, and key recording with keys sent as the engine sends
// them; and the texts and picker arrangement of the three templates with the key picker.
#include "engine/KeyEngine.h"
#include "res/resource.h"
#include "tests/engine/StubKeySystem.h"
#include "tests/support/TestKeys.h"
#include "tests/support/DialogDriver.h"
#include "ui/ActionEditor.h"
#include "ui/KeyVocabulary.h"
#include "ui/OutputKeyDialog.h"
#include "ui/PropertyDialog.h"
#include "win32/Win32ModelSystem.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>

using namespace wt;

namespace {

using Codes = std::vector<int>;

// Hooks "install" and "remove" without touching the system.
class HookCountingSystem : public StubHooks {
public:
    HookId setHook(int, ProcId, ModuleId) override { return ++installed; }
    bool unhook(HookId) override { return ++removed > 0; }
    int installed = 0, removed = 0;
};

Codes OutputCodes(const Action& action)
{
    Codes codes;
    for (int i = 0; i < action.outputCount(); ++i) codes.push_back(action.outputAt(i).toCode());
    return codes;
}

HWND List(HWND editor) { return GetDlgItem(editor, IDC_OUTPUT_LIST); }

// Enabled states of Add, Delete, Edit, up and down, in that order, as "1"/"0".
std::string ButtonStates(HWND editor)
{
    std::string states;
    for (int id : {IDC_ADD_BUTTON, IDC_DELETE_BUTTON, IDC_EDIT_BUTTON, IDC_UP_BUTTON, IDC_DOWN_BUTTON})
        states += IsEnabled(editor, id) ? '1' : '0';
    return states;
}

// The output key dialog answered with a key position and flags (Alt, Shift), or cancelled.
DialogDriver::Step PickKey(int position, bool alt = false, bool shift = false, bool confirm = true)
{
    return [=](HWND keyDialog) {
        SelectComboIndex(keyDialog, IDC_KEY_COMBO, position);
        SetChecked(keyDialog, IDC_CHECK_ALT, alt);
        SetChecked(keyDialog, IDC_CHECK_SHIFT, shift);
        Click(keyDialog, confirm ? IDOK : IDCANCEL);
    };
}

class ActionEditorTest : public ::testing::Test {
protected:
    INT_PTR RunEditor(Action& action, DialogDriver::Step step, HWND owner = nullptr)
    {
        driver.OnNextDialog(std::move(step));
        return ActionEditor(action, engine, GetModuleHandleA(nullptr)).Run(owner);
    }

    Win32ModelSystem modelSystem;
    ShortcutTable table{modelSystem};
    Settings settings{modelSystem};
    StubKeySystem stubs;
    HookCountingSystem keySystem;
    KeyEngine engine{table, settings, {stubs, keySystem, stubs, stubs}};
    DialogDriver driver;
};

TEST_F(ActionEditorTest, Opening_ShowsNameInputKeyAndOutputRowsWithEndRow_CancelKeepsTheInputKey)
{
    Action action = MakeAction("テスト", Ctrl | 'E', {Ctrl, 'A', Ctrl | Shift | 37, 124, Ctrl | 124});
    Rows rows;
    std::string name, headers, states;
    int keyPosition = -1;
    bool ctrlTicked = false;
    std::vector<int> selected;
    const auto result = RunEditor(action, [&](HWND editor) {
        name = ControlText(editor, IDC_ACTION_NAME);
        keyPosition = ComboIndex(editor, IDC_KEY_COMBO);
        ctrlTicked = IsChecked(editor, IDC_CHECK_CTRL);
        rows = ListRows(List(editor));
        for (int i = 0; i < 2; ++i) {
            char text[64] = {};
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = text;
            column.cchTextMax = sizeof text;
            SendMessageA(List(editor), LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
            headers += std::string(text) + " " + std::to_string(column.cx) + "|";
        }
        selected = SelectedRows(List(editor));
        states = ButtonStates(editor);
        Snapshot("SHORTCUT_LIST");
        SelectComboIndex(editor, IDC_KEY_COMBO, 31);
        SetChecked(editor, IDC_CHECK_ALT, true);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ(0, result);
    EXPECT_EQ("テスト", name);
    EXPECT_EQ(34, keyPosition);  // E
    EXPECT_TRUE(ctrlTicked);
    EXPECT_EQ("シフトキー 100|キー 80|", headers);
    EXPECT_EQ((Rows{{"Ctrl", ""}, {"", "A"}, {"Ctrl + Shift + ", "←"}, {"", ""}, {"Ctrl", ""}, {"...", ""}}), rows);
    EXPECT_EQ(std::vector<int>{0}, selected);
    EXPECT_EQ("11101", states);
    EXPECT_EQ(Ctrl | 'E', action.input().toCode());

    Action empty("");
    RunEditor(empty, [&](HWND editor) {
        rows = ListRows(List(editor));
        selected = SelectedRows(List(editor));
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ((Rows{{"...", ""}}), rows);
    EXPECT_EQ(std::vector<int>{0}, selected);
}

TEST_F(ActionEditorTest, Add_InsertsBeforeSelectedKeyOrAtEndRow_NothingForEmptyOrCancelled)
{
    struct Case {
        int row;
        DialogDriver::Step pick;
        Codes expected;
    };
    // clang-format off
    const Case cases[] = {
        {2, PickKey(73, false, true), {'A', 'B', Shift | 112, 'C'}},  // Shift+F1 in front of key row 2
        {3, PickKey(73), {'A', 'B', 'C', 112}},                        // the end row appends
        {1, PickKey(0), {'A', 'B', 'C'}},                              // blank entry, no flag: nothing
        {1, PickKey(73, false, true, false), {'A', 'B', 'C'}},         // cancelled
    };
    // clang-format on
    for (const Case& c : cases) {
        Action action = MakeAction("テスト", 0, {'A', 'B', 'C'});
        std::vector<int> selected;
        RunEditor(action, [&](HWND editor) {
            SelectRows(List(editor), {c.row});
            driver.OnNextDialog(c.pick);
            Click(editor, IDC_ADD_BUTTON);
            selected = SelectedRows(List(editor));
            Click(editor, IDCANCEL);
        });
        EXPECT_EQ(c.expected, OutputCodes(action)) << "row " << c.row;
        EXPECT_EQ(std::vector<int>{c.row}, selected) << "row " << c.row;
    }
    EXPECT_EQ(0, driver.unexpectedDialogs());
}

TEST_F(ActionEditorTest, ButtonStates_FollowTheSelection)
{
    // Add, Delete, Edit, up, down.
    // clang-format off
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{}, "00000"},     {{0}, "11101"},    {{1}, "11111"},    {{2}, "11110"},
        {{3}, "10000"},    // the end row
        {{0, 2}, "01011"}, {{0, 1}, "01001"}, {{1, 2}, "01010"},
        {{0, 1, 2}, "01000"},  // packed: nothing can move
        {{2, 3}, "01010"},     // the end row never moves and is never moved past
    };
    // clang-format on
    Action action = MakeAction("テスト", 0, {'A', 'B', 'C'});
    std::vector<std::string> seen;
    RunEditor(action, [&](HWND editor) {
        for (const auto& c : cases) {
            SelectRows(List(editor), c.first);
            seen.push_back(ButtonStates(editor));
        }
        Click(editor, IDCANCEL);
    });
    ASSERT_EQ(std::size(cases), seen.size());
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(cases[i].second, seen[i]) << "case " << i;
}

TEST_F(ActionEditorTest, MoveUpAndDown_RowsZeroAndTwoOfThree_ByButtonAndAltArrow)
{
    enum How { Button, AltArrow, PlainArrow };
    struct Case {
        bool up;
        How how;
        Codes expected;
        std::vector<int> selected;
    };
    // clang-format off
    const Case cases[] = {
        {true, Button, {'A', 'C', 'B'}, {0, 1}},   {false, Button, {'B', 'A', 'C'}, {1, 2}},
        {true, AltArrow, {'A', 'C', 'B'}, {0, 1}}, {false, AltArrow, {'B', 'A', 'C'}, {1, 2}},
        {true, PlainArrow, {'A', 'B', 'C'}, {0, 2}},  // an arrow without Alt moves nothing
    };
    // clang-format on
    for (const Case& c : cases) {
        Action action = MakeAction("テスト", 0, {'A', 'B', 'C'});
        std::vector<int> selected;
        Rows rows;
        RunEditor(action, [&](HWND editor) {
            SelectRows(List(editor), {0, 2});
            if (c.how == Button)
                Click(editor, c.up ? IDC_UP_BUTTON : IDC_DOWN_BUTTON);
            else
                PressKey(List(editor), c.up ? VK_UP : VK_DOWN, false, c.how == AltArrow);
            selected = SelectedRows(List(editor));
            rows = ListRows(List(editor));
            Click(editor, IDCANCEL);
        });
        const std::string name = std::string(c.up ? "up" : "down") + " by " + std::to_string(c.how);
        EXPECT_EQ(c.expected, OutputCodes(action)) << name;
        if (c.how == PlainArrow) continue;  // the list itself moves its selection
        EXPECT_EQ(c.selected, selected) << name;
        ASSERT_EQ(4u, rows.size()) << name;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(KeyName(static_cast<unsigned>(c.expected[i])), rows[i].second) << name;
        EXPECT_EQ("...", rows[3].first) << name;
    }
}

TEST_F(ActionEditorTest, CtrlAThenDeleteKey_AsksAndLeavesOnlyTheEndRow)
{
    Action action = MakeAction("テスト", 0, {'A', 'B', 'C'});
    Rows rows;
    std::vector<int> selectedAfterCtrlA;
    std::string states;
    driver.AnswerNextMessageBox(IDOK);
    RunEditor(action, [&](HWND editor) {
        PressKey(List(editor), 'A', true);
        selectedAfterCtrlA = SelectedRows(List(editor));
        PressKey(List(editor), VK_DELETE);
        rows = ListRows(List(editor));
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

TEST_F(ActionEditorTest, Delete_CancelledKeepsKeys_ConfirmedRemovesOnlySelected_EndRowAloneAsksNothing)
{
    struct Case {
        std::vector<int> rows;
        bool byKey;
        int answer;
        Codes expected;
        size_t boxes;
    };
    const Case cases[] = {
        {{0, 2, 3}, false, IDCANCEL, {'A', 'B', 'C'}, 1},
        {{0, 2, 3}, false, IDOK, {'B'}, 2},
        {{3}, true, IDOK, {'A', 'B', 'C'}, 2},
    };
    for (const Case& c : cases) {
        Action action = MakeAction("テスト", 0, {'A', 'B', 'C'});
        driver.AnswerNextMessageBox(c.answer);
        RunEditor(action, [&](HWND editor) {
            SelectRows(List(editor), c.rows);
            if (c.byKey)
                PressKey(List(editor), VK_DELETE);
            else
                Click(editor, IDC_DELETE_BUTTON);
            Click(editor, IDCANCEL);
        });
        EXPECT_EQ(c.expected, OutputCodes(action)) << c.answer;
        EXPECT_EQ(c.boxes, driver.messageBoxes().size());
    }
}

TEST_F(ActionEditorTest, DoubleClick_OnEndRowAdds_OnKeyRowEdits)
{
    Action action = MakeAction("テスト", 0, {'A', 'B'});
    RunEditor(action, [&](HWND editor) {
        SelectRows(List(editor), {1});
        driver.OnNextDialog(PickKey(32, true));  // Alt+C
        DoubleClickRow(List(editor), 1);
        SelectRows(List(editor), {2});
        driver.OnNextDialog(PickKey(34));  // E
        DoubleClickRow(List(editor), 2);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ((Codes{'A', Alt | 'C', 'E'}), OutputCodes(action));
}

// Modifiers alone are refused too: such a trigger would fire on every press of Ctrl.
TEST_F(ActionEditorTest, OkWithEmptyInputKeyOrModifiersAlone_WarnsAndStaysOpen_ThenAcceptsAKey)
{
    Action action = MakeAction("テスト", 0, {'A'});
    std::vector<bool> openAfterWarning;
    const auto result = RunEditor(action, [&](HWND editor) {
        SetControlText(editor, IDC_ACTION_NAME, "新しい名前");
        Click(editor, IDOK);
        openAfterWarning.push_back(IsWindowVisible(editor) != FALSE);
        SetChecked(editor, IDC_CHECK_CTRL, true);
        Click(editor, IDOK);
        openAfterWarning.push_back(IsWindowVisible(editor) != FALSE);
        SelectComboIndex(editor, IDC_KEY_COMBO, 34);  // E
        Click(editor, IDOK);
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ((std::vector<bool>{true, true}), openAfterWarning);
    const char* const texts[] = {"入力キーが正しく入力されていません。正しく設定して下さい。",
                                 "入力キーのキーが選ばれていません。Ctrl などと組み合わせるキーを選んで下さい。"};
    ASSERT_EQ(2u, driver.messageBoxes().size());
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ("入力キーが不正です", driver.messageBoxes()[i].caption);
        EXPECT_EQ(texts[i], driver.messageBoxes()[i].text);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), driver.messageBoxes()[i].style);
    }
    EXPECT_EQ("新しい名前", action.name());
    EXPECT_EQ(Ctrl | 'E', action.input().toCode());
}

// Recording, with keys sent to the editor as the engine sends them.
// The record button's caption, which controls are enabled (those locked while recording,
// then the list and the record button) and whether the close item is greyed.
std::string RecordingState(HWND editor)
{
    std::string state = ControlText(editor, IDC_RECORD_BUTTON) + " ";
    for (int id : {IDC_ACTION_NAME, IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN, IDC_KEY_COMBO, IDOK,
                   IDCANCEL, IDC_ADD_BUTTON, IDC_DELETE_BUTTON, IDC_EDIT_BUTTON, IDC_UP_BUTTON, IDC_DOWN_BUTTON,
                   IDC_OUTPUT_LIST, IDC_RECORD_BUTTON})
        state += IsEnabled(editor, id) ? '1' : '0';
    const UINT close = GetMenuState(GetSystemMenu(editor, FALSE), SC_CLOSE, MF_BYCOMMAND);
    return state + ((close & MF_GRAYED) ? " close greyed" : "");
}

void SendRecordedKey(HWND editor, int code) { SendMessageA(editor, WM_KEY_RECORDED, static_cast<WPARAM>(code), 0); }

TEST_F(ActionEditorTest, RecordingOnEndRow_LocksTheDialog_AppendsKeys_StopRestores)
{
    Action action = MakeAction("テスト", 0, {'A'});
    std::string recording, after;
    bool open = false;
    int hooksWhileRecording = 0;
    Rows rowsRecording;
    std::vector<int> selectedAfter;
    const auto result = RunEditor(action, [&](HWND editor) {
        SelectRows(List(editor), {1});
        Click(editor, IDC_RECORD_BUTTON);
        recording = RecordingState(editor);
        hooksWhileRecording = keySystem.installed;
        Snapshot("SHORTCUT_LIST_recording");
        for (int i = 0; i < 3; ++i) SendRecordedKey(editor, Ctrl | 'C');
        // Enter and Esc reach the dialog as OK and Cancel even though those are disabled;
        // while recording they are only keys.
        SendMessageA(editor, WM_COMMAND, IDCANCEL, 0);
        SendMessageA(editor, WM_COMMAND, IDOK, 0);
        SendMessageA(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
        PumpFor(50);  // the close box's Cancel is posted
        open = IsWindowVisible(editor) != FALSE;
        rowsRecording = ListRows(List(editor));
        Click(editor, IDC_RECORD_BUTTON);
        after = RecordingState(editor);
        selectedAfter = SelectedRows(List(editor));
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ(0, result);
    EXPECT_EQ("---終了---(&K) 000000000000011 close greyed", recording);
    EXPECT_EQ(2, hooksWhileRecording);  // keyboard and message hook
    EXPECT_TRUE(open);
    EXPECT_EQ((Rows{{"", "A"}, {"Ctrl + ", "C"}, {"Ctrl + ", "C"}, {"Ctrl + ", "C"}, {"...", ""}}), rowsRecording);
    EXPECT_EQ((Codes{'A', Ctrl | 'C', Ctrl | 'C', Ctrl | 'C'}), OutputCodes(action));
    // Row 0 is selected again: Add, Delete, Edit and down come back with it, up stays off.
    EXPECT_EQ("記録開始(&K) 111111111110111", after);
    EXPECT_EQ(std::vector<int>{0}, selectedAfter);
    EXPECT_EQ(2, keySystem.removed);
    EXPECT_FALSE(engine.hooksInstalled());
    EXPECT_EQ(0, driver.dialogsLeftOpen());
}

TEST_F(ActionEditorTest, RecordingPastTheListsHeight_KeepsTheNewestKeyInView)
{
    Action action = MakeAction("テスト", 0, {});
    std::vector<int> outOfView;
    RunEditor(action, [&](HWND editor) {
        Click(editor, IDC_RECORD_BUTTON);
        for (int i = 0; i < 20; ++i) {
            SendRecordedKey(editor, 'A' + i);
            const auto top = SendMessageA(List(editor), LVM_GETTOPINDEX, 0, 0);
            const auto rows = SendMessageA(List(editor), LVM_GETCOUNTPERPAGE, 0, 0);
            if (i < top || i >= top + rows) outOfView.push_back(i);
        }
        Click(editor, IDC_RECORD_BUTTON);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ(20, action.outputCount());
    EXPECT_TRUE(outOfView.empty()) << outOfView.size() << " recorded keys out of view, first " << outOfView[0];
}

TEST_F(ActionEditorTest, RecordingOnKeyRow_InsertsInFrontOfItInOrder_IgnoringListKeysAndClicks)
{
    Action action = MakeAction("テスト", 0, {'A', 'B'});
    RunEditor(action, [&](HWND editor) {
        SelectRows(List(editor), {1});
        Click(editor, IDC_RECORD_BUTTON);
        // The list's own selection still works, and does not move the insertion point; its
        // keys and double clicks do nothing.
        SelectRows(List(editor), {0});
        SendRecordedKey(editor, 'C');
        SendRecordedKey(editor, Shift | Win | 'D');
        PressKey(List(editor), VK_UP, false, true);
        PressKey(List(editor), VK_DELETE);
        PressKey(List(editor), 'A', true);
        DoubleClickRow(List(editor), 1);
        Click(editor, IDC_RECORD_BUTTON);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ((Codes{'A', 'C', Shift | Win | 'D', 'B'}), OutputCodes(action));
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(0, driver.unexpectedDialogs());
}

TEST_F(ActionEditorTest, RecordingWithTwoRowsOrNoneSelected_DoesNotStart)
{
    for (const std::vector<int>& rows : {std::vector<int>{0, 1}, std::vector<int>{}}) {
        Action action = MakeAction("テスト", 0, {'A', 'B'});
        std::string caption;
        RunEditor(action, [&](HWND editor) {
            SelectRows(List(editor), rows);
            Click(editor, IDC_RECORD_BUTTON);
            caption = ControlText(editor, IDC_RECORD_BUTTON);
            SendRecordedKey(editor, 'C');
            Click(editor, IDCANCEL);
        });
        EXPECT_EQ("キー入力記録開始(&K)", caption);
        EXPECT_EQ((Codes{'A', 'B'}), OutputCodes(action));
    }
    EXPECT_EQ(0, keySystem.installed);
}

TEST_F(ActionEditorTest, OwnerDestroyedWhileRecording_StopsTheEngineRecording)
{
    Action action = MakeAction("テスト", 0, {});
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    RunEditor(
        action,
        [&](HWND editor) {
        Click(editor, IDC_RECORD_BUTTON);
        DestroyWindow(owner);
        },
        owner);
    EXPECT_EQ(2, keySystem.removed);
    EXPECT_FALSE(engine.hooksInstalled());
}

// Templates: captions, control texts, and the picker's controls laid out alike.
struct Seen {
    std::string caption;
    std::map<int, std::string> texts;
    std::vector<RECT> picker;  // 1009-1012 and 1002, relative to 1009, in pixels
};

DialogDriver::Step Inspect(Seen& seen, std::initializer_list<int> ids)
{
    return [&seen, ids](HWND dialog) {
        seen.caption = Text(dialog);
        for (int id : {IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN})
            seen.texts[id] = ControlText(dialog, id);
        for (int id : ids) seen.texts[id] = ControlText(dialog, id);
        RECT origin;
        GetWindowRect(Control(dialog, IDC_CHECK_CTRL), &origin);
        for (int id : {IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN, IDC_KEY_COMBO}) {
            RECT rect;
            GetWindowRect(Control(dialog, id), &rect);
            OffsetRect(&rect, -origin.left, -origin.top);
            seen.picker.push_back(rect);
        }
        Click(dialog, IDCANCEL);
    };
}

std::map<int, std::string> WithPicker(std::map<int, std::string> texts)
{
    texts.insert(
        {{IDC_CHECK_CTRL, "&Ctrl"}, {IDC_CHECK_ALT, "A&lt"}, {IDC_CHECK_SHIFT, "S&hift"}, {IDC_CHECK_WIN, "&Win"}});
    return texts;
}

// Pixel positions are rounded from dialog units per control, so offsets may differ by one
// pixel between templates; the hotkey dialog's drop-down also sits one dialog unit lower.
bool SameArrangement(const std::vector<RECT>& a, const std::vector<RECT>& b, int comboDrop)
{
    if (a.size() != 5 || b.size() != 5) return false;
    auto within = [](LONG x, LONG y, int slack) { return y - x >= -1 && y - x <= 1 + slack; };
    for (size_t i = 0; i < 5; ++i) {
        const int slack = i == 4 ? comboDrop : 0;
        if (!within(a[i].left, b[i].left, 0) || !within(a[i].right, b[i].right, 0) ||
            !within(a[i].top, b[i].top, slack) || !within(a[i].bottom, b[i].bottom, slack))
            return false;
    }
    return true;
}

TEST_F(ActionEditorTest, Templates_CaptionsTextsAndPickerArrangement)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    Seen keySet, editor, property;
    KeyStroke stroke;
    driver.OnNextDialog(Inspect(keySet, {IDOK, IDCANCEL}));
    OutputKeyDialog(stroke, instance).Run(nullptr);
    Action action("");
    RunEditor(action, Inspect(editor, {IDC_ADD_BUTTON, IDC_DELETE_BUTTON, IDC_EDIT_BUTTON, IDC_UP_BUTTON,
                                       IDC_DOWN_BUTTON, IDC_RECORD_BUTTON, IDOK, IDCANCEL, IDC_HELP_BUTTON}));
    driver.OnNextDialog(Inspect(property, {IDC_USE_HOTKEY, IDC_PLUS_STATIC, IDOK, IDCANCEL, IDC_HELP_BUTTON}));
    PropertyDialog(settings, instance).Run(nullptr);

    EXPECT_EQ("送信キー設定", keySet.caption);
    EXPECT_EQ(WithPicker({{IDOK, "OK"}, {IDCANCEL, "キャンセル"}}), keySet.texts);
    EXPECT_EQ("アクション設定", editor.caption);
    EXPECT_EQ(WithPicker({{IDC_ADD_BUTTON, "追加(&A)"},
                          {IDC_DELETE_BUTTON, "削除(&R)"},
                          {IDC_EDIT_BUTTON, "編集(&E)"},
                          {IDC_UP_BUTTON, "↑"},
                          {IDC_DOWN_BUTTON, "↓"},
                          {IDC_RECORD_BUTTON, "キー入力記録開始(&K)"},
                          {IDOK, "OK"},
                          {IDCANCEL, "ｷｬﾝｾﾙ"},
                          {IDC_HELP_BUTTON, "ﾍﾙﾌﾟ(&H)"}}),
              editor.texts);
    EXPECT_EQ("ホットキーの割り当て", property.caption);
    EXPECT_EQ(WithPicker({{IDC_USE_HOTKEY, "ホットキーを使用する(&K)"},
                          {IDC_PLUS_STATIC, "＋"},
                          {IDOK, "OK"},
                          {IDCANCEL, "ｷｬﾝｾﾙ"},
                          {IDC_HELP_BUTTON, "ヘルプ(&H)"}}),
              property.texts);
    EXPECT_TRUE(SameArrangement(keySet.picker, editor.picker, 0));
    EXPECT_TRUE(SameArrangement(keySet.picker, property.picker, 2));
    EXPECT_EQ(0, driver.unexpectedDialogs());
}

}  // namespace
