// The application registration dialog: edits the name and executable path of a working
// copy of one application, or asks for the application to be deleted.
#pragma once
#include "ui/DialogBinding.h"
#include "win32/Handles.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

class AppEntry;

class AppEditDialog : public DialogBase {
public:
    // The result of Run, besides IDOK and Cancelled, that asks for the application to be deleted.
    static constexpr INT_PTR ResultDelete = 2;

    AppEditDialog(AppEntry& entry, HINSTANCE instance);

    // Cancelled; IDOK: the entry holds the new name and path; ResultDelete: delete the application.
    INT_PTR Run(HWND owner);

    const std::string& pathText() const { return pathText_; }

private:
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void forgetControls() override;

    void initialise();
    void onCommand(int id, int code);
    void validatePath();
    void showIcon();
    void clearIcon();
    void browse();
    void confirmDelete();
    void accept();

    AppEntry& entry_;
    std::string pathText_;
    OPENFILENAMEA fileDialog_ = {};
    HWND okButton_ = nullptr;
    HWND deleteButton_ = nullptr;
    HWND browseButton_ = nullptr;
    HWND nameField_ = nullptr;
    HWND pathField_ = nullptr;
    HWND iconControl_ = nullptr;
    OwnedIcon icon_;
};
