// The application combo box of the shortcut settings window: one item per entry, each
// leading to its own entry. Filled in short steps while the window is on screen, so a
// table of 100,000 applications does not keep the program from answering.
#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

class AppEntry;
class ShortcutTable;

class AppCombo {
public:
    // Posted to the owner for the next part of the fill; it calls continueFill.
    static constexpr UINT ContinueFillMessage = WM_APP + 1;
    // A step of the fill keeps the program from answering for no longer than this.
    static constexpr double FillStepMs = 20.0;

    void attach(HWND combo, HWND owner);
    void forget();

    // The items in the order of their names, the item of `wanted` in the box at once (it is
    // returned: -1 if none) and the others added while the window is already on screen.
    int startFill(const ShortcutTable& table, const AppEntry* wanted);
    // Adds the next items of the fill, for about `budgetMs`; posts the rest to the owner.
    void continueFill(double budgetMs);
    // The whole list, before anything looks at it or changes the table.
    void finishFill();
    // The items yet to come are dropped: the window closes.
    void endFill();
    bool fillPending() const { return fillNext_ < fillEnd_; }

    const AppEntry* entryAt(int item) const;  // null for no such item
    int itemOf(const AppEntry* entry) const;
    // An item for the entry, at `position` or, for -1, where its name sorts; returns the item.
    int add(const AppEntry& entry, int position);
    void remove(int item);

private:
    HWND combo_ = nullptr;
    HWND list_ = nullptr;  // the combo box's own list, filled directly
    HWND owner_ = nullptr;
    // Entry of each item, in the order of the items once the fill is done: the box holds no
    // item data, which its destruction would report item by item.
    std::vector<const AppEntry*> items_;
    std::size_t fillNext_ = 0;   // the next of items_ to add
    std::size_t fillEnd_ = 0;    // the items_ of the fill: later ones were added on their own
    std::size_t fillFirst_ = 0;  // the item added first, out of turn
};
