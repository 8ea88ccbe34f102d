#include "ui/OutputKeyDialog.h"

OutputKeyDialog::OutputKeyDialog(KeyStroke& stroke, HINSTANCE instance) : KeyPicker(stroke, instance)
{
}

INT_PTR OutputKeyDialog::Run(HWND owner)
{
    return DialogBinding<OutputKeyDialog>::Run(instance(), "KEY_SET", owner, *this);
}

INT_PTR OutputKeyDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPicker(window);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            // An empty choice leaves the stroke as it was; the caller looks at the stroke.
            StorePicker();
            EndDialog(window, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(window, 0);
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        ForgetWindow();
        return FALSE;
    }
    return FALSE;
}
