#include "app/ShellApp.h"

#include "app/StartupNotices.h"
#include "res/resource.h"
#include "ui/AboutDialog.h"
#include "ui/FileNotices.h"
#include "ui/HelpLauncher.h"
#include "ui/PropertyDialog.h"
#include "ui/ShortcutSettingsDialog.h"

namespace {

constexpr int MainWindowSize = 300;
constexpr char StartupFailedText[] = "ウインドウ初期化に失敗";
constexpr char StartupFailedCaption[] = "Error!!!";
// A file held by another program at log-on (a virus scanner, a backup) is usually let go
// again within moments: it is asked for again until this much time has passed.
constexpr ULONGLONG ReadRetryMs = 2000;
constexpr DWORD ReadRetryPauseMs = 200;

// Any process may send WM_COPYDATA to our window; the engine checks the record itself,
// the shell only makes sure there is one.
bool ReadKeyReport(LPARAM lParam, KeyReport& report)
{
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data == nullptr) {
        return false;
    }
    report = KeyReport{data->dwData, data->lpData, data->cbData};
    return true;
}

// Only a file that is not there, or one too large to read, is not worth asking again.
template <class Load> FileResult LoadPatiently(Load load)
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const FileResult result = load();
        if (result || result.error == FileError::NotFound || result.error == FileError::TooLarge ||
            GetTickCount64() - start >= ReadRetryMs) {
            return result;
        }
        Sleep(ReadRetryPauseMs);
    }
}

bool HoldsModifier(const KeyStroke& held)
{
    return held.ctrl || held.alt || held.shift || held.win;
}

}  // namespace

ShellApp::ShellApp() : table(modelSystem), settings(modelSystem) {}

ShellApp::~ShellApp()
{
    // Only a failed start-up gets here with the window still alive; take the tray icon
    // down with it instead of leaving a dead icon behind.
    if (engine) {
        engine->SetHooks(false);
    }
    if (mainWindow != nullptr) {
        DestroyWindow(mainWindow);
    }
}

ShellApp::Outcome ShellApp::Startup(HINSTANCE instanceHandle)
{
    // Fixed now: the file browser of the registration dialog changes the current directory.
    modelSystem.useFolder(Win32ModelSystem::ChooseSettingsFolder());
    SetHelpFolders({AnsiText(modelSystem.folder()), AnsiText(Win32ModelSystem::ProgramFolder())});
    if (!LoadFiles()) {
        return Outcome::Declined;
    }
    if (!CreateMainWindow(instanceHandle)) {
        MessageBoxA(nullptr, StartupFailedText, StartupFailedCaption, MB_OK);
        return Outcome::Failed;
    }
    tray.CreateMenuWindowUnderWine(instanceHandle, mainWindow);
    engineRequests = std::make_unique<MainWindowRequests>(mainWindow);
    engine = std::make_unique<KeyEngine>(table, settings, keySystem.keySystem(*engineRequests));
    return engine->SetHooks(true) ? Outcome::Run : Outcome::Failed;
}

bool ShellApp::LoadFiles()
{
    // Only a missing file is a first start. One that is there but cannot be read is the
    // user's and is left alone: running on a set they did not choose would swallow keys they
    // expect, and no save could be made without replacing their file.
    const FileResult shortcuts = LoadPatiently([this] { return table.load(); });
    if (shortcuts.error == FileError::NotFound) {
        table.resetToDefaults();
        if (const FileResult saved = table.save(); !saved) {
            ShowFileNotice(nullptr, FileNotice::BuiltInSetNotSaved, saved);
        }
        OpenHelpPage(nullptr, "first.htm");
    } else if (!shortcuts) {
        ShowFileNotice(nullptr, FileNotice::NotRead, shortcuts);
        return false;
    }
    const FileResult preferences = LoadPatiently([this] { return settings.load(); });
    if (preferences.error == FileError::NotFound) {
        settings.setDefaults();
        if (const FileResult saved = settings.save(); !saved) {
            ShowFileNotice(nullptr, FileNotice::DefaultsNotSaved, saved);
        }
    } else if (!preferences) {
        ShowFileNotice(nullptr, FileNotice::NotRead, preferences);
        return false;
    }
    return true;
}

bool ShellApp::CreateMainWindow(HINSTANCE instanceHandle)
{
    largeIcon = LoadIconA(instanceHandle, MAKEINTRESOURCEA(IDI_VAROKINTO_LARGE));
    smallIcon = LoadSmallIcon(instanceHandle, IDI_VAROKINTO_SMALL);
    const bool menuLoaded = tray.LoadTrayMenu(instanceHandle);
    if (!menuLoaded || largeIcon == nullptr || smallIcon == nullptr) {
        return false;
    }

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = BoundWindowProc<ShellApp, &ShellApp::mainWindow>;
    wc.hInstance = instanceHandle;
    wc.hIcon = largeIcon;
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = HookContract::MainWindowClass;
    if (RegisterClassExA(&wc) == 0) {
        return false;
    }

    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, HookContract::MainWindowClass, HookContract::MainWindowTitle,
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, MainWindowSize, MainWindowSize,
                                  nullptr, nullptr, instanceHandle, this);
    if (window == nullptr) {
        return false;
    }
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);
    return true;
}

LRESULT ShellApp::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (tray.HandleMessage(message, wParam) || staleKeyWatch.HandleMessage(message, wParam)) {
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        tray.AddIcon(mainWindow, TrayIconId, WM_TRAYICON_NOTIFY, smallIcon, HookContract::MainWindowTitle);
        instance = reinterpret_cast<CREATESTRUCTA*>(lParam)->hInstance;
        staleKeyWatch.Start(mainWindow, WM_KEYS_MAY_BE_STALE);
        PostMessageA(mainWindow, WM_SHOW_STARTUP_NOTICES, 0, 0);
        return 0;
    case WM_DESTROY:
        staleKeyWatch.Stop();
        tray.RemoveIcon();
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        return OnEndSession(wParam != FALSE);
    case WM_COPYDATA:
        return OnCopyData(lParam);
    case WM_TIMER:
        if (wParam == IDT_REENABLE) {
            if (engine) {
                engine->Reenable();
            }
            KillTimer(mainWindow, IDT_REENABLE);
            return 0;
        }
        break;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam))) {
            return 0;
        }
        break;
    case WM_TRAYICON_NOTIFY:
        ShowTrayMenu(wParam, lParam);
        return 0;
    case WM_KEYS_MAY_BE_STALE:
        OnKeysMayBeStale();
        return 0;
    case WM_SHOW_STARTUP_NOTICES:
        // A start-up that fails shows its own messages, whose loops can bring this one
        // early: nothing more is said then.
        if (engine && engine->hooksInstalled()) {
            ShowStartupNotices();
        }
        return 0;
    case WM_WTSSESSION_CHANGE:
        if (StaleKeyWatch::KeysMayBeStale(wParam)) {
            OnKeysMayBeStale();
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcA(mainWindow, message, wParam, lParam);
}

LRESULT ShellApp::OnCopyData(LPARAM lParam)
{
    KeyReport report{};
    if (!engine || !ReadKeyReport(lParam, report)) {
        return 0;
    }
    const bool consumed = engine->OnKeyEvent(report);
    staleKeyWatch.KeysSeen(HoldsModifier(engine->held()));
    return consumed ? 1 : 0;
}

bool ShellApp::OnCommand(WORD id)
{
    // One framed dialog at a time: a second one would put the hooks back on when it
    // closed, while the first is still open. The command shows the open one instead.
    const bool opensFramedDialog = id == IDM_SHORTCUT_SETTINGS || id == IDM_PROPERTIES || id == IDM_ABOUT;
    if (opensFramedDialog && dialogOpen) {
        BringDialogToFront();
        return true;
    }
    switch (id) {
    case IDM_SHORTCUT_SETTINGS:
        OpenShortcutSettings();
        return true;
    case IDM_PROPERTIES:
        OpenProperties();
        return true;
    case IDM_ABOUT:
        OpenAbout();
        return true;
    case IDM_HELP:
        OpenHelpPage(nullptr, "about.htm");
        return true;
    case IDM_EXIT:
        Exit();
        return true;
    default:
        return false;
    }
}

void ShellApp::OnKeysMayBeStale()
{
    if (engine) {
        engine->ResyncHeldKeys();
        staleKeyWatch.KeysSeen(HoldsModifier(engine->held()));
    }
}

void ShellApp::ShowTrayMenu(WPARAM request, LPARAM mouseMessage)
{
    if (!Tray::OpensMenu(mouseMessage)) {
        return;
    }
    if (dialogOpen) {
        BringDialogToFront();
        return;
    }
    tray.ShowMenu(static_cast<DWORD>(request) == SecondInstanceRequest, [this] {
        // The settings command tells by the window in front now that it came from the menu.
        if (engine) {
            engine->RememberForegroundWindow();
        }
    });
}

void ShellApp::BringDialogToFront()
{
    // Dialogs have no taskbar button: the one the user is looking for is the main window's
    // last active pop-up (the innermost dialog or message box), and the hidden main window
    // must not take the keyboard from it.
    HWND dialog = GetLastActivePopup(mainWindow);
    if (dialog == nullptr || dialog == mainWindow) {
        return;
    }
    BringToFront(dialog);
    // Under Wine the window handed the foreground while the input was shared loses it
    // again when the threads part; asked once more, now from the thread in front, it keeps it.
    SetForegroundWindow(dialog);
    HWND focus = GetFocus();
    if (focus != dialog && !IsChild(dialog, focus)) {
        SetFocus(dialog);
    }
}

template <class Body> void ShellApp::RunFramed(Body body)
{
    dialogOpen = true;
    engine->SetHooks(false);
    body();
    if (sessionEnded) {
        return;  // the hooks stay off: the process is about to end
    }
    // A pause after an action ends with the dialog: a time changed in it applies at once,
    // and a long pause never outlives the user's visit to the settings.
    KillTimer(mainWindow, IDT_REENABLE);
    engine->Reenable();
    engine->SetHooks(true);
    dialogOpen = false;
}

void ShellApp::OpenShortcutSettings()
{
    // From the tray menu our own window was in front; from the hotkey it is the
    // application whose shortcuts the user wants to edit.
    const WindowId front = engine->foregroundWindow();
    const bool fromTrayMenu = front == Win32KeySystem::ToWindowId(mainWindow) ||
                              (tray.MenuWindow() != nullptr && front == Win32KeySystem::ToWindowId(tray.MenuWindow()));
    const std::string path = fromTrayMenu ? std::string() : engine->GetForegroundExePath();
    RunFramed([&] {
        SetWindowPos(mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE);
        BringToFront(mainWindow);
        ShortcutSettingsDialog dialog(table, *engine, instance, path);
        openSettings = &dialog;
        dialog.Run(mainWindow);
        openSettings = nullptr;
        SetWindowPos(mainWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE);
    });
    if (!fromTrayMenu) {
        GiveForegroundBack(Win32KeySystem::ToHwnd(front));
    }
}

void ShellApp::GiveForegroundBack(HWND previous)
{
    // The closed dialog leaves the foreground with our hidden main window, which takes no
    // keys; the window the user came from must have it again, if it is still there.
    if (sessionEnded || previous == nullptr || previous == mainWindow || !IsWindow(previous) ||
        !IsWindowVisible(previous)) {
        return;
    }
    BringToFront(previous);
}

LRESULT ShellApp::OnEndSession(bool ending)
{
    if (!ending || sessionEnded) {
        return 0;
    }
    sessionEnded = true;
    // The shortcut settings window writes the table as its closing would, but asks nothing
    // should the save fail: the old file stays whole (nested editors work on copies, which
    // their own close would throw away). The other dialogs write nothing on a close.
    if (openSettings != nullptr && openSettings->window() != nullptr) {
        openSettings->CloseAtEndOfSession();
    }
    if (engine) {
        engine->SetHooks(false);
    }
    tray.RemoveIcon();
    // The system may end the process as soon as this returns; should it not, the program
    // ends itself once the open dialogs have unwound.
    PostQuitMessage(0);
    return 0;
}

void ShellApp::OpenProperties()
{
    engine->RememberForegroundWindow();
    RunFramed([&] { PropertyDialog(settings, instance).Run(mainWindow); });
}

void ShellApp::OpenAbout()
{
    RunFramed([&] { AboutDialog(instance).Run(mainWindow); });
}

void ShellApp::Exit()
{
    engine->SetHooks(false);
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
}
