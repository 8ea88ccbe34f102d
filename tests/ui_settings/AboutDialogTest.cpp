// The about box under Wine: link colours and cursors while hovering, the addresses the
// links open, and the hidden menu that only a double click on the icon brings up.
#include "res/resource.h"
#include "tests/support/DialogTestSupport.h"
#include "ui/AboutDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dialogtest;

namespace {

std::vector<std::string> openedAddresses;

void RecordOpen(HWND, const std::string& address) { openedAddresses.push_back(address); }

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// Pixels of exactly this colour in the link's client area (the underline is drawn in the
// text colour, so a link always has some).
int CountPixels(HWND window, COLORREF colour)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = client.top; y < client.bottom; ++y)
        for (int x = client.left; x < client.right; ++x)
            if (GetPixel(dc, x, y) == colour)
                ++count;
    ReleaseDC(window, dc);
    return count;
}

LRESULT HoverOver(HWND target, HWND messageWindow)
{
    return SendMessageA(messageWindow, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

struct LinkColours {
    int webBlue, webOrange, mailBlue, mailOrange;
};

LinkColours ColoursOf(HWND dialog)
{
    HWND web = Control(dialog, AboutDialog::WebLink);
    HWND mail = Control(dialog, AboutDialog::MailLink);
    return {CountPixels(web, AboutDialog::LinkColour), CountPixels(web, AboutDialog::HotLinkColour),
            CountPixels(mail, AboutDialog::LinkColour), CountPixels(mail, AboutDialog::HotLinkColour)};
}

// A visible pop-up menu window of this thread, if any.
HWND VisibleMenu()
{
    HWND menu = nullptr;
    while ((menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr) {
        if (IsWindowVisible(menu) && GetWindowThreadProcessId(menu, nullptr) == GetCurrentThreadId())
            return menu;
    }
    return nullptr;
}

struct MenuWatch {
    static inline int menusSeen = 0;
    static inline std::vector<std::string> items;
    static inline RECT shownAt{};
    // Runs inside the menu's own modal loop: notes what is shown, then closes it.
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND window = VisibleMenu();
        if (!window)
            return;
        ++menusSeen;
        GetWindowRect(window, &shownAt);
        items.clear();
        if (auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0))) {
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                char text[256] = {};
                GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
                items.push_back(text);
            }
        }
        EndMenu();
    }
};

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        openedAddresses.clear();
        MenuWatch::menusSeen = 0;
        MenuWatch::items.clear();
        // The pointer rests outside the dialog so that only the test moves "over" the links.
        SetCursorPos(1000, 10);
    }
};

TEST_F(AboutDialogTest, Template_ShowsVersionNoticeAndLinkTexts)
{
    DialogDriver driver;
    std::string web, mail, caption;
    driver.OnNextDialog([&](HWND dialog) {
        caption = Text(dialog);
        web = ControlText(dialog, AboutDialog::WebLink);
        mail = ControlText(dialog, AboutDialog::MailLink);
        Click(dialog, IDOK);
    });
    AboutDialog about(Instance(), &RecordOpen);
    EXPECT_EQ(about.Run(nullptr), 0);
    EXPECT_EQ(caption, "バージョン情報");
    EXPECT_EQ(web, "https://varokinto.example.org/");
    EXPECT_EQ(mail, "support@varokinto.example.org");
    EXPECT_EQ(driver.dialogsLeftOpen(), 0);
}

// Width and height the text needs in the control's font, against its client area.
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

TEST_F(AboutDialogTest, NoticeAndLinks_FitTheirControlsOnOneLine)
{
    DialogDriver driver;
    std::vector<std::pair<SIZE, RECT>> seen;
    driver.OnNextDialog([&](HWND dialog) {
        HWND notice = nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (Text(child) == "(C) 2026 Varokinto Project")
                notice = child;
        for (HWND control : {notice, Control(dialog, AboutDialog::WebLink), Control(dialog, AboutDialog::MailLink)}) {
            RECT client{};
            if (control)
                GetClientRect(control, &client);
            seen.emplace_back(control ? TextNeeds(control) : SIZE{9999, 9999}, client);
        }
        Click(dialog, IDOK);
    });
    AboutDialog(Instance(), &RecordOpen).Run(nullptr);
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& [needs, client] : seen) {
        EXPECT_LE(needs.cx, client.right);
        EXPECT_LE(needs.cy, client.bottom);
    }
}

TEST_F(AboutDialogTest, Hover_TurnsTheLinkUnderThePointerOrangeWithTheHandCursor)
{
    DialogDriver driver;
    LinkColours before{}, overWeb{}, overMail{}, away{};
    HCURSOR cursorOverWeb = nullptr, cursorOverMail = nullptr, cursorAway = nullptr;
    LRESULT firstAway = -1, secondAway = -1;
    driver.OnNextDialog([&](HWND dialog) {
        HWND web = Control(dialog, AboutDialog::WebLink);
        HWND mail = Control(dialog, AboutDialog::MailLink);
        before = ColoursOf(dialog);
        HoverOver(web, web);
        cursorOverWeb = GetCursor();
        overWeb = ColoursOf(dialog);
        HoverOver(mail, mail);
        cursorOverMail = GetCursor();
        overMail = ColoursOf(dialog);
        firstAway = HoverOver(dialog, dialog);
        cursorAway = GetCursor();
        away = ColoursOf(dialog);
        secondAway = HoverOver(dialog, dialog);
        Click(dialog, IDOK);
    });
    AboutDialog about(Instance(), &RecordOpen);
    about.Run(nullptr);

    const HCURSOR hand = LoadCursorA(Instance(), MAKEINTRESOURCEA(IDC_LINK_HAND));
    const HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    EXPECT_GT(before.webBlue, 0);
    EXPECT_GT(before.mailBlue, 0);
    EXPECT_EQ(before.webOrange + before.mailOrange, 0);

    EXPECT_EQ(overWeb.webBlue, 0);
    EXPECT_GT(overWeb.webOrange, 0);
    EXPECT_GT(overWeb.mailBlue, 0);
    EXPECT_EQ(overWeb.mailOrange, 0);
    EXPECT_EQ(cursorOverWeb, hand);

    EXPECT_GT(overMail.webBlue, 0);
    EXPECT_EQ(overMail.webOrange, 0);
    EXPECT_EQ(overMail.mailBlue, 0);
    EXPECT_GT(overMail.mailOrange, 0);
    EXPECT_EQ(cursorOverMail, hand);

    // Leaving the links: both blue again and the arrow, once; after that the default
    // cursor handling is left alone.
    EXPECT_EQ(firstAway, TRUE);
    EXPECT_EQ(cursorAway, arrow);
    EXPECT_GT(away.webBlue, 0);
    EXPECT_GT(away.mailBlue, 0);
    EXPECT_EQ(away.webOrange + away.mailOrange, 0);
    EXPECT_EQ(secondAway, FALSE);
}

TEST_F(AboutDialogTest, RealPointerMove_OverTheWebLinkTurnsItOrange)
{
    DialogDriver driver;
    LinkColours over{};
    driver.OnNextDialog([&](HWND dialog) {
        HWND web = Control(dialog, AboutDialog::WebLink);
        RECT rect;
        GetWindowRect(web, &rect);
        SetCursorPos(rect.left + 4, rect.top + 3);
        PumpUntil([&] { return CountPixels(web, AboutDialog::HotLinkColour) > 0; }, 2000);
        over = ColoursOf(dialog);
        SetCursorPos(1000, 10);
        Click(dialog, IDOK);
    });
    AboutDialog about(Instance(), &RecordOpen);
    about.Run(nullptr);
    EXPECT_GT(over.webOrange, 0);
    EXPECT_EQ(over.webBlue, 0);
    EXPECT_GT(over.mailBlue, 0);
}

TEST_F(AboutDialogTest, ClickingTheLinks_OpensThePageAndMailtoWithTheAddress)
{
    DialogDriver driver;
    driver.OnNextDialog([&](HWND dialog) {
        for (int id : {AboutDialog::WebLink, AboutDialog::MailLink}) {
            HWND link = Control(dialog, id);
            PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            PumpMessagesFor(100);
        }
        Click(dialog, IDOK);
    });
    AboutDialog about(Instance(), &RecordOpen);
    about.Run(nullptr);
    EXPECT_EQ(openedAddresses,
              (std::vector<std::string>{"https://varokinto.example.org/", "mailto:support@varokinto.example.org"}));
}

TEST_F(AboutDialogTest, HiddenMenu_OpensOnlyOnADoubleClickOfTheIcon)
{
    DialogDriver driver;
    int afterSingleClick = -1, afterDoubleClick = -1;
    RECT iconRect{};
    driver.OnNextDialog([&](HWND dialog) {
        HWND icon = Control(dialog, AboutDialog::IconControl);
        GetWindowRect(icon, &iconRect);
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, &MenuWatch::Tick);
        PostMessageA(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(icon, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        PumpMessagesFor(300);
        afterSingleClick = MenuWatch::menusSeen;
        PostMessageA(icon, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(icon, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        PumpUntil([] { return MenuWatch::menusSeen > 0; }, 3000);
        afterDoubleClick = MenuWatch::menusSeen;
        KillTimer(nullptr, timer);
        Click(dialog, IDOK);
    });
    AboutDialog about(Instance(), &RecordOpen);
    EXPECT_EQ(about.Run(nullptr), 0);
    EXPECT_EQ(afterSingleClick, 0);
    EXPECT_EQ(afterDoubleClick, 1);
    // Its top-left corner at the icon's bottom-left corner.
    EXPECT_EQ(MenuWatch::shownAt.left, iconRect.left);
    EXPECT_EQ(MenuWatch::shownAt.top, iconRect.bottom);
    EXPECT_EQ(MenuWatch::items,
              (std::vector<std::string>{"", "", "", "隠しメニューだよ　　ｖ（・_____________・）ｖ",
                                        "そのうちお遊びの内容を入れたいな♪", "", "", ""}));
    EXPECT_TRUE(openedAddresses.empty());
}

}  // namespace
