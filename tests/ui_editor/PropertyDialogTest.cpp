// The hotkey and timing dialog on the real PROPERTY template: what it shows, what OK accepts
// and stores in Settings and property.ini, and that Cancel leaves both alone.
#include "app/Win32ModelSystem.h"
#include "res/resource.h"
#include "tests/support/DialogTestSupport.h"
#include "ui/PropertyDialog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace dialogtest;

namespace {

constexpr int Ctrl = KeyStroke::CtrlBit, Win = KeyStroke::WinBit;
constexpr int HotkeyControls[] = {IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN,
                                  IDC_KEY_COMBO, IDC_PLUS_STATIC};

std::string ReadFileBytes(const char* name)
{
    std::ifstream file(name, std::ios::binary);
    if (!file) return "<missing>";
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string HotkeyControlStates(HWND dialog)
{
    std::string states;
    for (int id : HotkeyControls) states += IsEnabled(dialog, id) ? '1' : '0';
    return states;
}

// Each test works in a fresh folder, where the dialog writes property.ini.
class PropertyDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(MAX_PATH, previous_);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "vr-property-" + std::to_string(GetCurrentProcessId()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
        SetCurrentDirectoryA(folder_.c_str());
        DeleteFileA("property.ini");
        settings.useHotKey = true;
        settings.hotKey = KeyStroke::ofCode(Win | 13);
        settings.timer = 100;
    }
    void TearDown() override
    {
        DeleteFileA("property.ini");
        SetCurrentDirectoryA(previous_);
        RemoveDirectoryA(folder_.c_str());
    }

    INT_PTR Run(DialogDriver::Step step)
    {
        driver.OnNextDialog(std::move(step));
        return PropertyDialog(settings, GetModuleHandleA(nullptr)).Run(nullptr);
    }

    Win32ModelSystem modelSystem;
    Settings settings{modelSystem};
    DialogDriver driver;

private:
    char previous_[MAX_PATH] = {};
    std::string folder_;
};

}  // namespace

TEST_F(PropertyDialogTest, Opening_ShowsTheSettings)
{
    std::string caption, timer, states;
    int position = -1;
    bool use = false, win = false, ctrl = true;
    EXPECT_EQ(0, Run([&](HWND dialog) {
        caption = Text(dialog);
        timer = ControlText(dialog, IDC_TIMER_EDIT);
        position = ComboIndex(dialog, IDC_KEY_COMBO);
        use = IsChecked(dialog, IDC_USE_HOTKEY);
        win = IsChecked(dialog, IDC_CHECK_WIN);
        ctrl = IsChecked(dialog, IDC_CHECK_CTRL);
        states = HotkeyControlStates(dialog);
        Click(dialog, IDCANCEL);
    }));
    EXPECT_EQ("ホットキーの割り当て", caption);
    EXPECT_EQ("100", timer);
    EXPECT_EQ(2, position);  // Enter
    EXPECT_TRUE(use);
    EXPECT_TRUE(win);
    EXPECT_FALSE(ctrl);
    EXPECT_EQ("111111", states);
}

TEST_F(PropertyDialogTest, HotkeyNotInUse_OpensWithItsControlsGreyed)
{
    settings.useHotKey = false;
    std::string states;
    Run([&](HWND dialog) {
        states = HotkeyControlStates(dialog);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ("000000", states);
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
    EXPECT_EQ("<missing>", ReadFileBytes("property.ini"));
}

TEST_F(PropertyDialogTest, TimeWithTrailingLetters_TakesTheLeadingNumber_AndSaves)
{
    EXPECT_EQ(1, Run([&](HWND dialog) {
        SetControlText(dialog, IDC_TIMER_EDIT, " 250ms");
        Click(dialog, IDOK);
    }));
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(250, settings.timer);
    EXPECT_EQ("UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=250\r\n", ReadFileBytes("property.ini"));
}

TEST_F(PropertyDialogTest, OneIsAccepted_AndAHugeNumberStopsAtTheLargestValue)
{
    for (const auto& [text, expected] : {std::pair<const char*, int>{"1", 1}, {"99999999999", 2147483647}}) {
        EXPECT_EQ(1, Run([&](HWND dialog) {
            SetControlText(dialog, IDC_TIMER_EDIT, text);
            Click(dialog, IDOK);
        })) << text;
        EXPECT_EQ(expected, settings.timer) << text;
    }
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(PropertyDialogTest, UntickingUseHotkey_GreysItsControls_OkStoresPickerAndUseFalse)
{
    std::string unticked, ticked;
    EXPECT_EQ(1, Run([&](HWND dialog) {
        SelectComboIndex(dialog, IDC_KEY_COMBO, 73);  // F1
        SetChecked(dialog, IDC_CHECK_WIN, false);
        SetChecked(dialog, IDC_CHECK_CTRL, true);
        SetChecked(dialog, IDC_USE_HOTKEY, false);
        unticked = HotkeyControlStates(dialog);
        SetChecked(dialog, IDC_USE_HOTKEY, true);
        ticked = HotkeyControlStates(dialog);
        SetChecked(dialog, IDC_USE_HOTKEY, false);
        Click(dialog, IDOK);
    }));
    EXPECT_EQ("000000", unticked);
    EXPECT_EQ("111111", ticked);
    EXPECT_FALSE(settings.useHotKey);
    EXPECT_EQ(Ctrl | 112, settings.hotKey.toCode());
    EXPECT_EQ("UseHotKey=no\r\nHotKeyCode=368\r\nTimer=100\r\n", ReadFileBytes("property.ini"));
}

TEST_F(PropertyDialogTest, EmptyPicker_LeavesTheHotkey)
{
    EXPECT_EQ(1, Run([&](HWND dialog) {
        SelectComboIndex(dialog, IDC_KEY_COMBO, 0);
        SetChecked(dialog, IDC_CHECK_WIN, false);
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(Win | 13, settings.hotKey.toCode());
    EXPECT_EQ("UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n", ReadFileBytes("property.ini"));
}

TEST_F(PropertyDialogTest, CancelAfterChangingEverything_LeavesSettingsAndFileUntouched)
{
    {
        std::ofstream file("property.ini", std::ios::binary);
        file << "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n";
    }
    for (bool closeBox : {false, true}) {
        EXPECT_EQ(0, Run([&](HWND dialog) {
            SetChecked(dialog, IDC_USE_HOTKEY, false);
            SelectComboIndex(dialog, IDC_KEY_COMBO, 40);
            SetChecked(dialog, IDC_CHECK_ALT, true);
            SetControlText(dialog, IDC_TIMER_EDIT, "500");
            if (closeBox) {
                // The close box's Cancel is posted.
                SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                PumpMessagesFor(50);
            } else {
                Click(dialog, IDCANCEL);
            }
        }));
        EXPECT_TRUE(settings.useHotKey);
        EXPECT_EQ(Win | 13, settings.hotKey.toCode());
        EXPECT_EQ(100, settings.timer);
        EXPECT_EQ("UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n", ReadFileBytes("property.ini"));
    }
    EXPECT_EQ(0, driver.dialogsLeftOpen());
}
