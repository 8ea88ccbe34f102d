// What the Windows tests share (library vr_wine_test_support): bounded waits, files and
// scratch folders, processes, X input through xdotool, windows of other processes, message
// boxes read and answered in this thread or another process, and driving real dialogs.
//
// Nothing here waits without a bound: every wait gives up after its timeout.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace wt {

constexpr DWORD DefaultWaitMs = 8000;

// Pumps this thread's messages (an open dialog sees its keys as its own loop would) until
// done() or the time is up; true when done() held. With no message coming, done() is asked
// again every pollMs.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = DefaultWaitMs, DWORD pollMs = 20);
void PumpFor(DWORD ms);

// Files, by Windows path.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// "/a/b" -> "Z:\a\b": how Wine names a Unix path.
std::string WinePath(const std::string& unixPath);
std::string OwnExePath();

// A fresh folder under the temp directory, removed with everything in it; optionally the
// current directory while it lives, and with a suffix to its name (Shift-JIS bytes too).
class TempDir {
public:
    explicit TempDir(bool makeCurrent = false, const std::string& suffix = {});
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
    std::string previous_;
};

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
// Saves a picture of the screen as $VR_SHOT_DIR/<name>.png when VR_SHOT_DIR names a Unix
// folder; does nothing otherwise. Screenshots are for people to look at.
void Snapshot(const char* name);

// The first top-level window with that class (and title, unless null) of the process (any
// process for 0).
HWND FindTopWindow(DWORD processId, const char* className, const char* title = nullptr, bool visibleOnly = false);
std::string Text(HWND window);

// A message box as it was shown: caption, text, and the MB_ style its buttons and icon show.
struct CapturedMessageBox {
    std::string caption;
    std::string text;
    UINT style = 0;
    HWND owner = nullptr;  // the window it was shown for, if any
    UINT buttons() const { return style & MB_TYPEMASK; }
    UINT icon() const { return style & MB_ICONMASK; }
};
bool IsMessageBox(HWND window);
CapturedMessageBox ReadMessageBox(HWND box);
// Waits for a message box of another process, reads it and presses its first button.
std::optional<CapturedMessageBox> AnswerMessageBox(DWORD processId, DWORD timeoutMs = DefaultWaitMs);

// The program installed in a folder of its own (varokint.exe, varokint.dll unless left
// out, help\), started there, and ended through its exit command: under Wine the hooks of
// a killed process outlive it and would report keys to the next one.
void InstallProgram(const TempDir& dir, bool withHookLibrary = true);
HWND StartProgram(Process& program, const TempDir& dir);
void ExitProgram(Process& program, HWND mainWindow);
// Whether the notification area holds the icon; modifying an icon succeeds only if it exists.
bool TrayIconPresent(HWND window, UINT id);
bool ClickTrayIcon();

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

// The built-in shortcut set and the default settings as the program writes them under Wine.
extern const char BuiltInKeycfg[];
extern const char DefaultPropertyIni[];

// The dialog result given to a dialog that the driver had to end itself.
constexpr INT_PTR EndedByDriver = 0x5A5A;

// Drives real dialogs on this thread as a user would. A WH_CBT hook lives as long as the
// driver: every message box that comes up is recorded and answered with the next scripted
// button; every other dialog runs the next scripted step once its modal loop runs. Steps
// may open further dialogs and boxes, handled the same way, nested. A dialog with no step
// left, or left open by its step, is ended with EndedByDriver.
class DialogDriver {
public:
    using Step = std::function<void(HWND dialog)>;
    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    void OnNextDialog(Step step) { steps_.push_back(std::move(step)); }
    // Unscripted boxes get IDOK; a button the box lacks falls back to Cancel, then to one it shows.
    void AnswerNextMessageBox(int button) { answers_.push_back(button); }
    const std::vector<CapturedMessageBox>& messageBoxes() const { return boxes_; }
    void ClearMessageBoxes() { boxes_.clear(); }
    int unexpectedDialogs() const { return unexpected_; }
    int dialogsLeftOpen() const { return leftOpen_; }
    size_t pendingSteps() const { return steps_.size(); }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK StepTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    void CaptureAndAnswer(HWND box);
    void RunStep(HWND dialog);

    HHOOK hook_ = nullptr;
    std::deque<Step> steps_;
    std::deque<int> answers_;
    std::vector<CapturedMessageBox> boxes_;
    std::set<HWND> seen_;
    int unexpected_ = 0;
    int leftOpen_ = 0;
    DialogDriver* previous_ = nullptr;
};

// Controls of a dialog.
HWND Control(HWND dialog, int id);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
bool IsEnabled(HWND dialog, int id);
void Click(HWND dialog, int id);  // BM_CLICK, as a mouse click does
bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);  // clicks only when it differs
void SelectComboIndex(HWND dialog, int id, int index);  // with CBN_SELCHANGE to the dialog
int ComboIndex(HWND dialog, int id);
std::vector<std::string> ComboItems(HWND dialog, int id);

// List views.
using Rows = std::vector<std::pair<std::string, std::string>>;
int ListRowCount(HWND list);
std::string ListText(HWND list, int row, int column);
Rows ListRows(HWND list);  // the first two columns of every row
std::vector<int> SelectedRows(HWND list);
void SelectRows(HWND list, const std::vector<int>& rows);  // the first one also focused
void DoubleClickRow(HWND list, int row);  // NM_DBLCLK to the owner
// A key press sent to a window with Ctrl and/or Alt held in the thread's key state;
// WM_SYSKEYDOWN/UP with Alt.
void PressKey(HWND target, UINT vk, bool ctrl = false, bool alt = false);

}  // namespace wt
