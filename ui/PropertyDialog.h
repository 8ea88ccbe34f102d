// The hotkey and timing dialog (template PROPERTY): whether the settings hotkey is used,
// which key it is, and the time between actions. Saves property.ini on OK.
#pragma once
#include "model/Settings.h"
#include "ui/DialogBinding.h"
#include "ui/KeyPicker.h"

class PropertyDialog : public DialogBase {
public:
    // Edits the shared settings in place, and only when OK is accepted.
    PropertyDialog(Settings& settings, HINSTANCE instance);

    // IDOK when the values were accepted and saved; Cancelled on Cancel, Esc or the close box.
    // A failed save is told and the dialog stays open, the settings as they were.
    INT_PTR Run(HWND owner) { return runModal(owner); }

private:
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void forgetControls() override;

    void initialise();
    // The hotkey controls follow the tick of 1028.
    void applyEnabling();
    void confirm();

    Settings& settings_;
    KeyPicker picker_;
    HWND keyCombo_ = nullptr;
    HWND ctrlBox_ = nullptr;
    HWND altBox_ = nullptr;
    HWND shiftBox_ = nullptr;
    HWND winBox_ = nullptr;
    HWND plusStatic_ = nullptr;
    HWND timerEdit_ = nullptr;
};
