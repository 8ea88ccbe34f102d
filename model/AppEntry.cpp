#include "model/AppEntry.h"

#include <stdexcept>
#include <utility>

AppEntry::AppEntry(std::string path, std::string name)
    : path_(std::move(path)), name_(std::move(name))
{
}

AppEntry::AppEntry(const AppEntry& other) : path_(other.path_), name_(other.name_), indexStale_(true)
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
    handOut(index);
    return *actions_[static_cast<std::size_t>(index)];
}

const Action& AppEntry::actionAt(int index) const
{
    if (index < 0 || index >= actionCount())
        throw std::out_of_range("AppEntry::actionAt");
    return *actions_[static_cast<std::size_t>(index)];
}

void AppEntry::handOut(int index) const
{
    if (handedOut_.size() > actions_.size())
        indexStale_ = true, handedOut_.clear();  // as cheap to rebuild as to check them all
    if (!indexStale_ && (handedOut_.empty() || handedOut_.back() != index))
        handedOut_.push_back(index);
}

void AppEntry::indexAction(int index) const
{
    const int code = actions_[static_cast<std::size_t>(index)]->input().toCode();
    indexedInputs_.push_back(code);
    const auto [found, added] = byInput_.try_emplace(code, Indexed{index, 1});
    if (!added)
        ++found->second.count;  // an earlier action keeps its place
}

void AppEntry::refreshIndex() const
{
    for (const int index : handedOut_) {
        if (index < actionCount() &&
            actions_[static_cast<std::size_t>(index)]->input().toCode() != indexedInputs_[static_cast<std::size_t>(index)])
            indexStale_ = true;
    }
    handedOut_.clear();
    if (!indexStale_)
        return;
    byInput_.clear();
    indexedInputs_.clear();
    indexedInputs_.reserve(actions_.size());
    for (int i = 0; i < actionCount(); ++i)
        indexAction(i);
    indexStale_ = false;
}

Action* AppEntry::findActionByInput(int keyCode)
{
    refreshIndex();
    const auto found = byInput_.find(keyCode);
    if (found == byInput_.end())
        return nullptr;
    handOut(found->second.first);
    return actions_[static_cast<std::size_t>(found->second.first)].get();
}

const Action* AppEntry::findActionByInput(int keyCode) const
{
    refreshIndex();
    const auto found = byInput_.find(keyCode);
    return found == byInput_.end() ? nullptr : actions_[static_cast<std::size_t>(found->second.first)].get();
}

bool AppEntry::addAction(const Action& action)
{
    if (!isInputFree(action.input(), -1))
        return false;
    actions_.push_back(std::make_unique<Action>(action));
    indexAction(actionCount() - 1);
    return true;
}

bool AppEntry::removeAction(int index)
{
    if (index < 0 || index >= actionCount())
        return false;
    actions_.erase(actions_.begin() + index);
    indexStale_ = true;  // every later action moved down by one
    return true;
}

bool AppEntry::isInputFree(const KeyStroke& key, int exceptIndex) const
{
    refreshIndex();
    const auto found = byInput_.find(key.toCode());
    if (found == byInput_.end())
        return true;
    // Edits through actionAt may have left two actions with one input.
    return found->second.count == 1 && found->second.first == exceptIndex;
}
