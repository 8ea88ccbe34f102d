#include "model/AppEntry.h"

#include <stdexcept>
#include <utility>

bool isReservedPath(std::string_view path)
{
    return path == GlobalPath || path == EditPath;
}

AppEntry::AppEntry(std::string path, std::string name) : path_(std::move(path)), name_(std::move(name)) {}

AppEntry::AppEntry(const AppEntry& other) : path_(other.path_), name_(other.name_)
{
    indexed_.markStale();
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
    indexed_.handOut(index, actions_.size());
    return *actions_[static_cast<std::size_t>(index)];
}

const Action& AppEntry::actionAt(int index) const
{
    if (index < 0 || index >= actionCount())
        throw std::out_of_range("AppEntry::actionAt");
    return *actions_[static_cast<std::size_t>(index)];
}

void AppEntry::indexAction(int index) const
{
    const int code = actions_[static_cast<std::size_t>(index)]->input().toCode();
    indexed_.add(code);
    const auto [found, added] = byInput_.try_emplace(code, Indexed{index, 1});
    if (!added)
        ++found->second.count;  // an earlier action keeps its place
}

void AppEntry::refreshIndex() const
{
    const auto inputOf = [this](int i) { return actions_[static_cast<std::size_t>(i)]->input().toCode(); };
    if (!indexed_.needsRebuild(actionCount(), inputOf))
        return;
    byInput_.clear();
    indexed_.restart(actions_.size());
    for (int i = 0; i < actionCount(); ++i)
        indexAction(i);
}

Action* AppEntry::findActionByInput(int keyCode)
{
    refreshIndex();
    const auto found = byInput_.find(keyCode);
    if (found == byInput_.end())
        return nullptr;
    indexed_.handOut(found->second.first, actions_.size());
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
    indexed_.markStale();  // every later action moved down by one
    return true;
}

bool AppEntry::replaceAction(int index, const Action& action)
{
    if (index < 0 || index >= actionCount() || !isInputFree(action.input(), index))
        return false;
    // Handed out and edited in place: the index checks this action's input on the next look-up.
    actionAt(index) = action;
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
