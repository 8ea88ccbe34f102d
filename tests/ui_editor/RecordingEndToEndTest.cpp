// Keys typed on the X display while the action editor is open, through the real hook
// library, the real engine and a main window that hands key reports to the engine as the
// shell does. varokint.dll sits next to this executable.
#include "app/Win32ModelSystem.h"
#include "engine/KeyEngine.h"
#include "engine/win32/Win32KeySystem.h"
#include "res/resource.h"
#include "tests/support/DialogTestSupport.h"
#include "ui/ActionEditor.h"

#include <gtest/gtest.h>

using namespace dialogtest;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;
constexpr DWORD CommandTimeoutMs = 10000;
constexpr DWORD KeyWaitMs = 3000;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* engine = reinterpret_cast<KeyEngine*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && engine != nullptr) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        return engine->OnKeyEvent(KeyReport{data->dwData, data->lpData, data->cbData}) ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The hidden "VRClass"/"Varokinto" window the hook library reports to; created after the
// engine, which learns its handle through the window's user data.
class FakeShell {
public:
    FakeShell()
    {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &MainWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VRClass";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "VRClass", "Varokinto", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        engine = std::make_unique<KeyEngine>(table, settings, reinterpret_cast<WindowId>(window), keySystem);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(engine.get()));
    }
    ~FakeShell()
    {
        engine->SetHooks(false);
        DestroyWindow(window);
        UnregisterClassA("VRClass", GetModuleHandleA(nullptr));
    }

    Win32ModelSystem modelSystem;
    ShortcutTable table{modelSystem};
    Settings settings{modelSystem};
    Win32KeySystem keySystem{GetModuleHandleA(nullptr)};
    HWND window = nullptr;
    std::unique_ptr<KeyEngine> engine;
};

Rows ListRowsOf(HWND editor)
{
    HWND list = GetDlgItem(editor, IDC_OUTPUT_LIST);
    Rows rows;
    for (int row = 0; row < ListRowCount(list); ++row) rows.emplace_back(ListText(list, row, 0), ListText(list, row, 1));
    return rows;
}

// A click on an empty spot of the dialog brings it to the front, so typed keys reach it.
int ClickAndType(HWND editor, const std::string& keys)
{
    const POINT spot = DialogUnitsToScreen(editor, 140, 250);
    char command[256];
    std::snprintf(command, sizeof command, "xdotool mousemove %ld %ld click 1 sleep 0.2 %s", spot.x, spot.y,
                  keys.c_str());
    return RunShellCommand(command, CommandTimeoutMs);
}

class RecordingEndToEndTest : public ::testing::Test {
protected:
    FakeShell shell;
    DialogDriver driver;
};

}  // namespace

TEST_F(RecordingEndToEndTest, CtrlHeldAndCThreeTimes_RecordsThreeRows_CtrlAloneNone_StopUnhooks)
{
    Action action("");
    bool hooksWhileRecording = false, hooksAfter = true, recordingAfter = true;
    int typed = -1, typedCtrlAlone = -1, typedAfterStop = -1;
    Rows afterThree, afterCtrlAlone, afterStop, afterTypingStopped;
    std::string caption;
    driver.OnNextDialog([&](HWND editor) {
        Click(editor, IDC_RECORD_BUTTON);
        hooksWhileRecording = shell.engine->hooksInstalled();
        typed = ClickAndType(editor, "keydown ctrl key c key c key c keyup ctrl");
        PumpUntil([&] { return ListRowCount(GetDlgItem(editor, IDC_OUTPUT_LIST)) >= 4; }, KeyWaitMs);
        afterThree = ListRowsOf(editor);
        typedCtrlAlone = ClickAndType(editor, "key ctrl");
        PumpMessagesFor(300);
        afterCtrlAlone = ListRowsOf(editor);

        Click(editor, IDC_RECORD_BUTTON);
        caption = ControlText(editor, IDC_RECORD_BUTTON);
        hooksAfter = shell.engine->hooksInstalled();
        afterStop = ListRowsOf(editor);
        typedAfterStop = ClickAndType(editor, "key shift+d");
        PumpMessagesFor(300);
        afterTypingStopped = ListRowsOf(editor);
        recordingAfter = IsEnabled(editor, IDOK) == false;
        Click(editor, IDOK);  // the input key is empty: warned, still open
        Click(editor, IDCANCEL);
    });
    ActionEditor(action, *shell.engine, GetModuleHandleA(nullptr)).Run(nullptr);

    const Rows three = {{"Ctrl + ", "C"}, {"Ctrl + ", "C"}, {"Ctrl + ", "C"}, {"...", ""}};
    EXPECT_TRUE(hooksWhileRecording);
    EXPECT_EQ(0, typed);
    EXPECT_EQ(three, afterThree);
    EXPECT_EQ(0, typedCtrlAlone);
    EXPECT_EQ(three, afterCtrlAlone);
    EXPECT_EQ("記録開始(&K)", caption);
    EXPECT_FALSE(hooksAfter);
    EXPECT_EQ(three, afterStop);
    EXPECT_EQ(0, typedAfterStop);
    EXPECT_EQ(three, afterTypingStopped);
    EXPECT_FALSE(recordingAfter);
    ASSERT_EQ(3, action.outputCount());
    EXPECT_EQ(0x143, action.outputAt(0).toCode());
    EXPECT_EQ(1u, driver.messageBoxes().size());
}

TEST_F(RecordingEndToEndTest, EscapeWhileRecording_IsRecordedAndDoesNotCloseTheEditor)
{
    Action action("");
    Rows rows;
    bool open = false;
    driver.OnNextDialog([&](HWND editor) {
        Click(editor, IDC_RECORD_BUTTON);
        ClickAndType(editor, "key Escape key Return");
        PumpUntil([&] { return ListRowCount(GetDlgItem(editor, IDC_OUTPUT_LIST)) >= 3; }, KeyWaitMs);
        PumpMessagesFor(200);
        rows = ListRowsOf(editor);
        open = IsWindowVisible(editor) != FALSE;
        Click(editor, IDC_RECORD_BUTTON);
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ(0, ActionEditor(action, *shell.engine, GetModuleHandleA(nullptr)).Run(nullptr));
    EXPECT_TRUE(open);
    EXPECT_EQ((Rows{{"", "ESC"}, {"", "Enter"}, {"...", ""}}), rows);
    EXPECT_FALSE(shell.engine->hooksInstalled());
}

TEST_F(RecordingEndToEndTest, TypedListKeys_AltUpMoves_CtrlASelectsAll_DeleteAsks)
{
    Action action("");
    for (int code : {65, 66, 67}) action.insertOutput(KeyStroke::ofCode(code), action.outputCount());
    std::vector<int> afterCtrlA;
    Rows afterDelete;
    std::vector<int> movedCodes;
    driver.AnswerNextMessageBox(IDOK);
    driver.OnNextDialog([&](HWND editor) {
        HWND list = GetDlgItem(editor, IDC_OUTPUT_LIST);
        SelectRows(list, {0, 2});
        SetFocus(list);
        ClickAndType(editor, "key alt+Up");
        PumpMessagesFor(200);
        for (int i = 0; i < action.outputCount(); ++i) movedCodes.push_back(action.outputAt(i).toCode());
        ClickAndType(editor, "key ctrl+a");
        PumpMessagesFor(200);
        afterCtrlA = SelectedRows(list);
        ClickAndType(editor, "key Delete");
        PumpUntil([&] { return ListRowCount(list) == 1; }, KeyWaitMs);
        afterDelete = ListRowsOf(editor);
        Click(editor, IDCANCEL);
    });
    ActionEditor(action, *shell.engine, GetModuleHandleA(nullptr)).Run(nullptr);
    EXPECT_EQ((std::vector<int>{65, 67, 66}), movedCodes);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), afterCtrlA);
    EXPECT_EQ((Rows{{"...", ""}}), afterDelete);
    ASSERT_EQ(1u, driver.messageBoxes().size());
    EXPECT_EQ("削除の確認", driver.messageBoxes()[0].caption);
}
