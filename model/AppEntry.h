// One registered application (or the pseudo-application "global") with its actions.
// Copies are deep: every action is copied into a new object.
#pragma once
#include "model/Action.h"
#include "model/IndexedKeys.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The path of the pseudo-application whose actions work in every application.
inline constexpr char GlobalPath[] = "global";

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
    // True when no action other than the one at exceptIndex (-1: none) has this input.
    bool isInputFree(const KeyStroke& key, int exceptIndex) const;

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
