#include "ui/DialogBinding.h"

#include "res/resource.h"
#include "ui/HelpLauncher.h"

#include <commctrl.h>

namespace {

// One subclass per control and dialog: the dialog's object tells the controls apart.
constexpr UINT_PTR SubclassId = 1;

}  // namespace

DialogBase::DialogBase(HINSTANCE instance, const char* templateName, const char* helpPage)
    : instance_(instance), templateName_(templateName), helpPage_(helpPage)
{}

INT_PTR DialogBase::runModal(HWND owner)
{
    return DialogBoxParamA(instance_, templateName_, owner, &procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogBase::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        reinterpret_cast<DialogBase*>(lParam)->window_ = window;
    }
    auto* dialog = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    // Messages that come before WM_INITDIALOG (WM_SETFONT) find no object yet.
    if (dialog == nullptr) {
        return FALSE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_HELP_BUTTON && dialog->helpPage_ != nullptr) {
        // The help window stands on its own, beside the dialog and not owned by it.
        OpenHelpPage(nullptr, dialog->helpPage_);
        return TRUE;
    }
    const INT_PTR result = dialog->onMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        dialog->forgetControls();
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        dialog->window_ = nullptr;
    }
    return result;
}

bool DialogBase::subclass(HWND control)
{
    return SetWindowSubclass(control, &controlProcedure, SubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

LRESULT DialogBase::onControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    return callPrevious(control, message, wParam, lParam);
}

LRESULT DialogBase::callPrevious(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(control, message, wParam, lParam);
}

LRESULT CALLBACK DialogBase::controlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR dialog)
{
    if (message != WM_NCDESTROY) {
        return reinterpret_cast<DialogBase*>(dialog)->onControlMessage(control, message, wParam, lParam);
    }
    // The control's last message: the subclass goes before the control handles it.
    RemoveWindowSubclass(control, &controlProcedure, id);
    return DefSubclassProc(control, message, wParam, lParam);
}
