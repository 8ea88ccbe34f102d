// What every dialog does with its controls, done one way: common controls set up once,
// texts read at their own length, list-view columns scaled to the dialog's DPI, list rows.
// The readers and the set-up are inline so that the test support can use them without the
// dialogs.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <initializer_list>
#include <string>

// The list view's window class; at start-up, and by tests that open dialogs on their own.
// A second call does no harm.
inline void initCommonControls()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

// The text of a window or control, cut as a buffer of `bufferSize` bytes (terminator
// included) would cut it: the limits the program keeps on what it stores come out the same
// as from a fixed buffer of that size, and shorter texts cost only their length.
inline std::string controlText(HWND control, std::size_t bufferSize = static_cast<std::size_t>(INT_MAX))
{
    const int length = GetWindowTextLengthA(control);
    if (length <= 0 || bufferSize < 2)
        return {};
    const std::size_t size = std::min(static_cast<std::size_t>(length) + 1, bufferSize);
    std::string text(size, '\0');
    const int got = GetWindowTextA(control, text.data(), static_cast<int>(size));
    text.resize(got > 0 ? std::char_traits<char>::length(text.c_str()) : 0);
    return text;
}

// The text of a combo box item (its list's LB_ messages work the same way); empty for an
// item that is not there.
inline std::string comboItemText(HWND combo, int item, UINT lengthMessage = CB_GETLBTEXTLEN,
                                 UINT textMessage = CB_GETLBTEXT)
{
    const LRESULT length = SendMessageA(combo, lengthMessage, static_cast<WPARAM>(item), 0);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got =
        SendMessageA(combo, textMessage, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? std::char_traits<char>::length(text.c_str()) : 0);
    return text;
}

// The dots per inch the window is shown at: the window's own where the system tells it,
// else the screen's.
int windowDpi(HWND window);
// Pixels designed at 96 DPI, at `dpi`.
inline int scaleToDpi(int pixels, int dpi)
{
    return MulDiv(pixels, dpi, 96);
}

// A list-view column: its title and its width in pixels at 96 DPI.
struct ListColumn {
    const char* title;
    int width;
};

// Gives an empty report list its columns, left-aligned and scaled to the DPI of the dialog
// that holds it, and selects whole rows.
void setUpListColumns(HWND list, std::initializer_list<ListColumn> columns);
// Inserts a row at `row` with the first column's text and, unless null, the second's;
// `selected` also gives it the focus. Returns the row's index, -1 on failure.
int insertListRow(HWND list, int row, const char* first, const char* second, bool selected);
