#include "ui/AboutDialog.h"

#include "res/resource.h"

#include <shellapi.h>

namespace {

constexpr char MailPrefix[] = "mailto:";

std::string windowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

// The hidden menu lives only while it is shown.
struct MenuHolder {
    HMENU menu = CreatePopupMenu();
    ~MenuHolder() { if (menu) DestroyMenu(menu); }
};

}  // namespace

void AboutDialog::ShellOpen(HWND owner, const std::string& address)
{
    ShellExecuteA(owner, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

AboutDialog::AboutDialog(HINSTANCE instance, Opener opener) : instance_(instance), opener_(opener) {}

AboutDialog::~AboutDialog() { releaseFont(); }

INT_PTR AboutDialog::Run(HWND owner)
{
    DialogBinding<AboutDialog>::Run(instance_, "VERSIONDLG", owner, *this);
    releaseFont();
    return 0;
}

void AboutDialog::releaseFont()
{
    if (linkFont_) {
        DeleteObject(linkFont_);
        linkFont_ = nullptr;
    }
}

INT_PTR AboutDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        window_ = window;
        initialise();
        return TRUE;
    case WM_SETCURSOR: {
        const BOOL handled = onSetCursor(window);
        // A dialog procedure's TRUE only keeps the default cursor away when the result says so too.
        SetWindowLongPtrA(window, DWLP_MSGRESULT, handled);
        return handled;
    }
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NCDESTROY:
        window_ = nullptr;
        return FALSE;
    }
    return FALSE;
}

LRESULT CALLBACK AboutDialog::LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<AboutDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT:
        self->paintLink(window);
        return 0;
    case WM_SETCURSOR:
        return self->onSetCursor(window);
    }
    return CallWindowProcA(self->previousLinkProc_, window, message, wParam, lParam);
}

void AboutDialog::initialise()
{
    webLink_ = GetDlgItem(window_, WebLink);
    mailLink_ = GetDlgItem(window_, MailLink);

    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(webLink_, WM_GETFONT, 0, 0));
    GetObjectA(dialogFont ? static_cast<HGDIOBJ>(dialogFont) : GetStockObject(DEFAULT_GUI_FONT),
               sizeof linkLogFont_, &linkLogFont_);
    linkLogFont_.lfUnderline = TRUE;
    releaseFont();
    linkFont_ = CreateFontIndirectA(&linkLogFont_);
    SendMessageA(webLink_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), FALSE);
    SendMessageA(mailLink_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), FALSE);

    // Both links are statics, so one previous procedure serves both.
    previousLinkProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(webLink_, GWLP_WNDPROC));
    for (HWND link : {webLink_, mailLink_}) {
        SetWindowLongPtrA(link, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AboutDialog::LinkProc));
    }

    handCursor_ = LoadCursorA(instance_, MAKEINTRESOURCEA(IDC_LINK_HAND));
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
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(link, &paint);
    const HGDIOBJ oldFont = SelectObject(dc, linkFont_);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    const bool hot = link == webLink_ ? webHot_ : mailHot_;
    SetTextColor(dc, hot ? HotLinkColour : LinkColour);
    const std::string text = windowText(link);
    TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, oldFont);
    EndPaint(link, &paint);
}

void AboutDialog::onCommand(int id, int code)
{
    switch (id) {
    case IDOK:
    case IDCANCEL:
        EndDialog(window_, 0);
        break;
    case WebLink:
        if (code == STN_CLICKED)
            opener_(window_, windowText(webLink_));
        break;
    case MailLink:
        if (code == STN_CLICKED)
            opener_(window_, MailPrefix + windowText(mailLink_));
        break;
    case IconControl:
        if (code == STN_DBLCLK)
            showHiddenMenu();
        break;
    }
}

void AboutDialog::showHiddenMenu()
{
    MenuHolder holder;
    if (!holder.menu)
        return;
    for (int i = 0; i < 3; ++i)
        AppendMenuA(holder.menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(holder.menu, MF_STRING, IDM_HIDDEN_1, "隠しメニューだよ　　ｖ（・_____________・）ｖ");
    AppendMenuA(holder.menu, MF_STRING, IDM_HIDDEN_2, "そのうちお遊びの内容を入れたいな♪");
    for (int i = 0; i < 3; ++i)
        AppendMenuA(holder.menu, MF_SEPARATOR, 0, nullptr);

    RECT icon;
    GetWindowRect(GetDlgItem(window_, IconControl), &icon);
    TrackPopupMenu(holder.menu, TPM_LEFTBUTTON, icon.left, icon.bottom, 0, window_, nullptr);
}
