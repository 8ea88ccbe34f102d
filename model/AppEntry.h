// One registered application (or the pseudo-application "global") with its actions.
// Copies are deep: every action is copied into a new object.
#pragma once
#include "model/Action.h"
#include "model/IndexedKeys.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// The path of the pseudo-application whose actions work in every application.
inline constexpr char GlobalPath[] = "global";
// A path the program never gives an entry; an entry read from keycfg.ini with it is kept as
// it is.
inline constexpr char EditPath[] = "edit";
// True for the paths that name no program, "global" and "edit" (letter case counts): their
// entries are shown without path and icon, and kept when they have no action.
bool isReservedPath(std::string_view path);

class AppEntry {
public:
    AppEntry(std::string path, std::string name);
    AppEntry(const AppEntry& other);
    AppEntry& operator=(const AppEntry& other);
    AppEntry(AppEntry&&) = default;
    AppEntry& operator=(AppEntry&&) = default;

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    const std::string& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }

    int actionCount() const { return static_cast<int>(actions_.size()); }
    // Throws std::out_of_range for an index outside 0..count-1. The action handed out may
    // be edited (its input too); the next look-up takes that into account.
    Action& actionAt(int index);
    const Action& actionAt(int index) const;

    // The first action whose input has this key code, or null.
    Action* findActionByInput(int keyCode);
    const Action* findActionByInput(int keyCode) const;
    // Appends a copy; false when another action already has the same input key code.
    bool addAction(const Action& action);
    bool removeAction(int index);
    // Puts a copy in the place of the action at index; false, leaving the list unchanged,
    // for an index out of range or when another action already has the same input key code.
    bool replaceAction(int index, const Action& action);
    // True when no action other than the one at exceptIndex (-1: none) has this input.
    bool isInputFree(const KeyStroke& key, int exceptIndex) const;
    // True for an entry left without actions that stands for a program: the settings window
    // drops such entries when it closes.
    bool isPrunable() const { return actions_.empty() && !isReservedPath(path_); }

private:
    struct Indexed {
        int first;  // index of the first action with that input
        int count;
    };
    // Rebuilt after a removal or when an action handed out came back with another input;
    // otherwise only addAction extends it.
    void refreshIndex() const;
    void indexAction(int index) const;

    std::string path_;
    std::string name_;
    std::vector<std::unique_ptr<Action>> actions_;

    // Input key code -> actions, with the results of a scan from index 0.
    mutable std::unordered_map<int, Indexed> byInput_;
    mutable IndexedKeys<int> indexed_;  // each action's input key code as indexed
};
