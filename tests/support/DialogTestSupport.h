// Driving real dialogs from a test, as a user would, on the test's own thread.
//
// A DialogDriver installs a WH_CBT hook on the calling thread for its lifetime. Every
// message box that comes up is recorded (caption, text, buttons and icon) and answered
// with the next scripted button; every other dialog ("#32770") runs the next scripted
// step once its modal loop is running. Steps run inside that loop, so they may click
// buttons that open further dialogs or message boxes: those are handled the same way,
// nested. Nothing waits without a bound: a dialog with no step left, or left open by its
// step, is ended with EndedByDriver.
//
// Link tests/support/DialogTestSupport.cpp into the test executable.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace dialogtest {

struct CapturedMessageBox {
    std::string caption;
    std::string text;
    // MB_OK, MB_OKCANCEL, ... (from the buttons shown) | MB_ICONWARNING, ... (from the icon).
    UINT style = 0;
    UINT buttons() const { return style & MB_TYPEMASK; }
    UINT icon() const { return style & MB_ICONMASK; }
};

// The dialog result given to a dialog that the driver had to end itself.
constexpr INT_PTR EndedByDriver = 0x5A5A;

class DialogDriver {
public:
    using Step = std::function<void(HWND dialog)>;

    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // The next dialog that comes up runs this step.
    void OnNextDialog(Step step);
    // The next message box is answered with this button (IDOK, IDCANCEL, IDYES, ...).
    void AnswerNextMessageBox(int button);
    // Answer for message boxes with no scripted answer; IDOK at first. A button the box
    // does not show falls back to IDCANCEL, then to the first button shown.
    void SetDefaultAnswer(int button) { defaultAnswer_ = button; }

    const std::vector<CapturedMessageBox>& messageBoxes() const { return boxes_; }
    void ClearMessageBoxes() { boxes_.clear(); }
    // Dialogs that came up with no step left, ended at once.
    int unexpectedDialogs() const { return unexpected_; }
    // Dialogs that were still open after their step and were ended by the driver.
    int dialogsLeftOpen() const { return leftOpen_; }
    size_t pendingSteps() const { return steps_.size(); }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK StepTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    void OnActivate(HWND window);
    void CaptureAndAnswer(HWND box);
    void RunStep(HWND dialog);

    HHOOK hook_ = nullptr;
    std::deque<Step> steps_;
    std::deque<int> answers_;
    int defaultAnswer_ = IDOK;
    std::vector<CapturedMessageBox> boxes_;
    std::set<HWND> seen_;
    std::vector<std::pair<HWND, Step>> ready_;
    int unexpected_ = 0;
    int leftOpen_ = 0;
    DialogDriver* previous_ = nullptr;
};

// True for a message box of the system (its icon static and text static 0xFFFF).
bool IsMessageBox(HWND window);

// Controls.
HWND Control(HWND dialog, int id);
std::string Text(HWND window);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
bool IsEnabled(HWND dialog, int id);
// BM_CLICK, as a mouse click on the button would do.
void Click(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
// Clicks the check box when its state differs, so the dialog sees BN_CLICKED.
void SetChecked(HWND dialog, int id, bool checked);
// Selects a combo box position and tells the dialog (CBN_SELCHANGE).
void SelectComboIndex(HWND dialog, int id, int index);
int ComboIndex(HWND dialog, int id);
std::string ComboItemText(HWND dialog, int id, int index);
int ComboCount(HWND dialog, int id);

// List views.
int ListRowCount(HWND list);
std::string ListText(HWND list, int row, int column);
std::vector<int> SelectedRows(HWND list);
// Selects exactly these rows (the first one also focused); the owner gets LVN_ITEMCHANGED.
void SelectRows(HWND list, const std::vector<int>& rows);
// A double click on a row as the list reports it to its owner (NM_DBLCLK).
void DoubleClickRow(HWND list, int row);
// A key press in a window with Ctrl and/or Alt held: the thread's key state is set as a
// user holding them would leave it, then WM_KEYDOWN (WM_SYSKEYDOWN with Alt) and the key-up.
void PressKey(HWND target, UINT vk, bool ctrl = false, bool alt = false);

// Message pumping with a bound.
void PumpMessagesFor(DWORD milliseconds);
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds);

// Runs a command of the Unix shell under Wine (e.g. "xdotool key ctrl+c"; no double quotes
// in it) and waits for it at most timeoutMilliseconds, pumping this thread's messages
// meanwhile so that the keys it types are handled. Its exit status, or -1 when it could
// not be started or did not finish in time. Wine gives no waitable handle for a Unix
// process, so the command reports its status through a file under /tmp.
int RunShellCommand(const std::string& command, DWORD timeoutMilliseconds);

// Screen position of a point in a dialog's client area given in dialog units.
POINT DialogUnitsToScreen(HWND dialog, int x, int y);

}  // namespace dialogtest
