#include "ui/ActionEditor.h"

#include "res/resource.h"
#include "ui/KeyVocabulary.h"
#include "ui/OutputKeyDialog.h"

#include <commctrl.h>

#include <cstring>
#include <string>

namespace {

constexpr int NameBufferSize = 65000;
constexpr int ShiftColumnWidth = 100;
constexpr int KeyColumnWidth = 80;
constexpr char EndRowText[] = "...";
constexpr char RecordCaption[] = "記録開始(&K)";
constexpr char StopCaption[] = "---終了---(&K)";
constexpr char HelpPage[] = "shortcutlistdlg.htm";
constexpr char DeleteQuestion[] = "選択中のキーを削除してよろしいですか？";
constexpr char DeleteCaption[] = "削除の確認";
constexpr char BadInputText[] = "入力キーが正しく入力されていません。正しく設定して下さい。";
constexpr char BadInputCaption[] = "入力キーが不正です";
constexpr char NoKeyText[] = "入力キーのキーが選ばれていません。Ctrl などと組み合わせるキーを選んで下さい。";
// Marks the editor window whose keys the recording filter drops.
constexpr char RecordingProperty[] = "VarokintoRecording";

// Everything the user could change besides the list and the record button.
constexpr int ControlsLockedWhileRecording[] = {
    IDC_ACTION_NAME, IDC_CHECK_ALT, IDC_CHECK_WIN, IDC_CHECK_CTRL, IDC_CHECK_SHIFT, IDC_KEY_COMBO,
    IDOK, IDCANCEL};

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

void InitListViewClass()
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);
}

}  // namespace

ActionEditor::ActionEditor(Action& action, KeyEngine& engine, HINSTANCE instance)
    : DialogBase(instance, "SHORTCUT_LIST", HelpPage), action_(action), engine_(engine), picker_(input_, instance)
{
}

INT_PTR ActionEditor::Run(HWND owner)
{
    // The template's list view needs its window class before the dialog is created.
    InitListViewClass();
    return RunModal(owner);
}

INT_PTR ActionEditor::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->hwndFrom == list_) {
            OnNotify(*header);
        }
        return FALSE;
    }
    case WM_KEY_RECORDED:
        OnKeyRecorded(wParam);
        return TRUE;
    case WM_DESTROY:
        // Normally unreachable while recording (nothing can close the dialog then), but if
        // the owner goes away the engine must not keep sending keys to a dead window.
        if (recording_) {
            recording_ = false;
            recordingFilter_.reset();
            RemovePropA(window(), RecordingProperty);
            engine_.SetRecordingWindow(0);
        }
        return FALSE;
    case WM_NCDESTROY:
        list_ = addButton_ = deleteButton_ = editButton_ = upButton_ = downButton_ = nullptr;
        recordButton_ = nullptr;
        picker_.Forget();
        return FALSE;
    }
    return FALSE;
}

void ActionEditor::OnInitDialog()
{
    list_ = control(IDC_OUTPUT_LIST);
    addButton_ = control(IDC_ADD_BUTTON);
    deleteButton_ = control(IDC_DELETE_BUTTON);
    editButton_ = control(IDC_EDIT_BUTTON);
    upButton_ = control(IDC_UP_BUTTON);
    downButton_ = control(IDC_DOWN_BUTTON);
    recordButton_ = control(IDC_RECORD_BUTTON);
    InitListViewClass();

    SetDlgItemTextA(window(), IDC_ACTION_NAME, action_.name().c_str());
    input_ = action_.input();
    picker_.Init(window());

    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    const std::pair<const char*, int> columns[] = {{"シフトキー", ShiftColumnWidth},
                                                   {"キー", KeyColumnWidth}};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].second;
        column.pszText = const_cast<char*>(columns[i].first);
        column.iSubItem = i;
        SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    Subclass(list_);
    FillList(0);
}

LRESULT ActionEditor::OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (control == list_ && message == WM_SYSKEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        if (!recording_) {
            Move(wParam == VK_UP);
        }
        return 0;
    }
    return CallPrevious(control, message, wParam, lParam);
}

LRESULT CALLBACK ActionEditor::RecordingFilter(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message != nullptr && message->message >= WM_KEYFIRST &&
        message->message <= WM_KEYLAST && GetPropA(GetAncestor(message->hwnd, GA_ROOT), RecordingProperty)) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ActionEditor::OnCommand(int id)
{
    switch (id) {
    case IDOK:
        // Enter and Esc still reach a dialog whose OK and Cancel are disabled; while
        // recording they are keys being recorded, not commands.
        if (!recording_) Confirm();
        break;
    case IDCANCEL:
        if (!recording_) EndDialog(window(), 0);
        break;
    case IDC_ADD_BUTTON:
        if (!recording_) Add();
        break;
    case IDC_DELETE_BUTTON:
        if (!recording_) Delete();
        break;
    case IDC_EDIT_BUTTON:
        if (!recording_) Edit();
        break;
    case IDC_UP_BUTTON:
        if (!recording_) Move(true);
        break;
    case IDC_DOWN_BUTTON:
        if (!recording_) Move(false);
        break;
    case IDC_RECORD_BUTTON:
        ToggleRecording();
        break;
    }
}

void ActionEditor::OnNotify(const NMHDR& header)
{
    // While recording only the list's own selection works.
    if (recording_) return;
    switch (header.code) {
    case LVN_ITEMCHANGED:
        if (!changingRows_) UpdateButtons();
        break;
    case NM_DBLCLK:
        if (SelectionIndex() == KeyRowCount()) {
            Add();
        } else {
            Edit();
        }
        break;
    case LVN_KEYDOWN:
        OnListKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
        break;
    }
}

void ActionEditor::OnListKeyDown(WORD vk)
{
    // The list reports Alt+arrow and Ctrl+A with the bare key; the modifiers are read from
    // the key state of the message being handled.
    if (vk == VK_DELETE) {
        Delete();
    } else if (vk == 'A' && KeyHeld(VK_CONTROL)) {
        SelectAll();
    } else if ((vk == VK_UP || vk == VK_DOWN) && KeyHeld(VK_MENU)) {
        Move(vk == VK_UP);
    }
}

void ActionEditor::OnKeyRecorded(WPARAM keyCode)
{
    if (!recording_) return;
    const KeyStroke key = KeyStroke::ofCode(static_cast<int>(keyCode));
    if (action_.insertOutput(key, insertAt_)) {
        InsertKeyRow(insertAt_, key, false);
        // The newest key stays in view, also once the list is longer than it is tall.
        SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(insertAt_), FALSE);
        ++insertAt_;
    }
}

void ActionEditor::FillList(int selected)
{
    changingRows_ = true;
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    const int count = KeyRowCount();
    for (int row = 0; row < count; ++row) {
        InsertKeyRow(row, action_.outputAt(row), row == selected);
    }
    LVITEMA end = {};
    end.mask = LVIF_TEXT | LVIF_STATE;
    end.iItem = count;
    end.pszText = const_cast<char*>(EndRowText);
    end.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    end.state = count == 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&end));
    changingRows_ = false;
    UpdateButtons();
}

void ActionEditor::InsertKeyRow(int row, const KeyStroke& key, bool selected)
{
    std::string modifiers = FormatKeyStroke(key, false);
    std::string name = key.vk != 0 ? KeyName(key.vk) : std::string();
    if (!modifiers.empty() && !name.empty()) {
        modifiers += " + ";
    }
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = row;
    item.pszText = modifiers.data();
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    const auto inserted = static_cast<int>(
        SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMA keyColumn = {};
    keyColumn.iSubItem = 1;
    keyColumn.pszText = name.data();
    SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(inserted), reinterpret_cast<LPARAM>(&keyColumn));
}

bool ActionEditor::IsRowSelected(int row) const
{
    return (SendMessageA(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
            LVIS_SELECTED) != 0;
}

void ActionEditor::SetRowState(int row, UINT state, UINT mask)
{
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int ActionEditor::SelectionIndex() const
{
    const auto selected = SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0);
    if (selected == 0) return NoSelection;
    if (selected > 1) return SeveralSelected;
    return static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool ActionEditor::CanMove(bool up) const
{
    // Some selected key row must have an unselected key row on the side it moves to.
    const int count = KeyRowCount();
    bool passedUnselected = false;
    for (int i = 0; i < count; ++i) {
        const int row = up ? i : count - 1 - i;
        if (!IsRowSelected(row)) {
            passedUnselected = true;
        } else if (passedUnselected) {
            return true;
        }
    }
    return false;
}

void ActionEditor::UpdateButtons()
{
    if (recording_) return;
    const int s = SelectionIndex();
    const int count = KeyRowCount();
    const bool keyRow = s >= 0 && s < count;
    EnableWindow(addButton_, s >= 0);
    EnableWindow(editButton_, keyRow);
    EnableWindow(deleteButton_, s == SeveralSelected || keyRow);
    EnableWindow(upButton_, CanMove(true));
    EnableWindow(downButton_, CanMove(false));
}

void ActionEditor::Add()
{
    SetFocus(list_);
    const int s = SelectionIndex();
    if (s < 0) return;
    KeyStroke key;
    if (OutputKeyDialog(key, instance()).Run(window()) == 1 && key.toCode() != 0) {
        action_.insertOutput(key, s);
        FillList(s);
    }
}

void ActionEditor::Edit()
{
    const int s = SelectionIndex();
    if (s < 0 || s >= KeyRowCount()) return;
    if (OutputKeyDialog(action_.outputAt(s), instance()).Run(window()) == 1) {
        FillList(s);
    }
    SetFocus(list_);
}

void ActionEditor::Delete()
{
    SetFocus(list_);
    if (!IsWindowEnabled(deleteButton_)) return;
    if (MessageBoxA(window(), DeleteQuestion, DeleteCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    changingRows_ = true;
    for (int row = KeyRowCount() - 1; row >= 0; --row) {
        if (IsRowSelected(row)) {
            action_.removeOutput(row);
            SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
        }
    }
    const int rows = KeyRowCount() + 1;
    for (int row = 0; row < rows; ++row) {
        if (SendMessageA(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_FOCUSED) & LVIS_FOCUSED) {
            SetRowState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    changingRows_ = false;
    UpdateButtons();
}

void ActionEditor::Move(bool up)
{
    if (!CanMove(up)) return;
    changingRows_ = true;
    const int count = KeyRowCount();
    const int step = up ? -1 : 1;
    bool passedUnselected = false;
    for (int i = 0; i < count; ++i) {
        const int row = up ? i : count - 1 - i;
        if (!IsRowSelected(row)) {
            passedUnselected = true;
        } else if (passedUnselected && action_.moveOutput(row, up)) {
            SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
            InsertKeyRow(row + step, action_.outputAt(row + step), true);
        }
    }
    changingRows_ = false;
    UpdateButtons();
}

void ActionEditor::SelectAll()
{
    SetRowState(-1, LVIS_SELECTED, LVIS_SELECTED);
    SetRowState(KeyRowCount(), 0, LVIS_SELECTED);
}

void ActionEditor::ToggleRecording()
{
    if (recording_) {
        StopRecording();
    } else {
        StartRecording();
    }
}

void ActionEditor::StartRecording()
{
    const int s = SelectionIndex();
    if (s < 0) return;
    insertAt_ = s;
    recording_ = true;
    SetWindowTextA(recordButton_, StopCaption);
    SetControlsForRecording(true);
    EnableMenuItem(GetSystemMenu(window(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    SetPropA(window(), RecordingProperty, reinterpret_cast<HANDLE>(this));
    recordingFilter_.reset(SetWindowsHookExA(WH_MSGFILTER, &RecordingFilter, nullptr, GetCurrentThreadId()));
    engine_.SetRecordingWindow(reinterpret_cast<WindowId>(window()));
}

void ActionEditor::StopRecording()
{
    recording_ = false;
    recordingFilter_.reset();
    RemovePropA(window(), RecordingProperty);
    SetWindowTextA(recordButton_, RecordCaption);
    SetControlsForRecording(false);
    FillList(0);
    EnableMenuItem(GetSystemMenu(window(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    engine_.SetRecordingWindow(0);
    SetFocus(list_);
}

void ActionEditor::SetControlsForRecording(bool on)
{
    for (int id : ControlsLockedWhileRecording) {
        EnableWindow(GetDlgItem(window(), id), !on);
    }
    // The list buttons come back through the button states when the list is filled again.
    if (on) {
        for (HWND button : {addButton_, deleteButton_, editButton_, upButton_, downButton_}) {
            EnableWindow(button, FALSE);
        }
    }
}

void ActionEditor::Confirm()
{
    std::string name(NameBufferSize, '\0');
    GetDlgItemTextA(window(), IDC_ACTION_NAME, name.data(), NameBufferSize);
    name.resize(std::strlen(name.c_str()));
    action_.setName(name);
    if (!picker_.Store()) {
        MessageBoxA(window(), BadInputText, BadInputCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    // Modifiers alone are no trigger: the action would fire on every press of Ctrl, and
    // the key it stands for could not be given back to the application.
    if (input_.vk == 0) {
        MessageBoxA(window(), NoKeyText, BadInputCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    action_.setInput(input_);
    EndDialog(window(), 1);
}
