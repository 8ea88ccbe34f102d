// The part of a dialog that chooses one key combination: the key drop-down 1002 and the
// Ctrl, Alt, Shift and Win check boxes 1009-1012, bound to one KeyStroke. The output key
// dialog, the action editor and the hotkey dialog all derive from it.
#pragma once
#include "model/KeyStroke.h"

#include <windows.h>

#include <array>
#include <cstddef>

class KeyPicker {
public:
    static constexpr int ChoiceCount = 98;

    KeyPicker(KeyStroke& stroke, HINSTANCE instance);
    virtual ~KeyPicker();
    KeyPicker(const KeyPicker&) = delete;
    KeyPicker& operator=(const KeyPicker&) = delete;

    // The list position that stands for vk: the last one that offers it, or 0 (the blank
    // entry) when none does.
    static int ChoicePosition(const unsigned* choices, std::size_t count, unsigned vk);

protected:
    // Called at WM_INITDIALOG: records the window, fills the drop-down, sets the controls
    // from the bound stroke.
    void InitPicker(HWND window);
    // Writes the controls back into the bound stroke. False, with the stroke unchanged,
    // when they describe no key and no modifier.
    bool StorePicker();
    // Called at WM_NCDESTROY.
    void ForgetWindow() { window_ = nullptr; keyCombo_ = nullptr; }

    HWND window() const { return window_; }
    HINSTANCE instance() const { return instance_; }

private:
    KeyStroke& stroke_;
    HWND window_ = nullptr;
    std::array<unsigned, ChoiceCount> choices_;
    HINSTANCE instance_;
    HWND keyCombo_ = nullptr;
};
