// What the tests of the shortcut settings window share: a live table and engine as the
// shell has them, a scratch current directory for keycfg.ini, and the user's moves in the
// action editor.
#pragma once
#include "engine/KeyEngine.h"
#include "engine/win32/Win32KeySystem.h"
#include "res/resource.h"
#include "tests/engine/StubKeySystem.h"
#include "tests/support/TestKeys.h"
#include "tests/support/DialogDriver.h"
#include "ui/AppEditDialog.h"
#include "ui/KeyVocabulary.h"
#include "ui/ShortcutSettingsDialog.h"
#include "win32/Win32ModelSystem.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace settingstest {

using namespace wt;
using Window = ShortcutSettingsDialog;

constexpr char NotepadPath[] = "C:\\windows\\notepad.exe";

inline int ChoicePosition(unsigned vk)
{
    const auto& list = KeyChoiceList();
    return static_cast<int>(std::find(list.begin(), list.end(), vk) - list.begin());
}

// What the action editor shows: "name|input key|rows", e.g. "終了|Ctrl+Q|1".
inline std::string EditorView(HWND editor)
{
    std::string key;
    // clang-format off
    const std::pair<int, const char*> flags[] = {
        {IDC_CHECK_CTRL, "Ctrl+"}, {IDC_CHECK_ALT, "Alt+"}, {IDC_CHECK_SHIFT, "Shift+"}, {IDC_CHECK_WIN, "Win+"}};
    for (const auto& [id, name] : flags) key += IsChecked(editor, id) ? name : "";
    const int position = ComboIndex(editor, IDC_KEY_COMBO);
    key += position < 0 ? "?" : KeyName(KeyChoiceList()[static_cast<size_t>(position)]);
    return ControlText(editor, IDC_ACTION_NAME) + "|" + key + "|" +
           std::to_string(ListRowCount(Control(editor, IDC_OUTPUT_LIST)));
}

// Name and input key typed into the action editor, then OK.
inline void EnterAction(HWND editor, const std::string& name, int inputCode)
{
    const KeyStroke input = KeyStroke::ofCode(inputCode);
    SetControlText(editor, IDC_ACTION_NAME, name);
    SetChecked(editor, IDC_CHECK_CTRL, input.ctrl);
    SetChecked(editor, IDC_CHECK_ALT, input.alt);
    SetChecked(editor, IDC_CHECK_SHIFT, input.shift);
    SetChecked(editor, IDC_CHECK_WIN, input.win);
    SelectComboIndex(editor, IDC_KEY_COMBO, ChoicePosition(input.vk));
    Click(editor, IDOK);
}

struct WindowView {
    std::vector<std::string> comboItems;
    int comboIndex = -1;
    std::string path;
    bool iconShown = false;
    Rows rows;
    std::vector<int> selected;
    bool editEnabled = false, deleteEnabled = false;
    int focusId = 0;  // control id of the focus
};

inline WindowView LookAtWindow(HWND window)
{
    HWND list = Control(window, IDC_ACTION_LIST);
    return {ComboItems(window, IDC_APP_COMBO),          ComboIndex(window, IDC_APP_COMBO),
            ControlText(window, IDC_PATH_TEXT),         IsWindowVisible(Control(window, IDC_ICON_AREA)) != FALSE,
            ListRows(list),                                SelectedRows(list),
            IsEnabled(window, IDC_EDIT_ACTION),         IsEnabled(window, IDC_DELETE_ACTION),
            GetDlgCtrlID(GetFocus())};
}

class SettingsWindowTest : public ::testing::Test {
protected:
    // The pointer rests outside the windows, so that it hovers over nothing.
    void SetUp() override { SetCursorPos(1000, 10); }

    // global, Explorer-like Zeta and lower-case alpha, so that the sorted combo box differs
    // from the table order.
    void AddStandardEntries()
    {
        AppEntry global("global", "(全てのｱﾌﾟﾘｹｰｼｮﾝ)");
        global.addAction(MakeAction("コントロールパネル", Win | 'C', {Win, 'S', 'C'}));
        table.add(global);
        AppEntry zeta(NotepadPath, "Zeta");
        zeta.addAction(MakeAction("エクスプローラーバー", Ctrl | 'E', {Alt | 'V', Alt | 'E'}));
        zeta.addAction(MakeAction("", Ctrl | '1'));
        table.add(zeta);
        AppEntry alpha("C:\\Apps\\alpha.exe", "alpha");
        alpha.addAction(MakeAction("one", Alt | '1', {'A'}));
        table.add(alpha);
    }
    // clang-format on

    INT_PTR RunWindow(const std::string& initialPath = {})
    {
        return ShortcutSettingsDialog(table, engine, GetModuleHandleA(nullptr), initialPath).Run(nullptr);
    }
    // What the window shows on opening; then it is closed.
    WindowView OpenAndLook(const std::string& initialPath = {})
    {
        WindowView view;
        driver.OnNextDialog([&](HWND window) {
            view = LookAtWindow(window);
            Click(window, IDOK);
        });
        RunWindow(initialPath);
        return view;
    }

    TempDir dir{true};
    Win32ModelSystem system;
    ShortcutTable table{system};
    Settings settings{system};
    Win32KeySystem keys;
    StubShell shell;
    KeyEngine engine{table, settings, keys.keySystem(shell)};
    DialogDriver driver;
};

// The file that AddStandardEntries' table gives when nothing was changed.
inline const char StandardFile[] =
    "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n2115.send=2048,83,67\r\n2115.name=コントロールパネル\r\n\r\n"
    "'C:\\windows\\notepad.exe\r\nname=Zeta\r\n325.send=598,581\r\n325.name=エクスプローラーバー\r\n305.send=\r\n\r\n"
    "'C:\\Apps\\alpha.exe\r\nname=alpha\r\n561.send=65\r\n561.name=one\r\n\r\n";

}  // namespace settingstest
