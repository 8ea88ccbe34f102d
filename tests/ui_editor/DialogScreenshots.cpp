// Not a test: opens each dialog of this folder in typical states and saves a screenshot of
// the screen for each, to be looked at. Usage: dialog_screenshots <Unix folder for the PNGs>
#include "tests/ui_editor/EditorTestSupport.h"
#include "ui/OutputKeyDialog.h"
#include "ui/PropertyDialog.h"

#include <cstdio>

using namespace dialogtest;
using namespace editortest;

namespace {

std::string folder;

void Shoot(const char* name)
{
    // Wine maps a newly shown window on the display a while after it is shown.
    PumpMessagesFor(1500);
    RunShellCommand("import -window root " + folder + "/" + name + ".png", 10000);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    folder = argv[1];
    EditorFixture fixture;
    HINSTANCE instance = GetModuleHandleA(nullptr);

    KeyStroke stroke = KeyStroke::ofCode(Ctrl | Alt | 34);
    fixture.driver.OnNextDialog([](HWND dialog) {
        Shoot("KEY_SET");
        SendMessageA(Control(dialog, IDC_KEY_COMBO), CB_SHOWDROPDOWN, TRUE, 0);
        Shoot("KEY_SET_dropped");
        SendMessageA(Control(dialog, IDC_KEY_COMBO), CB_SHOWDROPDOWN, FALSE, 0);
        Click(dialog, IDCANCEL);
    });
    OutputKeyDialog(stroke, instance).Run(nullptr);

    Action action = ActionWith({Ctrl | 67, Ctrl | Shift | Alt | Win | 37, Alt, 93, 2}, Ctrl | Shift | 69);
    action.setName("エクスプローラーでフォルダーを開く");
    fixture.driver.OnNextDialog([&](HWND editor) {
        SelectRows(OutputList(editor), {1, 3});
        Shoot("SHORTCUT_LIST");
        SelectRows(OutputList(editor), {5});
        Click(editor, IDC_RECORD_BUTTON);
        Shoot("SHORTCUT_LIST_recording");
        Click(editor, IDC_RECORD_BUTTON);
        SelectRows(OutputList(editor), {0});
        Click(editor, IDC_CHECK_CTRL);
        Click(editor, IDC_CHECK_SHIFT);
        SelectComboIndex(editor, IDC_KEY_COMBO, 0);
        Click(editor, IDCANCEL);
    });
    ActionEditor(action, fixture.engine, instance).Run(nullptr);

    fixture.settings.useHotKey = true;
    fixture.settings.hotKey = KeyStroke::ofCode(Win | 13);
    fixture.driver.OnNextDialog([](HWND dialog) {
        Shoot("PROPERTY");
        SetChecked(dialog, IDC_USE_HOTKEY, false);
        Shoot("PROPERTY_unticked");
        Click(dialog, IDCANCEL);
    });
    PropertyDialog(fixture.settings, instance).Run(nullptr);
    return 0;
}
