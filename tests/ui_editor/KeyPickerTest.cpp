// The output key dialog on the real KEY_SET template: how the picker opens on a stroke and
// what it stores.
#include "res/resource.h"
#include "tests/support/DialogTestSupport.h"
#include "ui/KeyVocabulary.h"
#include "ui/OutputKeyDialog.h"

#include <gtest/gtest.h>

using namespace dialogtest;

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

struct PickerState {
    int position = -1;
    bool ctrl = false, alt = false, shift = false, win = false;
};

PickerState ReadPicker(HWND dialog)
{
    return {ComboIndex(dialog, IDC_KEY_COMBO), IsChecked(dialog, IDC_CHECK_CTRL),
            IsChecked(dialog, IDC_CHECK_ALT), IsChecked(dialog, IDC_CHECK_SHIFT),
            IsChecked(dialog, IDC_CHECK_WIN)};
}

KeyStroke Stroke(int code) { return KeyStroke::ofCode(code); }

constexpr int CtrlBit = KeyStroke::CtrlBit, AltBit = KeyStroke::AltBit,
              ShiftBit = KeyStroke::ShiftBit, WinBit = KeyStroke::WinBit;

}  // namespace

TEST(KeyPickerTest, ChoicePosition_LastMatchingPositionWins)
{
    const unsigned choices[] = {0, 145, 65, 145, 66};
    EXPECT_EQ(3, KeyPicker::ChoicePosition(choices, 5, 145));
    EXPECT_EQ(2, KeyPicker::ChoicePosition(choices, 5, 65));
    EXPECT_EQ(0, KeyPicker::ChoicePosition(choices, 5, 0));
    EXPECT_EQ(0, KeyPicker::ChoicePosition(choices, 5, 187));  // not offered: the blank entry
}

TEST(KeyPickerTest, EmptyStroke_OpensOnBlankEntry_OkLeavesItEmpty)
{
    KeyStroke stroke;
    PickerState seen;
    int count = 0;
    std::vector<std::string> names;
    DialogDriver driver;
    driver.OnNextDialog([&](HWND dialog) {
        seen = ReadPicker(dialog);
        count = ComboCount(dialog, IDC_KEY_COMBO);
        for (int i = 0; i < count; ++i) names.push_back(ComboItemText(dialog, IDC_KEY_COMBO, i));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(1, OutputKeyDialog(stroke, Instance()).Run(nullptr));
    EXPECT_EQ(0, seen.position);
    EXPECT_FALSE(seen.ctrl || seen.alt || seen.shift || seen.win);
    EXPECT_EQ(0, stroke.toCode());
    // The drop-down offers the key choice list by position, named from the string table.
    ASSERT_EQ(98, count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(KeyName(KeyChoiceList()[static_cast<size_t>(i)]), names[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(" ", names[0]);
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST(KeyPickerTest, KeyNotOffered_OpensOnBlankEntryWithItsFlags_OkStoresFlagsAlone)
{
    for (int vk : {1, 187}) {
        KeyStroke stroke = Stroke(vk | CtrlBit | ShiftBit);
        PickerState seen;
        DialogDriver driver;
        driver.OnNextDialog([&](HWND dialog) {
            seen = ReadPicker(dialog);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(1, OutputKeyDialog(stroke, Instance()).Run(nullptr));
        EXPECT_EQ(0, seen.position) << vk;
        EXPECT_TRUE(seen.ctrl && seen.shift && !seen.alt && !seen.win) << vk;
        EXPECT_EQ(CtrlBit | ShiftBit, stroke.toCode()) << vk;
    }
}

TEST(KeyPickerTest, KeyNotOfferedWithoutFlags_OkIsRefusedAndStrokeUnchanged)
{
    KeyStroke stroke = Stroke(187);
    DialogDriver driver;
    driver.OnNextDialog([&](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(1, OutputKeyDialog(stroke, Instance()).Run(nullptr));
    EXPECT_EQ(187, stroke.toCode());
}

TEST(KeyPickerTest, TickingOnlyAltOnBlankEntry_StoresAltWithoutKey)
{
    KeyStroke stroke = Stroke(1 | WinBit);
    DialogDriver driver;
    driver.OnNextDialog([&](HWND dialog) {
        SetChecked(dialog, IDC_CHECK_WIN, false);
        SetChecked(dialog, IDC_CHECK_ALT, true);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(1, OutputKeyDialog(stroke, Instance()).Run(nullptr));
    EXPECT_EQ(AltBit, stroke.toCode());
    EXPECT_EQ(0u, stroke.vk);
}

TEST(KeyPickerTest, OfferedKey_OpensOnItsPosition_OkStoresTheNewChoice)
{
    KeyStroke stroke = Stroke(65 | WinBit);  // A at position 31
    PickerState seen;
    DialogDriver driver;
    driver.OnNextDialog([&](HWND dialog) {
        seen = ReadPicker(dialog);
        SelectComboIndex(dialog, IDC_KEY_COMBO, 77);  // F5
        SetChecked(dialog, IDC_CHECK_CTRL, true);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(1, OutputKeyDialog(stroke, Instance()).Run(nullptr));
    EXPECT_EQ(30, seen.position);
    EXPECT_TRUE(seen.win && !seen.ctrl && !seen.alt && !seen.shift);
    EXPECT_EQ(116 | CtrlBit | WinBit, stroke.toCode());
}

TEST(KeyPickerTest, CancelAndEscape_ReturnZeroAndLeaveTheStroke)
{
    for (bool escape : {false, true}) {
        KeyStroke stroke = Stroke(65 | ShiftBit);
        DialogDriver driver;
        driver.OnNextDialog([&](HWND dialog) {
            SelectComboIndex(dialog, IDC_KEY_COMBO, 2);
            SetChecked(dialog, IDC_CHECK_ALT, true);
            if (escape) {
                PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                PumpMessagesFor(50);
            } else {
                Click(dialog, IDCANCEL);
            }
        });
        EXPECT_EQ(0, OutputKeyDialog(stroke, Instance()).Run(nullptr)) << escape;
        EXPECT_EQ(65 | ShiftBit, stroke.toCode()) << escape;
        EXPECT_EQ(0, driver.dialogsLeftOpen());
    }
}

TEST(KeyPickerTest, Template_CaptionTextsAndTabStops)
{
    std::string caption;
    std::vector<std::string> texts;
    LONG ctrlStyle = 0, altStyle = 0, comboStyle = 0;
    DialogDriver driver;
    driver.OnNextDialog([&](HWND dialog) {
        caption = Text(dialog);
        for (int id : {IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN, IDOK, IDCANCEL}) {
            texts.push_back(ControlText(dialog, id));
        }
        ctrlStyle = GetWindowLongA(Control(dialog, IDC_CHECK_CTRL), GWL_STYLE);
        altStyle = GetWindowLongA(Control(dialog, IDC_CHECK_ALT), GWL_STYLE);
        comboStyle = GetWindowLongA(Control(dialog, IDC_KEY_COMBO), GWL_STYLE);
        Click(dialog, IDCANCEL);
    });
    KeyStroke stroke;
    OutputKeyDialog(stroke, Instance()).Run(nullptr);
    EXPECT_EQ("送信キー設定", caption);
    EXPECT_EQ((std::vector<std::string>{"&Ctrl", "A&lt", "S&hift", "&Win", "OK", "キャンセル"}), texts);
    EXPECT_TRUE(ctrlStyle & WS_TABSTOP);
    EXPECT_FALSE(altStyle & WS_TABSTOP);
    EXPECT_EQ(CBS_DROPDOWNLIST, comboStyle & 3);
}
