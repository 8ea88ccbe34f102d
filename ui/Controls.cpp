#include "ui/Controls.h"

#include "win32/Handles.h"
#include "win32/SystemFunctions.h"

int windowDpi(HWND window)
{
    if (const auto dpiForWindow = SystemFunctions::getDpiForWindow.get()) {
        if (const UINT dpi = dpiForWindow(window))
            return static_cast<int>(dpi);
    }
    const WindowDC dc(window);
    const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : 96;
}

void setUpListColumns(HWND list, std::initializer_list<ListColumn> columns)
{
    const int dpi = windowDpi(GetParent(list));
    int index = 0;
    for (const ListColumn& entry : columns) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = scaleToDpi(entry.width, dpi);
        column.pszText = const_cast<char*>(entry.title);
        column.iSubItem = index;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
        ++index;
    }
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

int insertListRow(HWND list, int row, const char* first, const char* second, bool selected)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = row;
    item.pszText = const_cast<char*>(first);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    const auto inserted = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (second != nullptr) {
        LVITEMA column = {};
        column.iSubItem = 1;
        column.pszText = const_cast<char*>(second);
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(inserted), reinterpret_cast<LPARAM>(&column));
    }
    return inserted;
}
