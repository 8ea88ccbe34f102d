// The part of a dialog that chooses one key combination: the key drop-down 1002 and the
// Ctrl, Alt, Shift and Win check boxes 1009-1012, bound to one KeyStroke. The output key
// dialog, the action editor and the hotkey dialog each hold one.
#pragma once
#include "model/KeyStroke.h"
#include "ui/KeyVocabulary.h"

#include <windows.h>

#include <array>
#include <cstddef>

class KeyPicker {
public:
    static constexpr int ChoiceCount = static_cast<int>(KeyChoiceCount);

    // The stroke must outlive the picker; it is read only at Init.
    KeyPicker(KeyStroke& stroke, HINSTANCE instance);
    KeyPicker(const KeyPicker&) = delete;
    KeyPicker& operator=(const KeyPicker&) = delete;

    // The list position that stands for vk: the last one that offers it, or 0 (the blank
    // entry) when none does.
    static int ChoicePosition(const unsigned* choices, std::size_t count, unsigned vk);

    // At WM_INITDIALOG: fills the drop-down of that dialog and sets the controls from the
    // bound stroke. A ";" stored as 185 opens on the ";" offered, so OK stores the 187 a
    // keyboard sends.
    void Init(HWND dialog);
    // Writes the controls back into the bound stroke. False, with the stroke unchanged,
    // when they describe no key and no modifier.
    bool Store();
    // At WM_NCDESTROY.
    void Forget()
    {
        dialog_ = nullptr;
        keyCombo_ = nullptr;
    }

private:
    KeyStroke& stroke_;
    HWND dialog_ = nullptr;
    std::array<unsigned, ChoiceCount> choices_;
    HINSTANCE instance_;
    HWND keyCombo_ = nullptr;
};
