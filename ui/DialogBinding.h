// The base of every dialog: binds the object to its window (the object handed to
// DialogBoxParamA arrives with WM_INITDIALOG and is kept in GWLP_USERDATA, cleared again at
// WM_NCDESTROY), owns the window handle and the instance, opens the dialog's help page for
// button 500, and subclasses controls so that their old procedure always comes back.
#pragma once
#include <windows.h>

#include <array>

class DialogBase {
public:
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    HWND window() const { return window_; }
    HINSTANCE instance() const { return instance_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }

protected:
    // helpPage: the page that button 500 opens, or null for a dialog without help.
    DialogBase(HINSTANCE instance, const char* templateName, const char* helpPage = nullptr);
    virtual ~DialogBase() = default;

    // Runs the template as a modal dialog bound to this object.
    INT_PTR RunModal(HWND owner);

    // Every message from WM_INITDIALOG to WM_NCDESTROY, window() already set; the result
    // is the dialog procedure's.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Sends the control's messages to OnControlMessage until it is destroyed, when its
    // previous procedure is put back.
    bool Subclass(HWND control);
    // What a subclassed control does not handle itself goes to CallPrevious.
    virtual LRESULT OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallPrevious(HWND control, UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    struct SubclassedControl {
        HWND control = nullptr;
        WNDPROC previous = nullptr;
    };
    WNDPROC PreviousOf(HWND control) const;

    HINSTANCE instance_;
    const char* templateName_;
    const char* helpPage_;
    HWND window_ = nullptr;
    std::array<SubclassedControl, 4> subclassed_ = {};
};
