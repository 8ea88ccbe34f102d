#include "ui/ActionEditor.h"

#include "res/resource.h"
#include "ui/Controls.h"
#include "ui/OutputKeyDialog.h"

#include <commctrl.h>

namespace {

// Names are kept to what a buffer of this size holds.
constexpr int NameBufferSize = 65000;
constexpr char RecordCaption[] = "記録開始(&K)";
constexpr char StopCaption[] = "---終了---(&K)";
constexpr char HelpPage[] = "shortcutlistdlg.htm";
constexpr char DeleteQuestion[] = "選択中のキーを削除してよろしいですか？";
constexpr char DeleteCaption[] = "削除の確認";
constexpr char BadInputText[] = "入力キーが正しく入力されていません。正しく設定して下さい。";
constexpr char BadInputCaption[] = "入力キーが不正です";
constexpr char NoKeyText[] = "入力キーのキーが選ばれていません。Ctrl などと組み合わせるキーを選んで下さい。";

// Everything the user could change besides the list and the record button.
constexpr int ControlsLockedWhileRecording[] = {IDC_ACTION_NAME, IDC_CHECK_ALT, IDC_CHECK_WIN, IDC_CHECK_CTRL,
                                                IDC_CHECK_SHIFT, IDC_KEY_COMBO, IDOK,          IDCANCEL};

bool keyHeld(int vk)
{
    return GetKeyState(vk) < 0;
}

}  // namespace

ActionEditor::ActionEditor(Action& action, KeyEngine& engine, HINSTANCE instance)
    : DialogBase(instance, "SHORTCUT_LIST", HelpPage), action_(action), engine_(engine), picker_(input_, instance),
      keys_(action)
{}

INT_PTR ActionEditor::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise();
        return TRUE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->hwndFrom == keys_.window()) {
            onNotify(*header);
        }
        return FALSE;
    }
    case WM_KEY_RECORDED:
        onKeyRecorded(wParam);
        return TRUE;
    case WM_DESTROY:
        // Normally unreachable while recording (nothing can close the dialog then), but the
        // owner may go away.
        recording_.reset();
        return FALSE;
    }
    return FALSE;
}

void ActionEditor::forgetControls()
{
    addButton_ = deleteButton_ = editButton_ = upButton_ = downButton_ = recordButton_ = nullptr;
    keys_.forget();
    picker_.Forget();
}

void ActionEditor::initialise()
{
    addButton_ = control(IDC_ADD_BUTTON);
    deleteButton_ = control(IDC_DELETE_BUTTON);
    editButton_ = control(IDC_EDIT_BUTTON);
    upButton_ = control(IDC_UP_BUTTON);
    downButton_ = control(IDC_DOWN_BUTTON);
    recordButton_ = control(IDC_RECORD_BUTTON);

    SetDlgItemTextA(window(), IDC_ACTION_NAME, action_.name().c_str());
    input_ = action_.input();
    picker_.Init(window());

    keys_.attach(control(IDC_OUTPUT_LIST));
    subclass(keys_.window());
    fillList(0);
}

LRESULT ActionEditor::onControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (control == keys_.window() && message == WM_SYSKEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        if (!recording()) {
            moveKeys(wParam == VK_UP);
        }
        return 0;
    }
    return callPrevious(control, message, wParam, lParam);
}

void ActionEditor::onCommand(int id)
{
    switch (id) {
    case IDOK:
        // Enter and Esc still reach a dialog whose OK and Cancel are disabled; while
        // recording they are keys being recorded, not commands.
        if (!recording())
            confirm();
        break;
    case IDCANCEL:
        if (!recording())
            EndDialog(window(), Cancelled);
        break;
    case IDC_ADD_BUTTON:
        if (!recording())
            addKey();
        break;
    case IDC_DELETE_BUTTON:
        if (!recording())
            deleteKeys();
        break;
    case IDC_EDIT_BUTTON:
        if (!recording())
            editKey();
        break;
    case IDC_UP_BUTTON:
        if (!recording())
            moveKeys(true);
        break;
    case IDC_DOWN_BUTTON:
        if (!recording())
            moveKeys(false);
        break;
    case IDC_RECORD_BUTTON:
        toggleRecording();
        break;
    }
}

void ActionEditor::onNotify(const NMHDR& header)
{
    // While recording only the list's own selection works.
    if (recording())
        return;
    switch (header.code) {
    case LVN_ITEMCHANGED:
        if (!keys_.changingRows())
            updateButtons();
        break;
    case NM_DBLCLK:
        if (keys_.selectionIndex() == keys_.keyCount()) {
            addKey();
        } else {
            editKey();
        }
        break;
    case LVN_KEYDOWN:
        onListKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
        break;
    }
}

void ActionEditor::onListKeyDown(WORD vk)
{
    // The list reports Alt+arrow and Ctrl+A with the bare key; the modifiers are read from
    // the key state of the message being handled.
    if (vk == VK_DELETE) {
        deleteKeys();
    } else if (vk == 'A' && keyHeld(VK_CONTROL)) {
        keys_.selectAll();
    } else if ((vk == VK_UP || vk == VK_DOWN) && keyHeld(VK_MENU)) {
        moveKeys(vk == VK_UP);
    }
}

void ActionEditor::onKeyRecorded(WPARAM keyCode)
{
    if (recording())
        keys_.insertRecorded(KeyStroke::ofCode(static_cast<int>(keyCode)));
}

void ActionEditor::fillList(int selected)
{
    keys_.fill(selected);
    updateButtons();
}

void ActionEditor::updateButtons()
{
    if (recording())
        return;
    const int s = keys_.selectionIndex();
    const bool keyRow = s >= 0 && s < keys_.keyCount();
    EnableWindow(addButton_, s >= 0);
    EnableWindow(editButton_, keyRow);
    EnableWindow(deleteButton_, s == OutputKeyList::SeveralSelected || keyRow);
    EnableWindow(upButton_, keys_.canMove(true));
    EnableWindow(downButton_, keys_.canMove(false));
}

void ActionEditor::addKey()
{
    SetFocus(keys_.window());
    const int s = keys_.selectionIndex();
    if (s < 0)
        return;
    KeyStroke key;
    if (OutputKeyDialog(key, instance()).Run(window()) == IDOK && key.toCode() != 0) {
        action_.insertOutput(key, s);
        fillList(s);
    }
}

void ActionEditor::editKey()
{
    const int s = keys_.selectionIndex();
    if (s < 0 || s >= keys_.keyCount())
        return;
    if (OutputKeyDialog(action_.outputAt(s), instance()).Run(window()) == IDOK) {
        fillList(s);
    }
    SetFocus(keys_.window());
}

void ActionEditor::deleteKeys()
{
    SetFocus(keys_.window());
    if (!IsWindowEnabled(deleteButton_))
        return;
    if (MessageBoxA(window(), DeleteQuestion, DeleteCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    keys_.removeSelected();
    updateButtons();
}

void ActionEditor::moveKeys(bool up)
{
    if (keys_.moveSelected(up))
        updateButtons();
}

void ActionEditor::toggleRecording()
{
    if (recording()) {
        stopRecording();
    } else {
        startRecording();
    }
}

void ActionEditor::startRecording()
{
    const int s = keys_.selectionIndex();
    if (s < 0)
        return;
    keys_.recordAt(s);
    recording_.emplace(window(), engine_, instance());
    SetWindowTextA(recordButton_, StopCaption);
    lockControlsForRecording(true);
}

void ActionEditor::stopRecording()
{
    recording_.reset();
    SetWindowTextA(recordButton_, RecordCaption);
    lockControlsForRecording(false);
    fillList(0);
    SetFocus(keys_.window());
}

void ActionEditor::lockControlsForRecording(bool on)
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

void ActionEditor::confirm()
{
    action_.setName(controlText(control(IDC_ACTION_NAME), NameBufferSize));
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
    EndDialog(window(), IDOK);
}
