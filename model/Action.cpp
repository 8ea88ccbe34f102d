#include "model/Action.h"

#include <utility>

Action::Action(std::string name) : name_(std::move(name)) {}

int Action::clampedIndex(int index) const
{
    if (index < 0)
        return 0;
    return index >= outputCount() ? outputCount() - 1 : index;
}

const KeyStroke& Action::outputAt(int index) const
{
    if (outputs_.empty()) {
        none_.clear();
        return none_;
    }
    return outputs_[static_cast<std::size_t>(clampedIndex(index))];
}

KeyStroke& Action::outputAt(int index)
{
    if (outputs_.empty()) {
        none_.clear();
        return none_;
    }
    return outputs_[static_cast<std::size_t>(clampedIndex(index))];
}

bool Action::insertOutput(const KeyStroke& key, int index)
{
    if (index < 0 || index > outputCount())
        return false;
    outputs_.insert(outputs_.begin() + index, key);
    return true;
}

bool Action::removeOutput(int index)
{
    if (index < 0 || index >= outputCount())
        return false;
    outputs_.erase(outputs_.begin() + index);
    return true;
}

bool Action::moveOutput(int index, bool up)
{
    const int other = up ? index - 1 : index + 1;
    if (index < 0 || index >= outputCount() || other < 0 || other >= outputCount())
        return false;
    std::swap(outputs_[static_cast<std::size_t>(index)], outputs_[static_cast<std::size_t>(other)]);
    return true;
}
