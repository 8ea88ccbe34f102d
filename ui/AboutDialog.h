// The about box: program name and version, and two statics painted and opened as links
// (the maker's web page and the support mail address).
#pragma once
#include "ui/DialogBinding.h"
#include "win32/Handles.h"

#include <windows.h>

#include <string>

class AboutDialog : public DialogBase {
public:
    // Opens an address with its default program; replaceable so tests need no browser.
    using Opener = void (*)(HWND owner, const std::string& address);
    static void ShellOpen(HWND owner, const std::string& address);

    explicit AboutDialog(HINSTANCE instance, Opener opener = &AboutDialog::ShellOpen);

    // Always 0.
    INT_PTR Run(HWND owner);

    static constexpr COLORREF LinkColour = RGB(0, 0, 255);
    static constexpr COLORREF HotLinkColour = RGB(255, 128, 0);

private:
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void forgetControls() override;
    // The links paint themselves and set the cursor over them.
    LRESULT onControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;

    void initialise();
    // Shared by the links and the dialog: `target` is the window that got WM_SETCURSOR.
    BOOL onSetCursor(HWND target);
    void paintLink(HWND link);
    void onCommand(int id, int code);
    void showHiddenMenu();

    HWND webLink_ = nullptr;
    HWND mailLink_ = nullptr;
    HCURSOR handCursor_ = nullptr;
    HCURSOR arrowCursor_ = nullptr;
    LOGFONTA linkLogFont_ = {};
    OwnedFont linkFont_;
    bool webHot_ = false;
    bool mailHot_ = false;
    Opener opener_;
};
