// The about box: program name and version, and two statics painted and opened as links
// (the maker's web page and the support mail address).
#pragma once
#include "ui/DialogBinding.h"

#include <windows.h>

#include <string>

class AboutDialog {
public:
    // Opens an address with its default program; replaceable so tests need no browser.
    using Opener = void (*)(HWND owner, const std::string& address);
    static void ShellOpen(HWND owner, const std::string& address);

    explicit AboutDialog(HINSTANCE instance, Opener opener = &AboutDialog::ShellOpen);
    AboutDialog(const AboutDialog&) = delete;
    AboutDialog& operator=(const AboutDialog&) = delete;
    ~AboutDialog();

    // Always 0.
    INT_PTR Run(HWND owner);

    static constexpr int IconControl = 1046;
    static constexpr int WebLink = 1049;
    static constexpr int MailLink = 1050;
    static constexpr COLORREF LinkColour = RGB(0, 0, 255);
    static constexpr COLORREF HotLinkColour = RGB(255, 128, 0);

private:
    friend struct DialogBinding<AboutDialog>;
    INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void initialise();
    // Shared by the links and the dialog: `target` is the window that got WM_SETCURSOR.
    BOOL onSetCursor(HWND target);
    void paintLink(HWND link);
    void onCommand(int id, int code);
    void showHiddenMenu();
    void releaseFont();

    HINSTANCE instance_;
    HWND webLink_ = nullptr;
    HWND mailLink_ = nullptr;
    HWND window_ = nullptr;
    WNDPROC previousLinkProc_ = nullptr;
    HCURSOR handCursor_ = nullptr;
    HCURSOR arrowCursor_ = nullptr;
    LOGFONTA linkLogFont_ = {};
    HFONT linkFont_ = nullptr;
    bool webHot_ = false;
    bool mailHot_ = false;
    Opener opener_;
};
