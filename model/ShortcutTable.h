// All registered applications in insertion order, and their file keycfg.ini in the
// settings folder.
#pragma once
#include "model/AppEntry.h"
#include "model/IndexedKeys.h"
#include "model/ModelSystem.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class ShortcutTable {
public:
    explicit ShortcutTable(ModelSystem& system);
    ShortcutTable(const ShortcutTable&) = delete;
    ShortcutTable& operator=(const ShortcutTable&) = delete;

    int count() const { return static_cast<int>(entries_.size()); }
    // Null for an index outside 0..count-1. The entry handed out may be edited (its path
    // too); the next look-up takes that into account.
    AppEntry* at(int index);
    const AppEntry* at(int index) const;

    // Index of the first entry whose name matches ignoring ASCII letter case, or -1.
    int findByName(const std::string& name) const;
    // Index of the first entry whose path is the same application (sameApplicationPath), or -1.
    int findByPath(const std::string& path) const;
    // Appends a deep copy and returns its index; -1 when an entry has byte-for-byte the same path.
    int add(const AppEntry& entry);
    bool remove(int index);
    void clear();

    // Read and write "keycfg.ini" in the settings folder. A load that fails leaves the
    // table exactly as it was; a save that fails leaves the file as it was.
    FileResult load();
    FileResult save() const;
    // Replaces the contents with the built-in first-run set; does not save.
    bool resetToDefaults();

private:
    void swapEntries(ShortcutTable& other) noexcept;
    // Brings the index up to date: rebuilt after a removal or when an entry handed out by
    // at() came back with another path; otherwise only add() extends it.
    void refreshIndex() const;
    void indexEntry(int index) const;
    void unindexLast();

    ModelSystem& system_;
    std::vector<std::unique_ptr<AppEntry>> entries_;

    // Look-ups by path in constant time on average, with the results of a scan from index 0.
    mutable std::unordered_map<std::string, int> firstByPathKey_;  // applicationPathKey
    mutable std::unordered_map<std::string, int> countByPath_;  // exact bytes, for add
    mutable IndexedKeys<std::string> indexed_;                  // each entry's path as indexed
};
