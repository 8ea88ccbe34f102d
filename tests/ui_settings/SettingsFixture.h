// What the tests of the shortcut settings window share: a live table and engine as the
// shell has them, a scratch current directory for keycfg.ini, and the user's moves in the
// action editor and the registration dialog.
#pragma once
#include "app/Win32ModelSystem.h"
#include "engine/KeyEngine.h"
#include "engine/win32/Win32KeySystem.h"
#include "model/Settings.h"
#include "model/ShortcutTable.h"
#include "res/resource.h"
#include "tests/support/DialogTestSupport.h"
#include "ui/AppEditDialog.h"
#include "ui/KeyVocabulary.h"
#include "ui/ShortcutSettingsDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace settingstest {

using namespace dialogtest;

constexpr int CtrlE = 0x145;
constexpr int CtrlQ = 0x151;
constexpr int WinC = 0x843;
constexpr char NotepadPath[] = "C:\\windows\\notepad.exe";

inline HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

inline Action MakeAction(int inputCode, std::vector<int> outputs, std::string name)
{
    Action action(std::move(name));
    action.setInput(KeyStroke::ofCode(inputCode));
    for (int code : outputs)
        action.insertOutput(KeyStroke::ofCode(code), action.outputCount());
    return action;
}

inline int ChoicePosition(unsigned vk)
{
    const auto& list = KeyChoiceList();
    return static_cast<int>(std::find(list.begin(), list.end(), vk) - list.begin());
}

// What the action editor shows when it opens.
struct EditorView {
    std::string name;
    int keyPosition = -1;
    bool ctrl = false, alt = false, shift = false, win = false;
    int rows = 0;
};

inline EditorView LookAtEditor(HWND editor)
{
    return {ControlText(editor, IDC_ACTION_NAME), ComboIndex(editor, IDC_KEY_COMBO),
            IsChecked(editor, IDC_CHECK_CTRL), IsChecked(editor, IDC_CHECK_ALT),
            IsChecked(editor, IDC_CHECK_SHIFT), IsChecked(editor, IDC_CHECK_WIN),
            ListRowCount(Control(editor, IDC_OUTPUT_LIST))};
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
    std::vector<std::pair<std::string, std::string>> rows;
    std::vector<int> selected;
    bool editEnabled = false, deleteEnabled = false;
    HWND focus = nullptr;
};

inline WindowView LookAtWindow(HWND window)
{
    WindowView view;
    for (int i = 0; i < ComboCount(window, ShortcutSettingsDialog::AppCombo); ++i)
        view.comboItems.push_back(ComboItemText(window, ShortcutSettingsDialog::AppCombo, i));
    view.comboIndex = ComboIndex(window, ShortcutSettingsDialog::AppCombo);
    view.path = ControlText(window, ShortcutSettingsDialog::PathText);
    view.iconShown = IsWindowVisible(Control(window, ShortcutSettingsDialog::IconArea)) != FALSE;
    HWND list = Control(window, ShortcutSettingsDialog::ActionList);
    for (int row = 0; row < ListRowCount(list); ++row)
        view.rows.emplace_back(ListText(list, row, 0), ListText(list, row, 1));
    view.selected = SelectedRows(list);
    view.editEnabled = IsEnabled(window, ShortcutSettingsDialog::EditButton);
    view.deleteEnabled = IsEnabled(window, ShortcutSettingsDialog::DeleteButton);
    view.focus = GetFocus();
    return view;
}

using Rows = std::vector<std::pair<std::string, std::string>>;

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        GetCurrentDirectoryA(sizeof previousDirectory_, previousDirectory_);
        directory_ = std::string(temp) + "vr-settings-test";
        CreateDirectoryA(directory_.c_str(), nullptr);
        SetCurrentDirectoryA(directory_.c_str());
        DeleteFileA("keycfg.ini");
        SetCursorPos(1000, 10);
    }

    void TearDown() override
    {
        DeleteFileA("keycfg.ini");
        SetCurrentDirectoryA(previousDirectory_);
        RemoveDirectoryA(directory_.c_str());
    }

    // The table the tests start from: global, Explorer-like Zeta and lower-case alpha, so
    // that the sorted combo box differs from the table order.
    void AddStandardEntries()
    {
        AppEntry global("global", "(全てのｱﾌﾟﾘｹｰｼｮﾝ)");
        global.addAction(MakeAction(WinC, {0x800, 83, 67}, "コントロールパネル"));
        table.add(global);
        AppEntry zeta(NotepadPath, "Zeta");
        zeta.addAction(MakeAction(CtrlE, {0x256, 0x245}, "エクスプローラーバー"));
        zeta.addAction(MakeAction(0x131, {}, ""));
        table.add(zeta);
        AppEntry alpha("C:\\Apps\\alpha.exe", "alpha");
        alpha.addAction(MakeAction(0x231, {65}, "one"));
        table.add(alpha);
    }

    INT_PTR RunWindow(const std::string& initialPath = {})
    {
        ShortcutSettingsDialog window(table, engine, Instance(), initialPath);
        return window.Run(nullptr);
    }

    static std::string ReadKeycfg()
    {
        std::ifstream file("keycfg.ini", std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }

    Win32ModelSystem system;
    ShortcutTable table{system};
    Settings settings{system};
    Win32KeySystem keys{Instance()};
    KeyEngine engine{table, settings, 0, keys};
    DialogDriver driver;

private:
    char previousDirectory_[MAX_PATH] = {};
    std::string directory_;
};

// The file that AddStandardEntries' table gives when nothing was changed.
inline const char StandardFile[] =
    "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n2115.send=2048,83,67\r\n2115.name=コントロールパネル\r\n\r\n"
    "'C:\\windows\\notepad.exe\r\nname=Zeta\r\n325.send=598,581\r\n325.name=エクスプローラーバー\r\n305.send=\r\n\r\n"
    "'C:\\Apps\\alpha.exe\r\nname=alpha\r\n561.send=65\r\n561.name=one\r\n\r\n";

}  // namespace settingstest
