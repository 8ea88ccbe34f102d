// The shortcut settings window: pick a registered application, edit its actions, change
// or delete the application, add applications by dropping executables. Works on the live
// table and writes keycfg.ini when it closes.
#pragma once
#include "ui/AppCombo.h"
#include "ui/DialogBinding.h"
#include "win32/Handles.h"

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
    ShortcutSettingsDialog(ShortcutTable& table, KeyEngine& engine, HINSTANCE instance, std::string initialPath);

    // Always 0.
    INT_PTR Run(HWND owner);
    // Closes the window as its own close does, at the end of the session: a save that
    // fails asks nothing (the old file stays whole) and the window closes all the same.
    void CloseAtEndOfSession() { closeWindow(false); }

private:
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void forgetControls() override;
    // The group box 1053 takes the dropped files.
    LRESULT onControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL initialise();
    void onCommand(int id, int code);
    void onNotify(const NMHDR& header);

    int indexOfEntry(const AppEntry* entry) const;

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
    // Tells the user when the working entry would share its name or application with another.
    bool conflictsWithOtherEntries(const AppEntry& working);
    void onDropFiles(HDROP drop);
    // Saves the table, unless told otherwise asking the user what to do when that fails.
    void closeWindow(bool askOnFailure = true);

    ShortcutTable& table_;
    KeyEngine& engine_;
    int comboIndex_ = -1;
    int appIndex_ = -1;
    std::string initialPath_;
    HWND appGroup_ = nullptr;
    HWND appCombo_ = nullptr;
    AppCombo apps_;
    HWND iconArea_ = nullptr;
    HWND pathText_ = nullptr;
    HWND actionList_ = nullptr;
    HWND newButton_ = nullptr;
    HWND editButton_ = nullptr;
    HWND deleteButton_ = nullptr;
    OwnedIcon icon_;
};
