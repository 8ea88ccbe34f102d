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

// What an edited entry would share with another entry of the table.
enum class EntryConflict { None, Name, Path };

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

    // Whether `entry`, put in the place of the entry at `index`, would share its name (as
    // findByName compares) or its application (as findByPath compares) with another entry:
    // the window shows an application by its name and the engine finds it by its path, so
    // the second of two such entries could never be shown or never act. The first such
    // entry in table order decides, its name before its path.
    EntryConflict conflictOf(const AppEntry& entry, int index) const;
    // The index of the first entry of this application; when there is none, of a new entry
    // without actions, named after the path and distinct from every other name. -1 when it
    // cannot be added.
    int findOrAddByPath(const std::string& path);
    // Removes every entry left without actions (AppEntry::isPrunable); the others keep
    // their order.
    void pruneEmptyEntries();

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
    mutable std::unordered_map<std::string, int> countByPath_;     // exact bytes, for add
    mutable IndexedKeys<std::string> indexed_;                     // each entry's path as indexed
};
