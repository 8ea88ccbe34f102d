// Running programs for a test and typing into them: processes, X input through xdotool,
// the program installed, started and ended, its notification icon, message boxes of other
// processes, and KeyTarget, the key logger that tests type into.
#pragma once
#include "tests/support/DialogDriver.h"
#include "tests/support/WineBasics.h"

#include <optional>
#include <utility>
#include <vector>

namespace wt {

// A Windows program started for a test, ended by its handle when the holder goes.
class Process {
public:
    Process() = default;
    ~Process() { end(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    bool start(const std::string& exe, const std::string& directory, const std::string& arguments = {});
    bool waitExit(DWORD timeoutMs, DWORD& exitCode);
    bool running() const;
    void end();
    DWORD id() const { return info_.dwProcessId; }
    HANDLE handle() const { return info_.hProcess; }
    // The executable path as the system reports it for the process.
    std::string imagePath() const;

private:
    PROCESS_INFORMATION info_ = {};
};

// xdotool with these arguments ("key ctrl+e", "mousemove 10 20 click 1"), run through the
// shell; pumps messages while waiting. True when it finished in time with status 0.
bool Xdotool(const std::string& arguments, DWORD timeoutMs = DefaultWaitMs);
// A click at this point of a window's client area (its middle by default): Wine gives a
// window the X keyboard only after a click on it.
bool ClickWindow(HWND window, std::optional<POINT> clientPoint = std::nullopt);
// Waits for a message box of another process, reads it and presses its first button.
std::optional<CapturedMessageBox> AnswerMessageBox(DWORD processId, DWORD timeoutMs = DefaultWaitMs);

// The program installed in a folder of its own (varokint.exe, varokint.dll unless left
// out, help\), started there, and ended through its exit command: under Wine the hooks of
// a killed process outlive it and would report keys to the next one.
void InstallProgram(const TempDir& dir, bool withHookLibrary = true);
// The message boxes of a start without varokint.dll, in order: caption and text.
inline const std::pair<const char*, const char*> MissingLibraryMessages[] = {
    {"Error", "DLLファイルの読みとりに失敗"},
    {"Error!!!", "初期化に失敗( -_-)\nアプリケーションを起動できません"},
};
HWND StartProgram(Process& program, const TempDir& dir);
void ExitProgram(Process& program, HWND mainWindow);
// Whether the notification area holds the icon; modifying an icon succeeds only if it exists.
bool TrayIconPresent(HWND window, UINT id);
bool ClickTrayIcon();
// Waits until the process shows a pop-up menu whose loop holds the mouse. Wine shows the
// menu's window before its loop takes the mouse; a click in between goes to the window under
// the pointer, and the menu stays open.
bool WaitForMenuLoop(DWORD processId);

// KeyTarget.exe (tests/support/KeyTarget.cpp), copied into a folder and running there with its key log.
class KeyTarget {
public:
    bool start(const TempDir& dir);
    // A copy named exeName in `folder` (a Windows path), its log keys.log beside it.
    bool start(const std::string& folder, const std::string& exeName);
    // Gives it the keyboard: a click on it (at its right edge, where dialogs rarely are).
    bool focus();
    // The logged key lines, "ready" left out.
    std::vector<std::string> lines() const;
    // The complete lines logged since the last call (or since the start), "ready" left out:
    // reads only what was added, for logs that grow long.
    std::vector<std::string> newLines();
    // Types with xdotool and returns the lines logged for it: up to `expected` new lines,
    // and whatever still trickles in shortly after.
    std::vector<std::string> type(const std::string& xdotoolArguments, size_t expected);
    HWND window() const { return window_; }
    Process process;

private:
    std::string log_;
    HWND window_ = nullptr;
    size_t read_ = 0;  // bytes of the log that newLines() has returned
};
// Lines on lines of their own, for failure messages.
std::string Dump(const std::vector<std::string>& lines);

// The program's dialogs driven from the test's process. Commands are posted: the program's
// handler may open a modal dialog and not return.
void Press(HWND dialog, int id);
// The key drop-down (1002) set to vk, as a user's choice.
void ChooseKey(HWND dialog, unsigned vk);

// The built-in shortcut set and the default settings as the program writes them under Wine.
extern const char BuiltInKeycfg[];
extern const char DefaultPropertyIni[];

}  // namespace wt
