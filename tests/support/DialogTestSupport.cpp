#include "tests/support/DialogTestSupport.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

namespace dialogtest {
namespace {

// The driver of the calling thread; drivers nest like the dialogs they drive.
thread_local DialogDriver* currentDriver = nullptr;

constexpr UINT_PTR StepTimerId = 0x7D17;
// Ids of the system message box's icon static (Wine; Windows uses 0x14) and text static.
constexpr int MessageBoxIconIds[] = {1088, 0x14};
constexpr int MessageBoxTextId = 0xFFFF;

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND MessageBoxIcon(HWND box)
{
    for (int id : MessageBoxIconIds) {
        HWND icon = GetDlgItem(box, id);
        if (icon != nullptr && ClassOf(icon) == "Static" &&
            (GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            return icon;
        }
    }
    return nullptr;
}

UINT ButtonsStyle(HWND box)
{
    auto shown = [box](int id) {
        HWND button = GetDlgItem(box, id);
        return button != nullptr && IsWindowVisible(button);
    };
    if (shown(IDABORT) && shown(IDRETRY) && shown(IDIGNORE)) return MB_ABORTRETRYIGNORE;
    if (shown(IDYES) && shown(IDNO)) return shown(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    if (shown(IDRETRY) && shown(IDCANCEL)) return MB_RETRYCANCEL;
    if (shown(IDOK) && shown(IDCANCEL)) return MB_OKCANCEL;
    return MB_OK;
}

UINT IconStyle(HWND box)
{
    HWND iconStatic = MessageBoxIcon(box);
    const HICON icon = iconStatic != nullptr
        ? reinterpret_cast<HICON>(SendMessageA(iconStatic, STM_GETICON, 0, 0)) : nullptr;
    if (icon == nullptr) return 0;
    const std::pair<LPCSTR, UINT> known[] = {
        {IDI_HAND, MB_ICONHAND}, {IDI_QUESTION, MB_ICONQUESTION},
        {IDI_EXCLAMATION, MB_ICONEXCLAMATION}, {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& [name, style] : known) {
        if (LoadIconA(nullptr, name) == icon) return style;
    }
    return MB_USERICON;
}

}  // namespace

DialogDriver::DialogDriver() : previous_(currentDriver)
{
    currentDriver = this;
    hook_ = SetWindowsHookExA(WH_CBT, &CbtProc, nullptr, GetCurrentThreadId());
}

DialogDriver::~DialogDriver()
{
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    currentDriver = previous_;
}

void DialogDriver::OnNextDialog(Step step) { steps_.push_back(std::move(step)); }

void DialogDriver::AnswerNextMessageBox(int button) { answers_.push_back(button); }

LRESULT CALLBACK DialogDriver::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    DialogDriver* driver = currentDriver;
    if (driver != nullptr) {
        if (code == HCBT_ACTIVATE) {
            driver->OnActivate(reinterpret_cast<HWND>(wParam));
        } else if (code == HCBT_DESTROYWND) {
            driver->seen_.erase(reinterpret_cast<HWND>(wParam));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void DialogDriver::OnActivate(HWND window)
{
    // A dialog is activated again whenever a box it opened closes; handle it once.
    if (window == nullptr || ClassOf(window) != "#32770" || !seen_.insert(window).second) {
        return;
    }
    // Act only once the dialog's own loop runs: its controls are set up by then.
    SetTimer(window, StepTimerId, 10, &StepTimer);
}

void CALLBACK DialogDriver::StepTimer(HWND window, UINT, UINT_PTR id, DWORD)
{
    KillTimer(window, id);
    DialogDriver* driver = currentDriver;
    if (driver == nullptr) return;
    if (IsMessageBox(window)) {
        driver->CaptureAndAnswer(window);
    } else {
        driver->RunStep(window);
    }
}

void DialogDriver::CaptureAndAnswer(HWND box)
{
    CapturedMessageBox captured;
    captured.caption = Text(box);
    captured.text = Text(GetDlgItem(box, MessageBoxTextId));
    captured.style = ButtonsStyle(box) | IconStyle(box);
    boxes_.push_back(captured);

    int answer = defaultAnswer_;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    auto shown = [box](int id) {
        HWND button = GetDlgItem(box, id);
        return button != nullptr && IsWindowVisible(button);
    };
    if (!shown(answer)) {
        answer = shown(IDCANCEL) ? IDCANCEL : IDOK;
        for (int candidate : {IDOK, IDYES, IDNO, IDRETRY, IDABORT, IDIGNORE}) {
            if (!shown(answer) && shown(candidate)) answer = candidate;
        }
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
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

bool IsMessageBox(HWND window)
{
    return window != nullptr && ClassOf(window) == "#32770" && MessageBoxIcon(window) != nullptr &&
           GetDlgItem(window, MessageBoxTextId) != nullptr;
}

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }

std::string Text(HWND window)
{
    if (window == nullptr) return {};
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string ControlText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

void SetControlText(HWND dialog, int id, const std::string& text)
{
    SetWindowTextA(GetDlgItem(dialog, id), text.c_str());
}

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool IsChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

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

int ComboIndex(HWND dialog, int id)
{
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

std::string ComboItemText(HWND dialog, int id, int index)
{
    HWND combo = GetDlgItem(dialog, id);
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

int ComboCount(HWND dialog, int id)
{
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0));
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

std::vector<int> SelectedRows(HWND list)
{
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                LVNI_SELECTED))) != -1) {
        rows.push_back(row);
    }
    return rows;
}

void SelectRows(HWND list, const std::vector<int>& rows)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    bool first = true;
    for (int row : rows) {
        item.state = LVIS_SELECTED | (first ? LVIS_FOCUSED : 0);
        item.stateMask = LVIS_SELECTED | (first ? LVIS_FOCUSED : 0);
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        first = false;
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
    BYTE saved[256];
    GetKeyboardState(saved);
    BYTE held[256];
    std::copy(std::begin(saved), std::end(saved), std::begin(held));
    if (ctrl) held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
    if (alt) held[VK_MENU] = held[VK_LMENU] = 0x80;
    SetKeyboardState(held);

    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, 0)) << 16;
    const LPARAM context = alt ? (1 << 29) : 0;
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
    SendMessageA(target, down, vk, 1 | scan | context);
    SendMessageA(target, up, vk, 1 | scan | context | (1 << 30) | (1LL << 31));
    SetKeyboardState(saved);
}

void PumpMessagesFor(DWORD milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return done();
            }
            // Let an open dialog see its keys the way its own loop would.
            HWND top = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
            const bool dialog = top != nullptr && ClassOf(top) == "#32770";
            if (!dialog || !IsDialogMessageA(top, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        if (done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMilliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, (std::min<DWORD>)(timeoutMilliseconds - elapsed, 20),
                                  QS_ALLINPUT);
    }
}

int RunShellCommand(const std::string& command, DWORD timeoutMilliseconds)
{
    static int counter = 0;
    char marker[128];
    std::snprintf(marker, sizeof marker, "/tmp/vr-dialogtest-%lu-%d.status",
                  static_cast<unsigned long>(GetCurrentProcessId()), ++counter);
    const std::string windowsMarker = std::string("Z:") + marker;
    DeleteFileA(windowsMarker.c_str());

    std::string line = "/bin/sh -c \"" + command + "; echo $? > " + marker + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    int status = -1;
    PumpUntil([&] {
        FILE* file = std::fopen(windowsMarker.c_str(), "r");
        if (file == nullptr) return false;
        const bool complete = std::fscanf(file, "%d", &status) == 1;
        std::fclose(file);
        return complete;
    }, timeoutMilliseconds);
    DeleteFileA(windowsMarker.c_str());
    return status;
}

POINT DialogUnitsToScreen(HWND dialog, int x, int y)
{
    RECT rect = {x, y, x, y};
    MapDialogRect(dialog, &rect);
    POINT point = {rect.left, rect.top};
    ClientToScreen(dialog, &point);
    return point;
}

}  // namespace dialogtest
