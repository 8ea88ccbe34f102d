// The shortcut settings window: pick a registered application, edit its actions, change
// or delete the application, add applications by dropping executables. Works on the live
// table and writes keycfg.ini when it closes.
#pragma once
#include "ui/DialogBinding.h"
#include "ui/WinHandles.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <string>
#include <vector>

class Action;
class AppEntry;
class KeyEngine;
class ShortcutTable;

class ShortcutSettingsDialog : public DialogBase {
public:
    ShortcutSettingsDialog(ShortcutTable& table, KeyEngine& engine, HINSTANCE instance,
                           std::string initialPath);

    // Always 0.
    INT_PTR Run(HWND owner);

private:
    // Posted to the window for the next part of the combo fill.
    static constexpr UINT ContinueFillMessage = WM_APP + 1;
    // A step of the fill keeps the program from answering for no longer than this.
    static constexpr double FillStepMs = 20.0;

    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void forgetControls() override;
    // The group box 1053 takes the dropped files.
    LRESULT onControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL initialise();
    void onCommand(int id, int code);
    void onNotify(const NMHDR& header);

    // The combo box's items, each leading to its own entry: `items_` in the order of their
    // names, the item of `wanted` in the box at once (it is returned: -1 if none) and the
    // others added while the window is already on screen.
    int startComboFill(const AppEntry* wanted);
    // Adds the next items of the fill, for about `budgetMs`; posts the rest to itself.
    void continueComboFill(double budgetMs);
    // The whole list, before anything looks at it or changes the table.
    void finishComboFill();
    bool comboFillPending() const { return fillNext_ < fillEnd_; }
    // The entry of this path, added under a name of its own when there is none; -1 if it cannot be added.
    int entryForPath(const std::string& path);
    int indexOfEntry(const AppEntry* entry) const;
    int comboItemOf(const AppEntry* entry) const;
    // An item for the entry, at `position` or, for -1, where its name sorts; returns the item.
    int addComboItem(const AppEntry& entry, int position);
    void deleteComboItem(int item);

    void showApplication();
    void showItem(int item);
    void showNothing();
    void selectApplicationByPath(const std::string& path);
    void fillActionList(int appIndex);
    void showApplicationIcon(const std::string& displayedPath);
    void drawIcon();
    int selectedActionIndex() const;
    void enableActionButtons(bool enable);

    void newAction();
    void editAction();
    void deleteAction();
    void keepFocusUsable();
    // Runs the action editor on `working` until the user cancels (false) or its input key
    // is free among the other actions (true).
    bool editUntilInputFree(Action& working, int exceptIndex);
    void changeApplication();
    bool conflictsWithOtherEntries(const AppEntry& working);
    void onDropFiles(HDROP drop);
    void closeWindow();

    ShortcutTable& table_;
    KeyEngine& engine_;
    int comboIndex_ = -1;
    int appIndex_ = -1;
    std::string initialPath_;
    HWND appGroup_ = nullptr;
    HWND appCombo_ = nullptr;
    HWND comboList_ = nullptr;  // the combo box's own list, filled directly
    // Entry of each combo item, in the order of the items once the fill is done: the box
    // holds no item data, which its destruction would report item by item.
    std::vector<const AppEntry*> items_;
    std::size_t fillNext_ = 0;    // the next of items_ to add
    std::size_t fillEnd_ = 0;     // the items_ of the fill: later ones were added on their own
    std::size_t fillFirst_ = 0;   // the item added first, out of turn
    HWND iconArea_ = nullptr;
    HWND pathText_ = nullptr;
    HWND actionList_ = nullptr;
    HWND newButton_ = nullptr;
    HWND editButton_ = nullptr;
    HWND deleteButton_ = nullptr;
    OwnedIcon icon_;
};
