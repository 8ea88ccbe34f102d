// Driving real dialogs on the test's own thread as a user would: message boxes captured and
// answered, dialogs scripted step by step, and their controls read and set.
#pragma once
#include "tests/support/WineBasics.h"

#include <deque>
#include <set>
#include <utility>
#include <vector>

namespace wt {

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
void SetChecked(HWND dialog, int id, bool checked);     // clicks only when it differs
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
void DoubleClickRow(HWND list, int row);                   // NM_DBLCLK to the owner
// A key press sent to a window with Ctrl and/or Alt held in the thread's key state;
// WM_SYSKEYDOWN/UP with Alt.
void PressKey(HWND target, UINT vk, bool ctrl = false, bool alt = false);

}  // namespace wt
