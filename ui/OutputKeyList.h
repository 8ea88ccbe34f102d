// The action editor's list of output keys: row i shows output key i, and one more row, the
// end row "...", stands for the place after the last key. Rows and keys change together.
#pragma once
#include "model/Action.h"

#include <windows.h>

class OutputKeyList {
public:
    // The selection index: -1 with no row selected, -2 with several, otherwise the one
    // selected row (0..n, n being the end row after the n output keys).
    static constexpr int NoSelection = -1;
    static constexpr int SeveralSelected = -2;

    // The action is the editor's working copy.
    explicit OutputKeyList(Action& action) : action_(action) {}

    // Gives the dialog's list view its columns.
    void attach(HWND list);
    void forget() { list_ = nullptr; }
    HWND window() const { return list_; }

    int keyCount() const { return action_.outputCount(); }
    int selectionIndex() const;
    // True while rows are being rebuilt, when the list and the action briefly disagree.
    bool changingRows() const { return changingRows_; }

    // Every row anew, the row `selected` selected and focused (the end row when there is no key).
    void fill(int selected);
    // Some selected key row has an unselected key row on the side it moves to.
    bool canMove(bool up) const;
    // Every selected key moves one place past its unselected neighbour; those already packed
    // against that end stay. False when none could move.
    bool moveSelected(bool up);
    void removeSelected();
    // Every key row; the end row is no key.
    void selectAll();

    // Recorded keys go in front of this row, in the order they come.
    void recordAt(int row) { recordAt_ = row; }
    void insertRecorded(const KeyStroke& key);

private:
    template <class Visit> bool walkMovableRows(bool up, Visit visit) const;
    void insertKeyRow(int row, const KeyStroke& key, bool selected);
    bool isRowSelected(int row) const;
    void setRowState(int row, UINT state, UINT mask);

    Action& action_;
    HWND list_ = nullptr;
    int recordAt_ = 0;
    bool changingRows_ = false;
};
