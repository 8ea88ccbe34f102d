// The base of every dialog: binds the object to its window (the object handed to
// DialogBoxParamA arrives with WM_INITDIALOG and is kept in GWLP_USERDATA, cleared again at
// WM_NCDESTROY, when the dialog also forgets its control handles), owns the window handle
// and the instance, opens the dialog's help page for its help button, and subclasses
// controls through comctl32, which puts their own procedure back when they go.
#pragma once
#include <windows.h>

class DialogBase {
public:
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // What a dialog's run returns besides IDOK and a dialog's own named results: Cancel,
    // Esc and the close box.
    static constexpr INT_PTR Cancelled = 0;

    HWND window() const { return window_; }
    HINSTANCE instance() const { return instance_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }

protected:
    // helpPage: the page that the help button opens, or null for a dialog without help.
    DialogBase(HINSTANCE instance, const char* templateName, const char* helpPage = nullptr);
    virtual ~DialogBase() = default;

    // Runs the template as a modal dialog bound to this object.
    INT_PTR runModal(HWND owner);

    // Every message from WM_INITDIALOG to WM_NCDESTROY, window() already set; the result
    // is the dialog procedure's.
    virtual INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // At WM_NCDESTROY, after onMessage: the dialog drops the handles it keeps of its controls.
    virtual void forgetControls() {}

    // Sends the control's messages to onControlMessage until it is destroyed.
    bool subclass(HWND control);
    // What a subclassed control does not handle itself goes to callPrevious.
    virtual LRESULT onControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT callPrevious(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                             DWORD_PTR dialog);

    HINSTANCE instance_;
    const char* templateName_;
    const char* helpPage_;
    HWND window_ = nullptr;
};
