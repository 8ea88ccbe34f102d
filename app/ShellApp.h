// The resident program: owns the shortcuts, the settings and the key engine, and keeps the
// hidden main window that receives the hook library's key reports and the tray icon's clicks.
#pragma once
#include "app/MainWindowRequests.h"
#include "app/StaleKeyWatch.h"
#include "app/Tray.h"
#include "app/WindowBinding.h"
#include "contract/HookContract.h"
#include "engine/KeyEngine.h"
#include "engine/win32/Win32KeySystem.h"
#include "model/Settings.h"
#include "model/ShortcutTable.h"
#include "win32/Handles.h"
#include "win32/Win32ModelSystem.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

// The tray icon's callback; lParam carries the mouse message.
constexpr UINT WM_TRAYICON_NOTIFY = WM_APP + 100;
// wParam of WM_TRAYICON_NOTIFY posted by a second copy of the program.
constexpr DWORD SecondInstanceRequest = 0xFFFFFFFF;
constexpr UINT TrayIconId = 1;
// Posted by the StaleKeyWatch: the key reports may have missed something.
constexpr UINT WM_KEYS_MAY_BE_STALE = WM_APP + 102;
// Posted to itself when the main window is created: the start-up notices come once the
// program is up, its icon shown and its hooks in.
constexpr UINT WM_SHOW_STARTUP_NOTICES = WM_APP + 103;

class ShortcutSettingsDialog;

class ShellApp {
public:
    ShellApp();
    ~ShellApp();
    ShellApp(const ShellApp&) = delete;
    ShellApp& operator=(const ShellApp&) = delete;

    enum class Outcome {
        Run,       // the main window is up and the hooks are in: run the message loop
        Declined,  // a settings file is there but cannot be read; the user has been told
        Failed,    // the program cannot start
    };
    Outcome Startup(HINSTANCE instance);
    // The hidden main window, once Startup has made it.
    HWND window() const { return mainWindow; }

private:
    bool CreateMainWindow(HINSTANCE instance);
    // Reads keycfg.ini and property.ini, writing the first-start ones that are missing.
    // False when one is there but cannot be read: the user has been told, and the program
    // ends without touching it.
    bool LoadFiles();
    template <class Owner, HWND Owner::*Window> friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(LPARAM lParam);
    bool OnCommand(WORD id);

    // The engine reads the held keys again where the reports may have missed some.
    void OnKeysMayBeStale();

    void ShowTrayMenu(WPARAM request, LPARAM mouseMessage);
    // While a framed dialog is open, the tray icon, a second copy and the commands that
    // open dialogs show that dialog.
    void BringDialogToFront();
    // Runs one dialog with the hooks removed, so that no key is remapped while it is open.
    template <class Body> void RunFramed(Body body);

    void OpenShortcutSettings();
    // After a window opened over an application closes, that application gets the
    // keyboard back, so the next key the user types reaches it.
    void GiveForegroundBack(HWND previous);
    // The session ends (log off, shut down): what the open windows hold is written as
    // closing them would write it, and the hooks and the tray icon go, before the system
    // ends the process.
    LRESULT OnEndSession(bool ending);
    void OpenProperties();
    void OpenAbout();
    void Exit();

    Win32ModelSystem modelSystem;
    ShortcutTable table;
    Settings settings;
    Win32KeySystem keySystem;
    std::unique_ptr<MainWindowRequests> engineRequests;
    std::unique_ptr<KeyEngine> engine;
    bool dialogOpen = false;
    Tray tray;
    HICON largeIcon = nullptr;
    HICON smallIcon = nullptr;
    HWND mainWindow = nullptr;
    HINSTANCE instance = nullptr;
    ShortcutSettingsDialog* openSettings = nullptr;  // while the shortcut settings window runs
    bool sessionEnded = false;
    StaleKeyWatch staleKeyWatch;
};
