// The about box under Wine: link colours and cursors while hovering, the addresses the
// links open, and the hidden menu that only a double click on the icon brings up.
#include "res/resource.h"
#include "tests/support/DialogDriver.h"
#include "ui/AboutDialog.h"

#include <gtest/gtest.h>

using namespace wt;

namespace {

std::vector<std::string> openedAddresses;
void RecordOpen(HWND, const std::string& address) { openedAddresses.push_back(address); }

// Pixels of exactly this colour in the control (the underline is drawn in the text colour,
// so a link always has some).
int CountPixels(HWND window, COLORREF colour)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) count += GetPixel(dc, x, y) == colour;
    }
    ReleaseDC(window, dc);
    return count;
}

// Which links show which colour: "B" blue, "O" orange, "-" neither, web link first.
std::string LinkColours(HWND dialog)
{
    std::string colours;
    for (int id : {IDC_WEB_LINK, IDC_MAIL_LINK}) {
        const bool blue = CountPixels(Control(dialog, id), AboutDialog::LinkColour) > 0;
        const bool orange = CountPixels(Control(dialog, id), AboutDialog::HotLinkColour) > 0;
        colours += blue && !orange ? 'B' : orange && !blue ? 'O' : '-';
    }
    return colours;
}

LRESULT HoverOver(HWND window)
{
    return SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

class AboutDialogTest : public ::testing::Test {
protected:
    INT_PTR Run(DialogDriver::Step step)
    {
        openedAddresses.clear();
        driver.OnNextDialog(std::move(step));
        return AboutDialog(GetModuleHandleA(nullptr), &RecordOpen).Run(nullptr);
    }
    void SetUp() override { SetCursorPos(1000, 10); }  // only the test moves over the links
    DialogDriver driver;
};

// Width and height the text needs in the control's font.
SIZE TextNeeds(HWND control)
{
    const std::string text = Text(control);
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

TEST_F(AboutDialogTest, Template_ShowsNoticeAndLinkTexts_EachFittingItsControlOnOneLine)
{
    std::string caption, web, mail;
    std::vector<std::pair<SIZE, RECT>> fits;
    const auto result = Run([&](HWND dialog) {
        caption = Text(dialog);
        web = ControlText(dialog, IDC_WEB_LINK);
        mail = ControlText(dialog, IDC_MAIL_LINK);
        HWND notice = nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (Text(child) == "(C) 2026 Varokinto Project") notice = child;
        }
        for (HWND control : {notice, Control(dialog, IDC_WEB_LINK), Control(dialog, IDC_MAIL_LINK)}) {
            RECT client{};
            if (control) GetClientRect(control, &client);
            fits.emplace_back(control ? TextNeeds(control) : SIZE{9999, 9999}, client);
        }
        Snapshot("VERSIONDLG");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(caption, "バージョン情報");
    EXPECT_EQ(web, "https://varokinto.example.org/");
    EXPECT_EQ(mail, "support@varokinto.example.org");
    for (const auto& [needs, client] : fits) {
        EXPECT_LE(needs.cx, client.right);
        EXPECT_LE(needs.cy, client.bottom);
    }
}

TEST_F(AboutDialogTest, Hover_TurnsTheLinkUnderThePointerOrangeWithTheHandCursor)
{
    std::string before, overWeb, overMail, away;
    HCURSOR cursorOverWeb = nullptr, cursorOverMail = nullptr, cursorAway = nullptr;
    LRESULT firstAway = -1, secondAway = -1;
    Run([&](HWND dialog) {
        before = LinkColours(dialog);
        HoverOver(Control(dialog, IDC_WEB_LINK));
        cursorOverWeb = GetCursor();
        overWeb = LinkColours(dialog);
        HoverOver(Control(dialog, IDC_MAIL_LINK));
        cursorOverMail = GetCursor();
        overMail = LinkColours(dialog);
        firstAway = HoverOver(dialog);
        cursorAway = GetCursor();
        away = LinkColours(dialog);
        secondAway = HoverOver(dialog);
        Click(dialog, IDOK);
    });
    const HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND));
    EXPECT_EQ(before, "BB");
    EXPECT_EQ(overWeb, "OB");
    EXPECT_EQ(cursorOverWeb, hand);
    EXPECT_EQ(overMail, "BO");
    EXPECT_EQ(cursorOverMail, hand);
    // Leaving the links: both blue again and the arrow, once; after that the default
    // cursor handling is left alone.
    EXPECT_EQ(away, "BB");
    EXPECT_EQ(firstAway, TRUE);
    EXPECT_EQ(cursorAway, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    EXPECT_EQ(secondAway, FALSE);
}

TEST_F(AboutDialogTest, ClickingTheLinks_OpensThePageAndMailtoWithTheAddress)
{
    Run([&](HWND dialog) {
        for (int id : {IDC_WEB_LINK, IDC_MAIL_LINK}) {
            PostMessageA(Control(dialog, id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            PostMessageA(Control(dialog, id), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            PumpFor(100);
        }
        Click(dialog, IDOK);
    });
    EXPECT_EQ(openedAddresses,
              (std::vector<std::string>{"https://varokinto.example.org/", "mailto:support@varokinto.example.org"}));
}

// Notes the menu shown, from inside the menu's own modal loop, then closes it.
struct MenuWatch {
    static inline int menusSeen = 0;
    static inline std::vector<std::string> items;
    static inline RECT shownAt{};
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND window = FindTopWindow(GetCurrentProcessId(), "#32768", nullptr, true);
        if (!window) return;
        ++menusSeen;
        GetWindowRect(window, &shownAt);
        items.clear();
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
        for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
            char text[256] = {};
            GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            items.push_back(text);
        }
        EndMenu();
    }
};

TEST_F(AboutDialogTest, HiddenMenu_OpensOnlyOnADoubleClickOfTheIcon)
{
    int afterSingleClick = -1, afterDoubleClick = -1;
    RECT iconRect{};
    const auto result = Run([&](HWND dialog) {
        HWND icon = Control(dialog, IDC_ABOUT_ICON);
        GetWindowRect(icon, &iconRect);
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, &MenuWatch::Tick);
        PostMessageA(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(icon, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        PumpFor(300);
        afterSingleClick = MenuWatch::menusSeen;
        PostMessageA(icon, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(icon, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        PumpUntil([] { return MenuWatch::menusSeen > 0; }, 3000);
        afterDoubleClick = MenuWatch::menusSeen;
        KillTimer(nullptr, timer);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(afterSingleClick, 0);
    EXPECT_EQ(afterDoubleClick, 1);
    // Its top-left corner at the icon's bottom-left corner.
    EXPECT_EQ(MenuWatch::shownAt.left, iconRect.left);
    EXPECT_EQ(MenuWatch::shownAt.top, iconRect.bottom);
    EXPECT_EQ(MenuWatch::items, (std::vector<std::string>{"", "", "", "隠しメニューだよ　　ｖ（・_____________・）ｖ",
                                                          "そのうちお遊びの内容を入れたいな♪", "", "", ""}));
    EXPECT_TRUE(openedAddresses.empty());
}

}  // namespace
