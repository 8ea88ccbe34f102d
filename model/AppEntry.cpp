#include "model/AppEntry.h"

#include <stdexcept>
#include <utility>

AppEntry::AppEntry(std::string path, std::string name)
    : path_(std::move(path)), name_(std::move(name))
{
}

AppEntry::AppEntry(const AppEntry& other) : path_(other.path_), name_(other.name_)
{
    actions_.reserve(other.actions_.size());
    for (const auto& action : other.actions_)
        actions_.push_back(std::make_unique<Action>(*action));
}

AppEntry& AppEntry::operator=(const AppEntry& other)
{
    if (this != &other) {
        AppEntry copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Action& AppEntry::actionAt(int index)
{
    if (index < 0 || index >= actionCount())
        throw std::out_of_range("AppEntry::actionAt");
    return *actions_[static_cast<std::size_t>(index)];
}

const Action& AppEntry::actionAt(int index) const
{
    return const_cast<AppEntry*>(this)->actionAt(index);
}

Action* AppEntry::findActionByInput(int keyCode)
{
    for (const auto& action : actions_) {
        if (action->input().toCode() == keyCode)
            return action.get();
    }
    return nullptr;
}

const Action* AppEntry::findActionByInput(int keyCode) const
{
    return const_cast<AppEntry*>(this)->findActionByInput(keyCode);
}

bool AppEntry::addAction(const Action& action)
{
    if (!isInputFree(action.input(), -1))
        return false;
    actions_.push_back(std::make_unique<Action>(action));
    return true;
}

bool AppEntry::removeAction(int index)
{
    if (index < 0 || index >= actionCount())
        return false;
    actions_.erase(actions_.begin() + index);
    return true;
}

bool AppEntry::isInputFree(const KeyStroke& key, int exceptIndex) const
{
    for (int i = 0; i < actionCount(); ++i) {
        if (i != exceptIndex && actions_[static_cast<std::size_t>(i)]->input() == key)
            return false;
    }
    return true;
}
