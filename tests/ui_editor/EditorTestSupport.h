// What the action editor tests share: an engine over a stand-in system that only counts
// hook installations, and short ways to build actions and read the output-key list.
#pragma once
#include "app/Win32ModelSystem.h"
#include "engine/KeyEngine.h"
#include "model/Action.h"
#include "res/resource.h"
#include "tests/support/DialogTestSupport.h"
#include "ui/ActionEditor.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace editortest {

// Hooks "install" and "remove" without touching the system.
class HookCountingSystem : public KeySystem {
public:
    void keybdEvent(std::uint8_t, std::uint8_t, std::uint32_t) override {}
    unsigned mapVirtualKey(unsigned, unsigned) override { return 0; }
    std::string loadKeyName(unsigned) override { return {}; }
    WindowId findWindow(const char*, const char*) override { return 0; }
    std::intptr_t sendMessage(WindowId, unsigned, std::uintptr_t, std::intptr_t) override { return 0; }
    bool postMessage(WindowId, unsigned, std::uintptr_t, std::intptr_t) override { return true; }
    bool setTimer(WindowId, unsigned, unsigned) override { return true; }
    bool isKeyDown(std::uint8_t) override { return true; }
    WindowId foregroundWindow() override { return 0; }
    std::string exePathOfWindow(WindowId) override { return {}; }
    ModuleId loadLibrary(const char*) override { return 1; }
    ProcId findProc(ModuleId, const char*) override { return 1; }
    HookId setHook(int, ProcId, ModuleId) override { return ++installed; }
    bool unhook(HookId) override { ++removed; return true; }
    void showMessage(const std::string&, const std::string&) override {}

    int installed = 0;
    int removed = 0;
};

struct EditorFixture {
    Win32ModelSystem modelSystem;
    ShortcutTable table{modelSystem};
    Settings settings{modelSystem};
    HookCountingSystem keySystem;
    KeyEngine engine{table, settings, 0, keySystem};
    dialogtest::DialogDriver driver;

    INT_PTR RunEditor(Action& action, dialogtest::DialogDriver::Step step)
    {
        driver.OnNextDialog(std::move(step));
        return ActionEditor(action, engine, GetModuleHandleA(nullptr)).Run(nullptr);
    }
};

inline Action ActionWith(std::initializer_list<int> outputCodes, int inputCode = 0)
{
    Action action("テスト");
    action.setInput(KeyStroke::ofCode(inputCode));
    int index = 0;
    for (int code : outputCodes) action.insertOutput(KeyStroke::ofCode(code), index++);
    return action;
}

inline std::vector<int> OutputCodes(const Action& action)
{
    std::vector<int> codes;
    for (int i = 0; i < action.outputCount(); ++i) codes.push_back(action.outputAt(i).toCode());
    return codes;
}

inline HWND OutputList(HWND editor) { return GetDlgItem(editor, IDC_OUTPUT_LIST); }

// Both columns of every row, end row included.
inline std::vector<std::pair<std::string, std::string>> ListRows(HWND editor)
{
    HWND list = OutputList(editor);
    std::vector<std::pair<std::string, std::string>> rows;
    for (int row = 0; row < dialogtest::ListRowCount(list); ++row) {
        rows.emplace_back(dialogtest::ListText(list, row, 0), dialogtest::ListText(list, row, 1));
    }
    return rows;
}

// Enabled states of Add, Delete, Edit, up and down, in that order, as "1"/"0".
inline std::string ButtonStates(HWND editor)
{
    std::string states;
    for (int id : {IDC_ADD_BUTTON, IDC_DELETE_BUTTON, IDC_EDIT_BUTTON, IDC_UP_BUTTON, IDC_DOWN_BUTTON}) {
        states += dialogtest::IsEnabled(editor, id) ? '1' : '0';
    }
    return states;
}

constexpr int Ctrl = KeyStroke::CtrlBit, Alt = KeyStroke::AltBit, Shift = KeyStroke::ShiftBit,
              Win = KeyStroke::WinBit;

}  // namespace editortest
