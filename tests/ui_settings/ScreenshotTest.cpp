// Pictures of the three windows for looking at: run with --gtest_also_run_disabled_tests
// and VR_SHOT_DIR set to a Unix folder; each test saves the whole screen there.
#include "tests/ui_settings/SettingsFixture.h"
#include "ui/AboutDialog.h"

#include <cstdlib>

namespace settingstest {
namespace {

void Shoot(const char* name)
{
    const char* dir = std::getenv("VR_SHOT_DIR");
    if (!dir)
        return;
    PumpMessagesFor(300);
    // Wine starts a Unix program given by its Windows path; its arguments pass unchanged.
    std::string command = std::string("Z:\\usr\\bin\\import -window root ") + dir + "/" + name + ".png";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 3000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void NoOpen(HWND, const std::string&) {}

TEST_F(SettingsWindowTest, DISABLED_Screenshot_SettingsWindow)
{
    AddStandardEntries();
    driver.OnNextDialog([&](HWND window) {
        Shoot("settings-global");
        SelectComboIndex(window, ShortcutSettingsDialog::AppCombo, 2);
        Shoot("settings-zeta");
        Click(window, ShortcutSettingsDialog::ChangeButton);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND edit) {
        Shoot("app-edit");
        Click(edit, IDCANCEL);
    });
    RunWindow();
}

TEST(AboutScreenshot, DISABLED_Screenshot_About)
{
    DialogDriver driver;
    driver.OnNextDialog([&](HWND dialog) {
        Shoot("about");
        HWND web = Control(dialog, AboutDialog::WebLink);
        SendMessageA(web, WM_SETCURSOR, reinterpret_cast<WPARAM>(web), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        Shoot("about-hot");
        Click(dialog, IDOK);
    });
    AboutDialog(Instance(), &NoOpen).Run(nullptr);
}

}  // namespace
}  // namespace settingstest
