#include "model/ShortcutTable.h"

#include "model/AsciiCase.h"
#include "model/ShiftJisPath.h"

#include <cstddef>
#include <utility>

ShortcutTable::ShortcutTable(ModelSystem& system) : system_(system) {}

AppEntry* ShortcutTable::at(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    indexed_.handOut(index, entries_.size());
    return entries_[static_cast<std::size_t>(index)].get();
}

const AppEntry* ShortcutTable::at(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return entries_[static_cast<std::size_t>(index)].get();
}

void ShortcutTable::indexEntry(int index) const
{
    const std::string& path = entries_[static_cast<std::size_t>(index)]->path();
    indexed_.add(path);
    ++countByPath_[path];
    firstByPathKey_.emplace(applicationPathKey(path), index);  // an earlier entry keeps its place
}

void ShortcutTable::refreshIndex() const
{
    const auto pathOf = [this](int i) -> const std::string& { return entries_[static_cast<std::size_t>(i)]->path(); };
    if (!indexed_.needsRebuild(count(), pathOf))
        return;
    // Paths change only through the editing windows, one at a time: a rebuild is cheap
    // next to the user's typing.
    firstByPathKey_.clear();
    countByPath_.clear();
    indexed_.restart(entries_.size());
    for (int i = 0; i < count(); ++i)
        indexEntry(i);
}

int ShortcutTable::findByName(const std::string& name) const
{
    for (int i = 0; i < count(); ++i) {
        if (equalsIgnoringAsciiCase(entries_[static_cast<std::size_t>(i)]->name(), name))
            return i;
    }
    return -1;
}

int ShortcutTable::findByPath(const std::string& path) const
{
    refreshIndex();
    const auto found = firstByPathKey_.find(applicationPathKey(path));
    return found == firstByPathKey_.end() ? -1 : found->second;
}

int ShortcutTable::add(const AppEntry& entry)
{
    refreshIndex();
    // Exact bytes here, unlike the look-ups: paths differing only in case are both kept.
    if (countByPath_.count(entry.path()) != 0)
        return -1;
    entries_.push_back(std::make_unique<AppEntry>(entry));
    indexEntry(count() - 1);
    return count() - 1;
}

bool ShortcutTable::remove(int index)
{
    if (index < 0 || index >= count())
        return false;
    if (index == count() - 1) {
        // The last entry (the one the hotkey's settings window added and dropped again when
        // it stayed empty) moves no other: the index loses its key alone instead of being
        // built again on the next key.
        refreshIndex();
        unindexLast();
        entries_.pop_back();
        return true;
    }
    entries_.erase(entries_.begin() + index);
    indexed_.markStale();  // every later entry moved down by one
    return true;
}

EntryConflict ShortcutTable::conflictOf(const AppEntry& entry, int index) const
{
    const std::string pathKey = applicationPathKey(entry.path());
    for (int i = 0; i < count(); ++i) {
        if (i == index)
            continue;
        const AppEntry& other = *entries_[static_cast<std::size_t>(i)];
        if (equalsIgnoringAsciiCase(entry.name(), other.name()))
            return EntryConflict::Name;
        if (applicationPathKey(other.path()) == pathKey)
            return EntryConflict::Path;
    }
    return EntryConflict::None;
}

int ShortcutTable::findOrAddByPath(const std::string& path)
{
    const int index = findByPath(path);
    if (index >= 0)
        return index;
    // A second program of the same file name gets a name of its own: the window shows an
    // application by its name, and two equal names could not be told apart.
    const std::string name =
        distinctNameFromPath(path, [this](const std::string& candidate) { return findByName(candidate) >= 0; });
    return add(AppEntry(path, name));
}

void ShortcutTable::pruneEmptyEntries()
{
    // One by one: the usual case is the hotkey's entry at the end, which remove() takes out
    // of the index without building it again.
    for (int i = 0; i < count();) {
        if (entries_[static_cast<std::size_t>(i)]->isPrunable())
            remove(i);
        else
            ++i;
    }
}

void ShortcutTable::unindexLast()
{
    const std::string& path = entries_.back()->path();
    if (--countByPath_[path] <= 0)
        countByPath_.erase(path);
    const auto first = firstByPathKey_.find(applicationPathKey(path));
    if (first != firstByPathKey_.end() && first->second == count() - 1)
        firstByPathKey_.erase(first);
    indexed_.dropLast();
}

void ShortcutTable::swapEntries(ShortcutTable& other) noexcept
{
    entries_.swap(other.entries_);
    firstByPathKey_.swap(other.firstByPathKey_);
    countByPath_.swap(other.countByPath_);
    std::swap(indexed_, other.indexed_);
}

void ShortcutTable::clear()
{
    entries_.clear();
    firstByPathKey_.clear();
    countByPath_.clear();
    indexed_.restart(0);
}
