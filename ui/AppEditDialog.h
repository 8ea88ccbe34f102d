// The application registration dialog: edits the name and executable path of a working
// copy of one application, or asks for the application to be deleted.
#pragma once
#include "ui/DialogBinding.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

class AppEntry;

// An icon taken from an executable; the system's shared icons are never destroyed.
class OwnedIcon {
public:
    OwnedIcon() = default;
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    ~OwnedIcon() { reset(); }

    HICON get() const { return icon_; }
    // Takes an icon the caller must release (owned) or a shared one (not owned).
    void reset(HICON icon = nullptr, bool owned = false);
    void swap(OwnedIcon& other) noexcept;

private:
    HICON icon_ = nullptr;
    bool owned_ = false;
};

// The first small or large icon of an executable, or the default application icon when
// the file yields none.
void LoadExecutableIcon(OwnedIcon& holder, const char* path, bool large);

class AppEditDialog {
public:
    // Results of Run besides IDOK (1) and 0 for cancel.
    static constexpr INT_PTR ResultDelete = 2;

    static constexpr int DeleteButton = 1015;
    static constexpr int BrowseButton = 1016;
    static constexpr int NameField = 1037;
    static constexpr int PathField = 1004;
    static constexpr int IconControl = 1038;

    AppEditDialog(AppEntry& entry, HINSTANCE instance);
    AppEditDialog(const AppEditDialog&) = delete;
    AppEditDialog& operator=(const AppEditDialog&) = delete;

    // 0: cancelled, 1: the entry holds the new name and path, 2: delete the application.
    INT_PTR Run(HWND owner);

    const std::string& pathText() const { return pathText_; }

private:
    friend struct DialogBinding<AppEditDialog>;
    INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void initialise();
    void onCommand(int id, int code);
    void validatePath();
    void showIcon();
    void clearIcon();
    void browse();
    void confirmDelete();
    void accept();

    AppEntry& entry_;
    HINSTANCE instance_;
    std::string pathText_;
    OPENFILENAMEA fileDialog_ = {};
    HWND window_ = nullptr;
    HWND okButton_ = nullptr;
    HWND deleteButton_ = nullptr;
    HWND browseButton_ = nullptr;
    HWND nameField_ = nullptr;
    HWND pathField_ = nullptr;
    HWND iconControl_ = nullptr;
    OwnedIcon icon_;
};
