#include "ui/AboutDialog.h"

#include "res/resource.h"
#include "ui/Controls.h"

#include <shellapi.h>

namespace {

constexpr char MailPrefix[] = "mailto:";

}  // namespace

void AboutDialog::ShellOpen(HWND owner, const std::string& address)
{
    ShellExecuteA(owner, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

AboutDialog::AboutDialog(HINSTANCE instance, Opener opener) : DialogBase(instance, "VERSIONDLG"), opener_(opener) {}

INT_PTR AboutDialog::Run(HWND owner)
{
    runModal(owner);
    // The underlined font lives as long as the dialog shows it.
    linkFont_.reset();
    return 0;
}

INT_PTR AboutDialog::onMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise();
        return TRUE;
    case WM_SETCURSOR: {
        const BOOL handled = onSetCursor(window());
        // A dialog procedure's TRUE only keeps the default cursor away when the result says so too.
        SetWindowLongPtrA(window(), DWLP_MSGRESULT, handled);
        return handled;
    }
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void AboutDialog::forgetControls()
{
    webLink_ = mailLink_ = nullptr;
}

LRESULT AboutDialog::onControlMessage(HWND link, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paintLink(link);
        return 0;
    case WM_SETCURSOR:
        return onSetCursor(link);
    }
    return callPrevious(link, message, wParam, lParam);
}

void AboutDialog::initialise()
{
    webLink_ = control(IDC_WEB_LINK);
    mailLink_ = control(IDC_MAIL_LINK);

    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(webLink_, WM_GETFONT, 0, 0));
    GetObjectA(dialogFont ? static_cast<HGDIOBJ>(dialogFont) : GetStockObject(DEFAULT_GUI_FONT), sizeof linkLogFont_,
               &linkLogFont_);
    linkLogFont_.lfUnderline = TRUE;
    linkFont_.reset(CreateFontIndirectA(&linkLogFont_));
    SendMessageA(webLink_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
    SendMessageA(mailLink_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);

    subclass(webLink_);
    subclass(mailLink_);

    handCursor_ = LoadCursorA(instance(), MAKEINTRESOURCEA(IDC_LINK_HAND));
    arrowCursor_ = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

BOOL AboutDialog::onSetCursor(HWND target)
{
    if (target == webLink_ || target == mailLink_) {
        webHot_ = target == webLink_;
        mailHot_ = target == mailLink_;
        SetCursor(handCursor_);
        InvalidateRect(webLink_, nullptr, TRUE);
        InvalidateRect(mailLink_, nullptr, TRUE);
        return FALSE;
    }
    if (!webHot_ && !mailHot_)
        return FALSE;
    webHot_ = mailHot_ = false;
    InvalidateRect(webLink_, nullptr, TRUE);
    InvalidateRect(mailLink_, nullptr, TRUE);
    SetCursor(arrowCursor_);
    return TRUE;
}

void AboutDialog::paintLink(HWND link)
{
    const PaintDC paint(link);
    const HDC dc = paint.get();
    const SelectedObject font(dc, linkFont_.get());
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    const bool hot = link == webLink_ ? webHot_ : mailHot_;
    SetTextColor(dc, hot ? HotLinkColour : LinkColour);
    const std::string text = controlText(link);
    TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
}

void AboutDialog::onCommand(int id, int code)
{
    switch (id) {
    case IDOK:
    case IDCANCEL:
        EndDialog(window(), 0);
        break;
    case IDC_WEB_LINK:
        if (code == STN_CLICKED)
            opener_(window(), controlText(webLink_));
        break;
    case IDC_MAIL_LINK:
        if (code == STN_CLICKED)
            opener_(window(), MailPrefix + controlText(mailLink_));
        break;
    case IDC_ABOUT_ICON:
        if (code == STN_DBLCLK)
            showHiddenMenu();
        break;
    }
}

void AboutDialog::showHiddenMenu()
{
    // The hidden menu lives only while it is shown.
    const OwnedMenu menu(CreatePopupMenu());
    if (!menu)
        return;
    for (int i = 0; i < 3; ++i)
        AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, IDM_HIDDEN_1, "隠しメニューだよ　　ｖ（・_____________・）ｖ");
    AppendMenuA(menu.get(), MF_STRING, IDM_HIDDEN_2, "そのうちお遊びの内容を入れたいな♪");
    for (int i = 0; i < 3; ++i)
        AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);

    RECT icon;
    GetWindowRect(control(IDC_ABOUT_ICON), &icon);
    TrackPopupMenu(menu.get(), TPM_LEFTBUTTON, icon.left, icon.bottom, 0, window(), nullptr);
}
