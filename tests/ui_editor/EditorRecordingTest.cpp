// Key recording in the action editor, with recorded keys sent to it as the engine sends
// them: the controls while recording, where keys go, and the way back.
#include "tests/ui_editor/EditorTestSupport.h"

#include <gtest/gtest.h>

using namespace dialogtest;
using namespace editortest;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;
using Codes = std::vector<int>;
constexpr int A = 65, B = 66, C = 67, D = 68;

class EditorRecordingTest : public ::testing::Test, public EditorFixture {};

constexpr int LockedWhileRecording[] = {
    IDC_ACTION_NAME, IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN, IDC_KEY_COMBO,
    IDOK, IDCANCEL, IDC_ADD_BUTTON, IDC_DELETE_BUTTON, IDC_EDIT_BUTTON, IDC_UP_BUTTON, IDC_DOWN_BUTTON};

std::string EnabledStates(HWND editor)
{
    std::string states;
    for (int id : LockedWhileRecording) states += IsEnabled(editor, id) ? '1' : '0';
    return states;
}

bool CloseItemGrayed(HWND editor)
{
    return (GetMenuState(GetSystemMenu(editor, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

void SendRecordedKey(HWND editor, int code) { SendMessageA(editor, WM_KEY_RECORDED, static_cast<WPARAM>(code), 0); }

}  // namespace

TEST_F(EditorRecordingTest, StartOnEndRow_LocksTheDialog_AppendsKeys_StopRestores)
{
    Action action = ActionWith({A});
    std::string captionRecording, captionAfter, statesRecording, statesAfter;
    bool grayedRecording = false, grayedAfter = true, listEnabled = false, recordEnabled = false;
    bool stillOpen = false;
    int hooksWhileRecording = 0;
    Rows rowsRecording;
    std::vector<int> selectedAfter;
    EXPECT_EQ(0, RunEditor(action, [&](HWND editor) {
        SelectRows(OutputList(editor), {1});
        Click(editor, IDC_RECORD_BUTTON);
        captionRecording = ControlText(editor, IDC_RECORD_BUTTON);
        statesRecording = EnabledStates(editor);
        grayedRecording = CloseItemGrayed(editor);
        listEnabled = IsEnabled(editor, IDC_OUTPUT_LIST);
        recordEnabled = IsEnabled(editor, IDC_RECORD_BUTTON);
        hooksWhileRecording = keySystem.installed;

        for (int i = 0; i < 3; ++i) SendRecordedKey(editor, Ctrl | C);
        // Enter and Esc reach the dialog as OK and Cancel even though those are disabled;
        // while recording they are only keys.
        SendMessageA(editor, WM_COMMAND, IDCANCEL, 0);
        SendMessageA(editor, WM_COMMAND, IDOK, 0);
        SendMessageA(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
        PumpMessagesFor(50);  // the close box's Cancel is posted
        stillOpen = IsWindowVisible(editor) != FALSE;
        rowsRecording = ListRows(editor);

        Click(editor, IDC_RECORD_BUTTON);
        captionAfter = ControlText(editor, IDC_RECORD_BUTTON);
        statesAfter = EnabledStates(editor);
        grayedAfter = CloseItemGrayed(editor);
        selectedAfter = SelectedRows(OutputList(editor));
        Click(editor, IDCANCEL);
    }));
    EXPECT_EQ("---終了---(&K)", captionRecording);
    EXPECT_EQ("0000000000000", statesRecording);
    EXPECT_TRUE(grayedRecording);
    EXPECT_TRUE(listEnabled);
    EXPECT_TRUE(recordEnabled);
    EXPECT_EQ(2, hooksWhileRecording);  // keyboard and message hook
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ((Rows{{"", "A"}, {"Ctrl + ", "C"}, {"Ctrl + ", "C"}, {"Ctrl + ", "C"}, {"...", ""}}),
              rowsRecording);
    EXPECT_EQ((Codes{A, Ctrl | C, Ctrl | C, Ctrl | C}), OutputCodes(action));

    EXPECT_EQ("記録開始(&K)", captionAfter);
    // Row 0 is selected again: Add, Delete, Edit and down come back with it, up stays off.
    EXPECT_EQ("1111111111101", statesAfter);
    EXPECT_FALSE(grayedAfter);
    EXPECT_EQ(std::vector<int>{0}, selectedAfter);
    EXPECT_EQ(2, keySystem.removed);
    EXPECT_FALSE(engine.hooksInstalled());
    EXPECT_EQ(0, driver.dialogsLeftOpen());
}

TEST_F(EditorRecordingTest, StartOnKeyRow_InsertsInFrontOfItInOrder)
{
    Action action = ActionWith({A, B});
    RunEditor(action, [&](HWND editor) {
        SelectRows(OutputList(editor), {1});
        Click(editor, IDC_RECORD_BUTTON);
        // The list's own selection still works, and does not move the insertion point.
        SelectRows(OutputList(editor), {0});
        SendRecordedKey(editor, C);
        SendRecordedKey(editor, Shift | Win | D);
        Click(editor, IDC_RECORD_BUTTON);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ((Codes{A, C, Shift | Win | D, B}), OutputCodes(action));
}

TEST_F(EditorRecordingTest, StartWithTwoRowsOrNoneSelected_DoesNothing)
{
    for (const std::vector<int>& rows : {std::vector<int>{0, 1}, std::vector<int>{}}) {
        Action action = ActionWith({A, B});
        std::string caption;
        RunEditor(action, [&](HWND editor) {
            SelectRows(OutputList(editor), rows);
            Click(editor, IDC_RECORD_BUTTON);
            caption = ControlText(editor, IDC_RECORD_BUTTON);
            SendRecordedKey(editor, C);
            Click(editor, IDCANCEL);
        });
        EXPECT_EQ("キー入力記録開始(&K)", caption);
        EXPECT_EQ((Codes{A, B}), OutputCodes(action));
    }
    EXPECT_EQ(0, keySystem.installed);
}

TEST_F(EditorRecordingTest, ListKeysAndDoubleClicksAreIgnoredWhileRecording)
{
    Action action = ActionWith({A, B, C});
    RunEditor(action, [&](HWND editor) {
        SelectRows(OutputList(editor), {2});
        Click(editor, IDC_RECORD_BUTTON);
        SelectRows(OutputList(editor), {0, 2});
        PressKey(OutputList(editor), VK_UP, false, true);
        PressKey(OutputList(editor), VK_DELETE);
        PressKey(OutputList(editor), 'A', true);
        DoubleClickRow(OutputList(editor), 1);
        Click(editor, IDC_RECORD_BUTTON);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ((Codes{A, B, C}), OutputCodes(action));
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(0, driver.unexpectedDialogs());
}

TEST_F(EditorRecordingTest, OwnerDestroyedWhileRecording_StopsTheEngineRecording)
{
    Action action = ActionWith({});
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    driver.OnNextDialog([&](HWND editor) {
        Click(editor, IDC_RECORD_BUTTON);
        DestroyWindow(owner);
    });
    ActionEditor(action, engine, GetModuleHandleA(nullptr)).Run(owner);
    EXPECT_EQ(2, keySystem.removed);
    EXPECT_FALSE(engine.hooksInstalled());
}
