#include "ui/OutputKeyDialog.h"

OutputKeyDialog::OutputKeyDialog(KeyStroke& stroke, HINSTANCE instance)
    : DialogBase(instance, "KEY_SET"), picker_(stroke, instance)
{}

INT_PTR OutputKeyDialog::onMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        picker_.Init(window());
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            // An empty choice leaves the stroke as it was; the caller looks at the stroke.
            picker_.Store();
            EndDialog(window(), IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(window(), Cancelled);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void OutputKeyDialog::forgetControls()
{
    picker_.Forget();
}
