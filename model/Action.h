// One shortcut: the user's label, the key that triggers it and the keys it plays.
#pragma once
#include "model/KeyStroke.h"

#include <string>
#include <utility>
#include <vector>

class Action {
public:
    explicit Action(std::string name = {});

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    const KeyStroke& input() const { return input_; }
    void setInput(const KeyStroke& input) { input_ = input; }

    int outputCount() const { return static_cast<int>(outputs_.size()); }
    // An index past the end gives the last key and a negative one the first.
    const KeyStroke& outputAt(int index) const;
    KeyStroke& outputAt(int index);
    // Inserts before index; index == count appends.
    bool insertOutput(const KeyStroke& key, int index);
    bool removeOutput(int index);
    // Swaps with the neighbour before (up) or after; false when that would leave the list.
    bool moveOutput(int index, bool up);

private:
    int clampedIndex(int index) const;

    std::string name_;
    KeyStroke input_;
    std::vector<KeyStroke> outputs_;
    // Stands in for a key of an empty list, so a careless caller reads a cleared key
    // instead of memory that is not there.
    mutable KeyStroke none_;
};
