#include "ui/DialogBinding.h"

#include "res/resource.h"
#include "ui/HelpLauncher.h"

DialogBase::DialogBase(HINSTANCE instance, const char* templateName, const char* helpPage)
    : instance_(instance), templateName_(templateName), helpPage_(helpPage)
{
}

INT_PTR DialogBase::RunModal(HWND owner)
{
    return DialogBoxParamA(instance_, templateName_, owner, &Procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
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
    const INT_PTR result = dialog->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        dialog->window_ = nullptr;
    }
    return result;
}

bool DialogBase::Subclass(HWND control)
{
    for (SubclassedControl& slot : subclassed_) {
        if (slot.control != nullptr) continue;
        SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        const auto previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProcedure)));
        if (previous == nullptr) return false;
        slot = {control, previous};
        return true;
    }
    return false;
}

LRESULT DialogBase::OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallPrevious(control, message, wParam, lParam);
}

WNDPROC DialogBase::PreviousOf(HWND control) const
{
    for (const SubclassedControl& slot : subclassed_) {
        if (slot.control == control) return slot.previous;
    }
    return nullptr;
}

LRESULT DialogBase::CallPrevious(HWND control, UINT message, WPARAM wParam, LPARAM lParam) const
{
    const WNDPROC previous = PreviousOf(control);
    return previous != nullptr ? CallWindowProcA(previous, control, message, wParam, lParam)
                               : DefWindowProcA(control, message, wParam, lParam);
}

LRESULT CALLBACK DialogBase::ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* dialog = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(control, GWLP_USERDATA));
    if (dialog == nullptr) {
        return DefWindowProcA(control, message, wParam, lParam);
    }
    if (message != WM_NCDESTROY) {
        return dialog->OnControlMessage(control, message, wParam, lParam);
    }
    // The control's last message: its own procedure comes back before it handles it.
    for (SubclassedControl& slot : dialog->subclassed_) {
        if (slot.control != control) continue;
        const WNDPROC previous = slot.previous;
        slot = {};
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SetWindowLongPtrA(control, GWLP_USERDATA, 0);
        return CallWindowProcA(previous, control, message, wParam, lParam);
    }
    return DefWindowProcA(control, message, wParam, lParam);
}
