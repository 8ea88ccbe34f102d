// Message boxes and dialogs driven on the test's own thread, and the controls in them.
#include "tests/support/DialogDriver.h"
#include "ui/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace wt {
namespace {

// The driver of the calling thread; drivers nest like the dialogs they drive.
thread_local DialogDriver* currentDriver = nullptr;

constexpr UINT_PTR StepTimerId = 0x7D17;
// The message box's icon static (Wine uses 1088, Windows 0x14) and its text static.
constexpr int MessageBoxIconIds[] = {1088, 0x14};
constexpr int MessageBoxTextId = 0xFFFF;

bool IsDialogClass(HWND window)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
}

HWND MessageBoxIcon(HWND box)
{
    for (int id : MessageBoxIconIds) {
        HWND icon = GetDlgItem(box, id);
        if (icon != nullptr && (GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return icon;
    }
    return nullptr;
}

bool Shown(HWND box, int id) { return IsWindowVisible(GetDlgItem(box, id)) != FALSE; }

}  // namespace

bool IsMessageBox(HWND window)
{
    return window != nullptr && IsDialogClass(window) && MessageBoxIcon(window) != nullptr &&
           GetDlgItem(window, MessageBoxTextId) != nullptr;
}

CapturedMessageBox ReadMessageBox(HWND box)
{
    UINT buttons = MB_OK;
    if (Shown(box, IDABORT) && Shown(box, IDRETRY) && Shown(box, IDIGNORE))
        buttons = MB_ABORTRETRYIGNORE;
    else if (Shown(box, IDYES) && Shown(box, IDNO))
        buttons = Shown(box, IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    else if (Shown(box, IDRETRY) && Shown(box, IDCANCEL))
        buttons = MB_RETRYCANCEL;
    else if (Shown(box, IDOK) && Shown(box, IDCANCEL))
        buttons = MB_OKCANCEL;

    UINT icon = 0;
    HWND iconStatic = MessageBoxIcon(box);
    if (const auto shown = reinterpret_cast<HICON>(SendMessageA(iconStatic, STM_GETICON, 0, 0))) {
        icon = MB_USERICON;
        const std::pair<LPCSTR, UINT> known[] = {{IDI_HAND, MB_ICONHAND},
                                                 {IDI_QUESTION, MB_ICONQUESTION},
                                                 {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                                 {IDI_ASTERISK, MB_ICONASTERISK}};
        for (const auto& [name, style] : known) {
            if (LoadIconA(nullptr, name) == shown) icon = style;
        }
    }
    return {Text(box), Text(GetDlgItem(box, MessageBoxTextId)), buttons | icon, GetWindow(box, GW_OWNER)};
}

DialogDriver::DialogDriver() : previous_(currentDriver)
{
    currentDriver = this;
    hook_ = SetWindowsHookExA(WH_CBT, &CbtProc, nullptr, GetCurrentThreadId());
    // The program sets up the common controls at start-up; dialogs opened here need the same.
    initCommonControls();
}

DialogDriver::~DialogDriver()
{
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    currentDriver = previous_;
}

LRESULT CALLBACK DialogDriver::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    DialogDriver* driver = currentDriver;
    const auto window = reinterpret_cast<HWND>(wParam);
    if (driver != nullptr && code == HCBT_DESTROYWND) driver->seen_.erase(window);
    // A dialog is activated again whenever a box it opened closes; it is handled once, and
    // only once its own loop runs, when its controls are set up.
    if (driver != nullptr && code == HCBT_ACTIVATE && IsDialogClass(window) && driver->seen_.insert(window).second)
        SetTimer(window, StepTimerId, 10, &StepTimer);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogDriver::StepTimer(HWND window, UINT, UINT_PTR id, DWORD)
{
    KillTimer(window, id);
    if (DialogDriver* driver = currentDriver) {
        if (IsMessageBox(window))
            driver->CaptureAndAnswer(window);
        else
            driver->RunStep(window);
    }
}

void DialogDriver::CaptureAndAnswer(HWND box)
{
    boxes_.push_back(ReadMessageBox(box));
    int answer = IDOK;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    for (int fallback : {IDCANCEL, IDOK, IDYES, IDNO, IDRETRY, IDABORT, IDIGNORE}) {
        if (!Shown(box, answer)) answer = fallback;
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

void DialogDriver::RunStep(HWND dialog)
{
    if (steps_.empty()) {
        ++unexpected_;
        EndDialog(dialog, EndedByDriver);
        return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(dialog);
    // EndDialog hides the dialog at once; one still shown was left open by its step.
    if (IsWindow(dialog) && IsWindowVisible(dialog)) {
        ++leftOpen_;
        EndDialog(dialog, EndedByDriver);
    }
}

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }
std::string ControlText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
void SetControlText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }
bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SetChecked(HWND dialog, int id, bool checked)
{
    if (IsChecked(dialog, id) != checked) Click(dialog, id);
}

void SelectComboIndex(HWND dialog, int id, int index)
{
    HWND combo = GetDlgItem(dialog, id);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int ComboIndex(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)); }

std::vector<std::string> ComboItems(HWND dialog, int id)
{
    std::vector<std::string> items;
    const int count = static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) items.push_back(comboItemText(GetDlgItem(dialog, id), i));
    return items;
}

int ListRowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string ListText(HWND list, int row, int column)
{
    char buffer[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

Rows ListRows(HWND list)
{
    Rows rows;
    for (int row = 0; row < ListRowCount(list); ++row)
        rows.emplace_back(ListText(list, row, 0), ListText(list, row, 1));
    return rows;
}

std::vector<int> SelectedRows(HWND list)
{
    std::vector<int> rows;
    for (int row = -1; (row = static_cast<int>(
                            SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) != -1;) {
        rows.push_back(row);
    }
    return rows;
}

void SelectRows(HWND list, const std::vector<int>& rows)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    for (size_t i = 0; i < rows.size(); ++i) {
        item.state = item.stateMask = LVIS_SELECTED | (i == 0 ? LVIS_FOCUSED : 0);
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(rows[i]), reinterpret_cast<LPARAM>(&item));
    }
}

void DoubleClickRow(HWND list, int row)
{
    NMITEMACTIVATE note = {};
    note.hdr.hwndFrom = list;
    note.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    note.hdr.code = NM_DBLCLK;
    note.iItem = row;
    SendMessageA(GetParent(list), WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
}

void PressKey(HWND target, UINT vk, bool ctrl, bool alt)
{
    BYTE saved[256], held[256];
    GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), std::begin(held));
    if (ctrl) held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
    if (alt) held[VK_MENU] = held[VK_LMENU] = 0x80;
    SetKeyboardState(held);
    const LPARAM bits = 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, 0)) << 16) | (alt ? (1 << 29) : 0);
    SendMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, bits);
    SendMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, bits | (1 << 30) | (1LL << 31));
    SetKeyboardState(saved);
}

}  // namespace wt
