// Binds a dialog object to its window: the object handed to DialogBoxParamA arrives with
// WM_INITDIALOG and is kept in the window's GWLP_USERDATA; one static procedure fetches it
// for every later message and calls the object's member.
//
// A dialog class declares `friend struct DialogBinding<ItsClass>;` and a private member
// `INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)` that
// records the handle at WM_INITDIALOG and clears it at WM_NCDESTROY.
#pragma once
#include <windows.h>

template <class Dialog>
struct DialogBinding {
    static INT_PTR Run(HINSTANCE instance, const char* templateName, HWND owner, Dialog& dialog)
    {
        return DialogBoxParamA(instance, templateName, owner, &Procedure,
                               reinterpret_cast<LPARAM>(&dialog));
    }

    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        }
        auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        // Messages that come before WM_INITDIALOG (WM_SETFONT) find no object yet.
        if (dialog == nullptr) {
            return FALSE;
        }
        const INT_PTR result = dialog->HandleMessage(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        }
        return result;
    }
};
