// The shortcut settings window: pick a registered application, edit its actions, change
// or delete the application, add applications by dropping executables. Works on the live
// table and writes keycfg.ini when it closes.
#pragma once
#include "ui/DialogBinding.h"

#include <windows.h>
#include <shellapi.h>

#include "ui/AppEditDialog.h"

#include <string>

class Action;
class KeyEngine;
class ShortcutTable;

class ShortcutSettingsDialog {
public:
    static constexpr int AppGroup = 1053;
    static constexpr int AppCombo = 1002;
    static constexpr int ChangeButton = 1054;
    static constexpr int ActionList = 1003;
    static constexpr int IconArea = 1006;
    static constexpr int PathText = 1004;
    static constexpr int NewButton = 5;
    static constexpr int EditButton = 3;
    static constexpr int DeleteButton = 4;

    ShortcutSettingsDialog(ShortcutTable& table, KeyEngine& engine, HINSTANCE instance,
                           std::string initialPath);
    ShortcutSettingsDialog(const ShortcutSettingsDialog&) = delete;
    ShortcutSettingsDialog& operator=(const ShortcutSettingsDialog&) = delete;

    // Always 0.
    INT_PTR Run(HWND owner);

private:
    friend struct DialogBinding<ShortcutSettingsDialog>;
    INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    BOOL initialise();
    void setUpActionList();
    void onCommand(int id, int code);
    void onNotify(const NMHDR& header);

    void showApplication();
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
    // Runs the action editor on `working` until the user cancels (false) or its input key
    // is free among the other actions (true).
    bool editUntilInputFree(Action& working, int exceptIndex);
    void changeApplication();
    bool conflictsWithOtherEntries(const AppEntry& working);
    void onDropFiles(HDROP drop);
    void closeWindow();

    ShortcutTable& table_;
    KeyEngine& engine_;
    HINSTANCE instance_;
    int comboIndex_ = -1;
    int appIndex_ = -1;
    std::string initialPath_;
    HWND window_ = nullptr;
    HWND appGroup_ = nullptr;
    HWND appCombo_ = nullptr;
    HWND iconArea_ = nullptr;
    HWND pathText_ = nullptr;
    HWND actionList_ = nullptr;
    HWND newButton_ = nullptr;
    HWND editButton_ = nullptr;
    HWND deleteButton_ = nullptr;
    OwnedIcon icon_;
    WNDPROC previousGroupProc_ = nullptr;
};
