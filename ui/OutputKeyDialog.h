// The output key dialog (template KEY_SET): one key combination for an action's output list.
#pragma once
#include "ui/DialogBinding.h"
#include "ui/KeyPicker.h"

class OutputKeyDialog : public DialogBase {
public:
    OutputKeyDialog(KeyStroke& stroke, HINSTANCE instance);

    // IDOK on OK, whether or not the stroke changed (an empty choice is not stored);
    // Cancelled on Cancel, Esc or the close box.
    INT_PTR Run(HWND owner) { return runModal(owner); }

private:
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void forgetControls() override;

    KeyPicker picker_;
};
