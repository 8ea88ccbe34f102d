// The hotkey and timing dialog (template PROPERTY): whether the settings hotkey is used,
// which key it is, and the time between actions. Saves property.ini on OK.
#pragma once
#include "model/Settings.h"
#include "ui/DialogBinding.h"
#include "ui/KeyPicker.h"

class PropertyDialog : public KeyPicker {
public:
    // Edits the shared settings in place, and only when OK is accepted.
    PropertyDialog(Settings& settings, HINSTANCE instance);

    // 1 when the values were accepted and saved; 0 on Cancel, Esc or the close box.
    INT_PTR Run(HWND owner);

private:
    friend struct DialogBinding<PropertyDialog>;
    INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void OnInitDialog(HWND window);
    // The hotkey controls follow the tick of 1028.
    void ApplyEnabling();
    void Confirm();

    Settings& settings_;
    HWND keyCombo_ = nullptr;
    HWND ctrlBox_ = nullptr;
    HWND altBox_ = nullptr;
    HWND shiftBox_ = nullptr;
    HWND winBox_ = nullptr;
    HWND plusStatic_ = nullptr;
    HWND timerEdit_ = nullptr;
};
