#include "ui/KeyPicker.h"

#include "res/resource.h"
#include "ui/KeyVocabulary.h"

namespace {

// The string table holds at most 255 bytes per key name.
constexpr int KeyNameBufferSize = 256;

}  // namespace

KeyPicker::KeyPicker(KeyStroke& stroke, HINSTANCE instance)
    : stroke_(stroke), choices_(KeyChoiceList()), instance_(instance)
{}

int KeyPicker::ChoicePosition(const unsigned* choices, std::size_t count, unsigned vk)
{
    int position = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (choices[i] == vk) {
            position = static_cast<int>(i);
        }
    }
    return position;
}

void KeyPicker::Init(HWND dialog)
{
    dialog_ = dialog;
    keyCombo_ = GetDlgItem(dialog, IDC_KEY_COMBO);
    SendMessageA(keyCombo_, CB_RESETCONTENT, 0, 0);
    for (unsigned vk : choices_) {
        char name[KeyNameBufferSize] = {};
        LoadStringA(instance_, vk, name, KeyNameBufferSize);
        SendMessageA(keyCombo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    const int position = ChoicePosition(choices_.data(), choices_.size(), OfferedKey(stroke_.vk));
    SendMessageA(keyCombo_, CB_SETCURSEL, static_cast<WPARAM>(position), 0);

    CheckDlgButton(dialog, IDC_CHECK_CTRL, stroke_.ctrl ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_CHECK_ALT, stroke_.alt ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_CHECK_SHIFT, stroke_.shift ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_CHECK_WIN, stroke_.win ? BST_CHECKED : BST_UNCHECKED);
}

bool KeyPicker::Store()
{
    KeyStroke picked;
    picked.ctrl = IsDlgButtonChecked(dialog_, IDC_CHECK_CTRL) == BST_CHECKED;
    picked.alt = IsDlgButtonChecked(dialog_, IDC_CHECK_ALT) == BST_CHECKED;
    picked.shift = IsDlgButtonChecked(dialog_, IDC_CHECK_SHIFT) == BST_CHECKED;
    picked.win = IsDlgButtonChecked(dialog_, IDC_CHECK_WIN) == BST_CHECKED;
    const LRESULT position = SendMessageA(keyCombo_, CB_GETCURSEL, 0, 0);
    if (position >= 0 && position < ChoiceCount) {
        picked.vk = choices_[static_cast<std::size_t>(position)];
    }
    if (picked.toCode() == 0) {
        return false;
    }
    stroke_ = picked;
    return true;
}
