#include "model/ShortcutTable.h"

#include <cstddef>

namespace {

bool isShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

unsigned char foldAsciiLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Equal ignoring the case of ASCII letters, byte by byte and without the C locale.
// The second byte of a Shift-JIS double-byte character may lie in 'A'..'Z' or 'a'..'z';
// it is compared exactly, so that two different Japanese characters never match.
bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (isShiftJisLeadByte(ca) && i + 1 < a.size()) {
            if (ca != cb || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (foldAsciiLetter(ca) != foldAsciiLetter(cb)) {
            return false;
        }
    }
    return true;
}

} // namespace

ShortcutTable::ShortcutTable(ModelSystem& system) : system_(system) {}

AppEntry* ShortcutTable::at(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    return entries_[static_cast<std::size_t>(index)].get();
}

const AppEntry* ShortcutTable::at(int index) const
{
    return const_cast<ShortcutTable*>(this)->at(index);
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
    for (int i = 0; i < count(); ++i) {
        if (equalsIgnoringAsciiCase(entries_[static_cast<std::size_t>(i)]->path(), path))
            return i;
    }
    return -1;
}

int ShortcutTable::add(const AppEntry& entry)
{
    // Exact bytes here, unlike the look-ups: paths differing only in case are both kept.
    for (const auto& existing : entries_) {
        if (existing->path() == entry.path())
            return -1;
    }
    entries_.push_back(std::make_unique<AppEntry>(entry));
    return count() - 1;
}

bool ShortcutTable::remove(int index)
{
    if (index < 0 || index >= count())
        return false;
    entries_.erase(entries_.begin() + index);
    return true;
}
