// The hotkey and timing dialog on the real PROPERTY template: what it shows, what OK accepts
// and stores in Settings and property.ini, and that Cancel leaves both alone.
#include "res/resource.h"
#include "tests/support/TestKeys.h"
#include "tests/support/DialogDriver.h"
#include "ui/PropertyDialog.h"
#include "win32/Win32ModelSystem.h"

#include <gtest/gtest.h>

using namespace wt;

namespace {

std::string HotkeyControlStates(HWND dialog)
{
    std::string states;
    for (int id : {IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN, IDC_KEY_COMBO, IDC_PLUS_STATIC})
        states += IsEnabled(dialog, id) ? '1' : '0';
    return states;
}

// Each test works in a fresh current folder, where the dialog writes property.ini.
class PropertyDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.useHotKey = true;
        settings.hotKey = KeyStroke::ofCode(Win | 13);
        settings.timer = 100;
    }
    INT_PTR Run(DialogDriver::Step step)
    {
        driver.OnNextDialog(std::move(step));
        return PropertyDialog(settings, GetModuleHandleA(nullptr)).Run(nullptr);
    }

    TempDir dir{true};
    Win32ModelSystem modelSystem;
    Settings settings{modelSystem};
    DialogDriver driver;
};

TEST_F(PropertyDialogTest, Opening_ShowsTheSettings_HotkeyControlsGreyedWhenNotInUse)
{
    for (bool use : {true, false}) {
        settings.useHotKey = use;
        std::string timer, states, picker;
        bool ticked = !use;
        const auto result = Run([&](HWND dialog) {
            timer = ControlText(dialog, IDC_TIMER_EDIT);
            ticked = IsChecked(dialog, IDC_USE_HOTKEY);
            picker = std::to_string(ComboIndex(dialog, IDC_KEY_COMBO)) +
                     (IsChecked(dialog, IDC_CHECK_WIN) ? " Win" : "") +
                     (IsChecked(dialog, IDC_CHECK_CTRL) ? " Ctrl" : "");
            states = HotkeyControlStates(dialog);
            if (use) Snapshot("PROPERTY");
            Click(dialog, IDCANCEL);
        });
        EXPECT_EQ(0, result);
        EXPECT_EQ("100", timer);
        EXPECT_EQ(use, ticked);
        EXPECT_EQ("2 Win", picker);  // Enter
        EXPECT_EQ(use ? "111111" : "000000", states);
    }
}

TEST_F(PropertyDialogTest, TimeNotAboveZero_IsRefusedWithWarningAndNothingChanges)
{
    const char* const refused[] = {"0", "", "-5", "abc", "  +0x10", "ms250"};
    std::vector<bool> open;
    Run([&](HWND dialog) {
        SetChecked(dialog, IDC_USE_HOTKEY, false);
        for (const char* text : refused) {
            SetControlText(dialog, IDC_TIMER_EDIT, text);
            Click(dialog, IDOK);
            open.push_back(IsWindowVisible(dialog) != FALSE);
        }
        Click(dialog, IDCANCEL);
    });
    ASSERT_EQ(std::size(refused), driver.messageBoxes().size());
    for (size_t i = 0; i < driver.messageBoxes().size(); ++i) {
        const CapturedMessageBox& box = driver.messageBoxes()[i];
        EXPECT_EQ("警告", box.caption) << refused[i];
        EXPECT_EQ("１以上の整数を入力してください。", box.text) << refused[i];
        EXPECT_EQ(static_cast<UINT>(MB_OK), box.style) << refused[i];
        EXPECT_TRUE(open[i]) << refused[i];
    }
    EXPECT_TRUE(settings.useHotKey);
    EXPECT_EQ(100, settings.timer);
    EXPECT_FALSE(FileExists("property.ini"));
}

TEST_F(PropertyDialogTest, Time_TakesTheLeadingNumber_UpToTheLargestValue_AndSaves)
{
    const std::pair<const char*, int> cases[] = {{" 250ms", 250}, {"1", 1}, {"99999999999", 2147483647}};
    for (const auto& [text, expected] : cases) {
        const auto result = Run([&](HWND dialog) {
            SetControlText(dialog, IDC_TIMER_EDIT, text);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(1, result) << text;
        EXPECT_EQ(expected, settings.timer) << text;
        EXPECT_EQ("UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=" + std::to_string(expected) + "\r\n",
                  ReadBytes("property.ini"));
    }
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(PropertyDialogTest, UntickingUseHotkey_GreysItsControls_OkStoresPickerAndUseFalse)
{
    std::string unticked, ticked;
    const auto result = Run([&](HWND dialog) {
        SelectComboIndex(dialog, IDC_KEY_COMBO, 73);  // F1
        SetChecked(dialog, IDC_CHECK_WIN, false);
        SetChecked(dialog, IDC_CHECK_CTRL, true);
        SetChecked(dialog, IDC_USE_HOTKEY, false);
        unticked = HotkeyControlStates(dialog);
        SetChecked(dialog, IDC_USE_HOTKEY, true);
        ticked = HotkeyControlStates(dialog);
        SetChecked(dialog, IDC_USE_HOTKEY, false);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ("000000", unticked);
    EXPECT_EQ("111111", ticked);
    EXPECT_FALSE(settings.useHotKey);
    EXPECT_EQ(Ctrl | 112, settings.hotKey.toCode());
    EXPECT_EQ("UseHotKey=no\r\nHotKeyCode=368\r\nTimer=100\r\n", ReadBytes("property.ini"));
}

// A save that fails is told; the dialog stays with the user's entries and the settings stay
// as they were, so that OK can be pressed again once the cause is gone.
TEST_F(PropertyDialogTest, SaveThatFails_IsTold_TheDialogKeepsItsEntriesAndTheSettingsStayAsTheyWere)
{
    WriteBytes("property.ini", "Timer=5\r\n");
    CreateDirectoryA("property.ini.tmp", nullptr);  // the temporary cannot be made
    std::string meanwhile;
    const auto result = Run([&](HWND dialog) {
        SetChecked(dialog, IDC_USE_HOTKEY, false);
        SetControlText(dialog, IDC_TIMER_EDIT, "250");
        Click(dialog, IDOK);
        meanwhile =
            ControlText(dialog, IDC_TIMER_EDIT) + (IsChecked(dialog, IDC_USE_HOTKEY) ? " ticked " : " unticked ") +
            std::to_string(settings.useHotKey) + " " + std::to_string(settings.timer) + " " + ReadBytes("property.ini");
        RemoveDirectoryA("property.ini.tmp");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ(meanwhile, "250 unticked 1 100 Timer=5\r\n");
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, "Varokinto");
    EXPECT_EQ(
        driver.messageBoxes()[0].text,
        "ホットキーの設定を保存できませんでした。\n\nファイル: property.ini\nフォルダー: " + dir.path() +
            "\n理由: アクセスが拒否されました。\n\n設定は変更していません。原因を取り除いてから、もう一度「OK」を押"
            "してください。「ｷｬﾝｾﾙ」を押すと、変更せずに閉じます。");
    EXPECT_EQ(driver.messageBoxes()[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(ReadBytes("property.ini"), "UseHotKey=no\r\nHotKeyCode=2061\r\nTimer=250\r\n");
}

TEST_F(PropertyDialogTest, CancelOrCloseBoxAfterChangingEverything_LeavesSettingsAndFileUntouched)
{
    WriteBytes("property.ini", "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n");
    for (bool closeBox : {false, true}) {
        const auto result = Run([&](HWND dialog) {
            SetChecked(dialog, IDC_USE_HOTKEY, false);
            SelectComboIndex(dialog, IDC_KEY_COMBO, 40);
            SetChecked(dialog, IDC_CHECK_ALT, true);
            SetControlText(dialog, IDC_TIMER_EDIT, "500");
            if (closeBox) {
                SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                PumpFor(50);  // the close box's Cancel is posted
            } else {
                Click(dialog, IDCANCEL);
            }
        });
        EXPECT_EQ(0, result);
        EXPECT_TRUE(settings.useHotKey);
        EXPECT_EQ(Win | 13, settings.hotKey.toCode());
        EXPECT_EQ(100, settings.timer);
        EXPECT_EQ("UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n", ReadBytes("property.ini"));
    }
    EXPECT_EQ(0, driver.dialogsLeftOpen());
}

}  // namespace
