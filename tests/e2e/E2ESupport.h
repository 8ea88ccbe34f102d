// Running the real program in its own folder under Wine and watching it from outside:
// processes ended by their handle, bounded waits, message boxes read and answered across
// processes, X input through xdotool.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

constexpr DWORD DefaultWaitMs = 8000;

// Polls until the condition holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = DefaultWaitMs);

// A built file, given by its Unix path, as a Windows path (Wine's Z: drive).
std::string ProgramFile(const char* builtPath);
std::string SourceFile(const char* relative);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// A fresh folder under the Windows temp directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// A folder prepared like an installation: varokint.exe, optionally varokint.dll, and help\.
void InstallProgram(const TempDir& dir, bool withHookLibrary = true);

class Process {
public:
    Process() = default;
    ~Process() { end(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool start(const std::string& exe, const std::string& directory, const std::string& arguments = {});
    // Waits for the process to end by itself; true with its exit code when it did.
    bool waitExit(DWORD timeoutMs, DWORD& exitCode);
    bool running() const;
    // Ends the process if it still runs, by its handle.
    void end();
    DWORD id() const { return info_.dwProcessId; }
    HANDLE handle() const { return info_.hProcess; }

private:
    PROCESS_INFORMATION info_ = {};
};

// The first top-level window of the process with that class (and title, unless null).
HWND FindProcessWindow(DWORD processId, const char* className, const char* title = nullptr);
// Starts dir\varokint.exe in dir and waits for its main window; null when none appeared.
HWND StartProgram(Process& program, const TempDir& dir);
// Ends the program through its exit command, falling back to ending the process. Under
// Wine the hooks of a killed process outlive it and would report keys to the next program.
void ExitProgram(Process& program, HWND mainWindow);
// A visible pop-up menu window ("#32768") anywhere on the desktop.
HWND FindOpenMenu();

struct SeenMessageBox {
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;  // texts of the visible buttons, left to right
    bool hasIcon = false;
};

// Waits for a message box ("#32770") of the process, reads it and presses its first button.
std::optional<SeenMessageBox> AnswerMessageBox(DWORD processId, DWORD timeoutMs = DefaultWaitMs);

// Whether the notification area holds the icon (window, id): modifying it with its own
// tip succeeds only for an icon that exists.
bool TrayIconPresent(HWND window, UINT id);

// Runs a shell command line on the X side (xdotool) and waits for it to finish.
bool RunX(const std::string& command, DWORD timeoutMs = DefaultWaitMs);
// Clicks the middle of a window's client area, giving it the keyboard.
bool ClickWindow(HWND window);
// Clicks that point of a window's client area.
bool ClickWindowAt(HWND window, POINT point);
// Clicks the tray icon, which sits at the right end of the taskbar.
bool ClickTrayIcon();

// The executable path of a process as the system reports it.
std::string ProcessImagePath(HANDLE process);
// Upper-case letters to lower case and the reverse.
std::string SwapLetterCase(std::string text);

} // namespace e2e
