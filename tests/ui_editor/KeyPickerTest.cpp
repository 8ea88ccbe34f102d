// The output key dialog on the real KEY_SET template: how the picker opens on a stroke and
// what it stores.
#include "res/resource.h"
#include "tests/support/TestKeys.h"
#include "tests/support/DialogDriver.h"
#include "ui/KeyVocabulary.h"
#include "ui/OutputKeyDialog.h"

#include <gtest/gtest.h>

using namespace wt;

namespace {

// Position in the drop-down and the ticked flags, as Ctrl, Alt, Shift and Win.
std::string PickerState(HWND dialog)
{
    std::string state = std::to_string(ComboIndex(dialog, IDC_KEY_COMBO)) + " ";
    for (int id : {IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN})
        state += IsChecked(dialog, id) ? '1' : '0';
    return state;
}

TEST(KeyPickerTest, ChoicePosition_LastMatchingPositionWins)
{
    const unsigned choices[] = {0, 145, 65, 145, 66};
    EXPECT_EQ(3, KeyPicker::ChoicePosition(choices, 5, 145));
    EXPECT_EQ(2, KeyPicker::ChoicePosition(choices, 5, 65));
    EXPECT_EQ(0, KeyPicker::ChoicePosition(choices, 5, 124));  // not offered: the blank entry
}

TEST(KeyPickerTest, OpensOnTheStroke_OkStoresTheChoiceButRefusesAnEmptyOne)
{
    struct Case {
        const char* what;
        int stroke;
        std::string opened;  // position and Ctrl/Alt/Shift/Win ticks
        std::function<void(HWND)> change;
        int stored;
    };
    const auto nothing = [](HWND) {};
    // clang-format off
    const Case cases[] = {
        {"empty stroke", 0, "0 0000", nothing, 0},
        {"key not offered", 124 | Ctrl | Shift, "0 1010", nothing, Ctrl | Shift},
        {"old ; (185): opens on ;, stores 187", 185 | Ctrl, "91 1000", nothing, 187 | Ctrl},
        {"unnamed key", 1 | Ctrl | Shift, "0 1010", nothing, Ctrl | Shift},
        {"key not offered, no flags: refused", 124, "0 0000", nothing, 124},
        {"only Alt ticked", 1 | Win, "0 0001",
         [](HWND d) { SetChecked(d, IDC_CHECK_WIN, false); SetChecked(d, IDC_CHECK_ALT, true); }, Alt},
        {"offered key, F5 chosen", 65 | Win, "30 0001",
         [](HWND d) { SelectComboIndex(d, IDC_KEY_COMBO, 77); SetChecked(d, IDC_CHECK_CTRL, true); },
         116 | Ctrl | Win},
        {"blank chosen, Ctrl unticked: refused", 65 | Ctrl, "30 1000",
         [](HWND d) { SelectComboIndex(d, IDC_KEY_COMBO, 0); SetChecked(d, IDC_CHECK_CTRL, false); }, 65 | Ctrl},
    };
    // clang-format on
    for (const Case& c : cases) {
        KeyStroke stroke = KeyStroke::ofCode(c.stroke);
        std::string opened;
        DialogDriver driver;
        driver.OnNextDialog([&](HWND dialog) {
            opened = PickerState(dialog);
            c.change(dialog);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(1, OutputKeyDialog(stroke, GetModuleHandleA(nullptr)).Run(nullptr)) << c.what;
        EXPECT_EQ(c.opened, opened) << c.what;
        EXPECT_EQ(c.stored, stroke.toCode()) << c.what;
        EXPECT_TRUE(driver.messageBoxes().empty());
    }
}

TEST(KeyPickerTest, DropDownOffersTheKeyChoiceListByName)
{
    std::vector<std::string> names;
    DialogDriver driver;
    driver.OnNextDialog([&](HWND dialog) {
        names = ComboItems(dialog, IDC_KEY_COMBO);
        Snapshot("KEY_SET");
        Click(dialog, IDCANCEL);
    });
    KeyStroke stroke;
    OutputKeyDialog(stroke, GetModuleHandleA(nullptr)).Run(nullptr);
    ASSERT_EQ(100u, names.size());
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(KeyName(KeyChoiceList()[i]), names[i]) << i;
    EXPECT_EQ(" ", names[0]);
}

TEST(KeyPickerTest, CancelAndEscape_ReturnZeroAndLeaveTheStroke)
{
    for (bool escape : {false, true}) {
        KeyStroke stroke = KeyStroke::ofCode(65 | Shift);
        DialogDriver driver;
        driver.OnNextDialog([&](HWND dialog) {
            SelectComboIndex(dialog, IDC_KEY_COMBO, 2);
            SetChecked(dialog, IDC_CHECK_ALT, true);
            if (escape) {
                PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                PumpFor(50);
            } else {
                Click(dialog, IDCANCEL);
            }
        });
        EXPECT_EQ(0, OutputKeyDialog(stroke, GetModuleHandleA(nullptr)).Run(nullptr)) << escape;
        EXPECT_EQ(65 | Shift, stroke.toCode()) << escape;
        EXPECT_EQ(0, driver.dialogsLeftOpen());
    }
}

}  // namespace
