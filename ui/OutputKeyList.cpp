#include "ui/OutputKeyList.h"

#include "ui/Controls.h"
#include "ui/KeyVocabulary.h"

#include <commctrl.h>

#include <string>

namespace {

constexpr int ShiftColumnWidth = 100;
constexpr int KeyColumnWidth = 80;
constexpr char EndRowText[] = "...";

}  // namespace

void OutputKeyList::attach(HWND list)
{
    list_ = list;
    setUpListColumns(list_, {{"シフトキー", ShiftColumnWidth}, {"キー", KeyColumnWidth}});
}

int OutputKeyList::selectionIndex() const
{
    const auto selected = SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0);
    if (selected == 0)
        return NoSelection;
    if (selected > 1)
        return SeveralSelected;
    return static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void OutputKeyList::fill(int selected)
{
    changingRows_ = true;
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    const int count = keyCount();
    for (int row = 0; row < count; ++row) {
        insertKeyRow(row, action_.outputAt(row), row == selected);
    }
    insertListRow(list_, count, EndRowText, nullptr, count == 0);
    changingRows_ = false;
}

void OutputKeyList::insertKeyRow(int row, const KeyStroke& key, bool selected)
{
    std::string modifiers = FormatKeyStroke(key, false);
    std::string name = key.vk != 0 ? KeyName(key.vk) : std::string();
    if (!modifiers.empty() && !name.empty()) {
        modifiers += " + ";
    }
    insertListRow(list_, row, modifiers.c_str(), name.c_str(), selected);
}

bool OutputKeyList::isRowSelected(int row) const
{
    return (SendMessageA(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void OutputKeyList::setRowState(int row, UINT state, UINT mask)
{
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Walks the key rows in the direction of the move and calls `visit` with each selected row
// that has passed an unselected one, until it returns false. True when there was such a row.
// A row moved by `visit` lands where the walk has been, so the rows ahead are as they were.
template <class Visit> bool OutputKeyList::walkMovableRows(bool up, Visit visit) const
{
    const int count = keyCount();
    bool passedUnselected = false;
    bool found = false;
    for (int i = 0; i < count; ++i) {
        const int row = up ? i : count - 1 - i;
        if (!isRowSelected(row)) {
            passedUnselected = true;
        } else if (passedUnselected) {
            found = true;
            if (!visit(row))
                break;
        }
    }
    return found;
}

bool OutputKeyList::canMove(bool up) const
{
    return walkMovableRows(up, [](int) { return false; });
}

bool OutputKeyList::moveSelected(bool up)
{
    if (!canMove(up))
        return false;
    changingRows_ = true;
    const int step = up ? -1 : 1;
    walkMovableRows(up, [&](int row) {
        if (action_.moveOutput(row, up)) {
            SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
            insertKeyRow(row + step, action_.outputAt(row + step), true);
        }
        return true;
    });
    changingRows_ = false;
    return true;
}

void OutputKeyList::removeSelected()
{
    changingRows_ = true;
    for (int row = keyCount() - 1; row >= 0; --row) {
        if (isRowSelected(row)) {
            action_.removeOutput(row);
            SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
        }
    }
    const int rows = keyCount() + 1;
    for (int row = 0; row < rows; ++row) {
        if (SendMessageA(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_FOCUSED) & LVIS_FOCUSED) {
            setRowState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    changingRows_ = false;
}

void OutputKeyList::selectAll()
{
    setRowState(-1, LVIS_SELECTED, LVIS_SELECTED);
    setRowState(keyCount(), 0, LVIS_SELECTED);
}

void OutputKeyList::insertRecorded(const KeyStroke& key)
{
    if (action_.insertOutput(key, recordAt_)) {
        insertKeyRow(recordAt_, key, false);
        // The newest key stays in view, also once the list is longer than it is tall.
        SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(recordAt_), FALSE);
        ++recordAt_;
    }
}
