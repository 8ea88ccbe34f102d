// The application combo box of the shortcut settings window. At 100,000 applications its
// filling alone would keep the program from answering for a second: the window shows its
// application at once and adds the other items in short steps while it is on screen.
#include "ui/AppCombo.h"

#include "model/AppEntry.h"
#include "model/ShortcutTable.h"

#include <algorithm>

namespace {

// Looking at the clock costs as much as adding an item or two: once every so many items.
constexpr std::size_t ItemsBetweenClockReadings = 64;

double nowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The form under which the combo box compares its items, worked out once per name: sorting
// by these keys gives the order the sorted combo box would give, without the combo box
// comparing each new item with half the list.
std::string sortKey(const std::string& name)
{
    constexpr DWORD Flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    std::string key(name.size() * 4 + 32, '\0');
    int length = LCMapStringA(LOCALE_USER_DEFAULT, Flags, name.c_str(), -1, key.data(), static_cast<int>(key.size()));
    if (length == 0) {
        length = LCMapStringA(LOCALE_USER_DEFAULT, Flags, name.c_str(), -1, nullptr, 0);
        key.assign(static_cast<size_t>(length), '\0');
        length = LCMapStringA(LOCALE_USER_DEFAULT, Flags, name.c_str(), -1, key.data(), length);
    }
    key.resize(static_cast<size_t>(length));
    return key;
}

// The entries in the order in which the sorted combo box would list their names.
std::vector<const AppEntry*> sortedEntries(const ShortcutTable& table)
{
    struct Item {
        std::string key;
        const AppEntry* entry;
    };
    std::vector<Item> items;
    items.reserve(static_cast<size_t>(table.count()));
    for (int i = 0; i < table.count(); ++i)
        items.push_back({sortKey(table.at(i)->name()), table.at(i)});
    // Among equal keys the later entry comes first, as the combo box puts an item in front
    // of its equals.
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.key < b.key; });
    for (auto from = items.begin(); from != items.end();) {
        const auto to = std::find_if(from, items.end(), [&](const Item& item) { return item.key != from->key; });
        std::reverse(from, to);
        from = to;
    }
    std::vector<const AppEntry*> entries;
    entries.reserve(items.size());
    for (const Item& item : items)
        entries.push_back(item.entry);
    return entries;
}

}  // namespace

void AppCombo::attach(HWND combo, HWND owner)
{
    combo_ = combo;
    owner_ = owner;
}

void AppCombo::forget()
{
    combo_ = list_ = owner_ = nullptr;
    fillNext_ = fillEnd_;
}

int AppCombo::startFill(const ShortcutTable& table, const AppEntry* wanted)
{
    items_ = sortedEntries(table);
    fillNext_ = fillEnd_ = 0;
    const auto found = wanted ? std::find(items_.begin(), items_.end(), wanted) : items_.begin();
    if (found == items_.end()) {
        return -1;  // nothing to add; the window shows no entry
    }
    fillFirst_ = static_cast<std::size_t>(found - items_.begin());

    // The items go to the combo box's own list, in their order: the list does not sort what
    // is inserted, and speaking to it directly halves the messages.
    COMBOBOXINFO parts = {};
    parts.cbSize = sizeof parts;
    list_ = GetComboBoxInfo(combo_, &parts) ? parts.hwndList : nullptr;
    if (list_ == nullptr) {
        // Without the list the combo box sorts each item itself; it gets them all now.
        for (const AppEntry* entry : items_)
            SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry->name().c_str()));
        SendMessageA(combo_, CB_SETCURSEL, fillFirst_, 0);
        return static_cast<int>(fillFirst_);
    }
    size_t bytes = 0;
    for (const AppEntry* entry : items_)
        bytes += entry->name().size() + 1;
    SendMessageA(list_, LB_INITSTORAGE, items_.size(), bytes);
    SendMessageA(list_, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(items_[fillFirst_]->name().c_str()));
    // Selected while it is the only item; the list keeps the selection on it as the others
    // come in front of it.
    SendMessageA(combo_, CB_SETCURSEL, 0, 0);
    fillEnd_ = items_.size();
    continueFill(0);
    return static_cast<int>(fillFirst_);
}

void AppCombo::continueFill(double budgetMs)
{
    const double start = nowMs();
    // Unseen until the list drops down, and the list need not work out its scroll bar per item.
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    while (fillPending()) {
        const std::size_t index = fillNext_++;
        if (index == fillFirst_)
            continue;
        // Items in front of the one added first go in front of it; the list keeps its
        // selection on the same item.
        const WPARAM position = index < fillFirst_ ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1);
        SendMessageA(list_, LB_INSERTSTRING, position, reinterpret_cast<LPARAM>(items_[index]->name().c_str()));
        if (fillNext_ % ItemsBetweenClockReadings == 0 && nowMs() - start >= budgetMs)
            break;
    }
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    if (fillPending()) {
        PostMessageA(owner_, ContinueFillMessage, 0, 0);
        return;
    }
    if (SendMessageA(list_, LB_GETCURSEL, 0, 0) != static_cast<LRESULT>(fillFirst_))
        SendMessageA(combo_, CB_SETCURSEL, fillFirst_, 0);
}

void AppCombo::finishFill()
{
    if (!fillPending())
        return;
    continueFill(1e30);
}

void AppCombo::endFill()
{
    fillEnd_ = fillNext_;
}

const AppEntry* AppCombo::entryAt(int item) const
{
    return item >= 0 && static_cast<std::size_t>(item) < items_.size() ? items_[static_cast<std::size_t>(item)]
                                                                       : nullptr;
}

int AppCombo::itemOf(const AppEntry* entry) const
{
    const auto found = std::find(items_.begin(), items_.end(), entry);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

int AppCombo::add(const AppEntry& entry, int position)
{
    finishFill();
    const UINT message = position < 0 ? CB_ADDSTRING : CB_INSERTSTRING;
    const auto item =
        SendMessageA(combo_, message, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(entry.name().c_str()));
    if (item >= 0 && static_cast<std::size_t>(item) <= items_.size())
        items_.insert(items_.begin() + item, &entry);
    return static_cast<int>(item);
}

void AppCombo::remove(int item)
{
    finishFill();
    if (SendMessageA(combo_, CB_DELETESTRING, static_cast<WPARAM>(item), 0) != CB_ERR && item >= 0 &&
        static_cast<std::size_t>(item) < items_.size())
        items_.erase(items_.begin() + item);
}
