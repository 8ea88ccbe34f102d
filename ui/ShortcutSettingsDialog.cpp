#include "ui/ShortcutSettingsDialog.h"

#include "engine/KeyEngine.h"
#include "model/AppEntry.h"
#include "model/ShiftJisPath.h"
#include "model/ShortcutTable.h"
#include "res/resource.h"
#include "ui/ActionEditor.h"
#include "ui/AppEditDialog.h"
#include "ui/Controls.h"
#include "ui/FileNotices.h"
#include "ui/KeyVocabulary.h"

namespace {

constexpr UINT DropPathSize = MAX_PATH;  // 260 including the terminator
constexpr char NoNameText[] = "(未入力)";
constexpr int KeyColumnWidth = 100;
constexpr int NameColumnWidth = 150;

constexpr char DuplicateInputText[] = "入力キーが他のアクションと重複しています。\n変更してください。";
constexpr char DuplicateInputCaption[] = "入力キー重複のお知らせ";
constexpr char DuplicateNameText[] = "名前が他のアプリケーションと重複しています。\n変更してください。";
constexpr char DuplicateNameCaption[] = "名前重複のお知らせ";
constexpr char DuplicatePathText[] =
    "既に登録されているアプリケーションです。このアプリケーションに変更することはできません。";
constexpr char DuplicatePathCaption[] = "ｱﾌﾟﾘｹｰｼｮﾝ重複のお知らせ";
constexpr char DropCaption[] = "varokint";

constexpr char HelpPage[] = "editshortcutdlg.htm";

}  // namespace

ShortcutSettingsDialog::ShortcutSettingsDialog(ShortcutTable& table, KeyEngine& engine, HINSTANCE instance,
                                               std::string initialPath)
    : DialogBase(instance, "EditDialog", HelpPage), table_(table), engine_(engine), initialPath_(std::move(initialPath))
{}

INT_PTR ShortcutSettingsDialog::Run(HWND owner)
{
    runModal(owner);
    icon_.reset();
    return 0;
}

INT_PTR ShortcutSettingsDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return initialise();
    case AppCombo::ContinueFillMessage:
        if (apps_.fillPending())
            apps_.continueFill(AppCombo::FillStepMs);
        return TRUE;
    case WM_PAINT:
        drawIcon();
        return FALSE;
    case WM_NOTIFY:
        onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void ShortcutSettingsDialog::forgetControls()
{
    appGroup_ = appCombo_ = iconArea_ = pathText_ = actionList_ = newButton_ = editButton_ = deleteButton_ = nullptr;
    apps_.forget();
}

LRESULT ShortcutSettingsDialog::onControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (control == appGroup_ && message == WM_DROPFILES) {
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    // Whoever reads the combo box, or the user who types into it or opens it, meets the
    // whole list.
    // (A key let go, such as the one that chose the tray menu's item, moves nothing.)
    const bool comboMessage = message >= CB_GETEDITSEL && message < CB_MSGMAX;
    const bool input = message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR ||
                       message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_MOUSEWHEEL;
    if (control == appCombo_ && (comboMessage || input))
        apps_.finishFill();
    return callPrevious(control, message, wParam, lParam);
}

BOOL ShortcutSettingsDialog::initialise()
{
    appGroup_ = control(IDC_APP_GROUP);
    appCombo_ = control(IDC_APP_COMBO);
    iconArea_ = control(IDC_ICON_AREA);
    pathText_ = control(IDC_PATH_TEXT);
    actionList_ = control(IDC_ACTION_LIST);
    newButton_ = control(IDC_NEW_ACTION);
    editButton_ = control(IDC_EDIT_ACTION);
    deleteButton_ = control(IDC_DELETE_ACTION);

    setUpListColumns(actionList_, {{"入力キー", KeyColumnWidth}, {"アクション名", NameColumnWidth}});

    DragAcceptFiles(appGroup_, TRUE);
    subclass(appGroup_);

    // The application of the hotkey is in the table before the list is filled, so that the
    // list is filled once and its position is known without a search.
    const AppEntry* initial = initialPath_.empty() ? nullptr : table_.at(table_.findOrAddByPath(initialPath_));
    apps_.attach(appCombo_, window());
    const int initialItem = apps_.startFill(table_, initial);
    // From here on, whoever reads the combo box meets the whole list.
    subclass(appCombo_);
    showItem(initialItem);
    if (initialPath_.empty())
        return TRUE;
    SetFocus(actionList_);
    return FALSE;
}

int ShortcutSettingsDialog::indexOfEntry(const AppEntry* entry) const
{
    const ShortcutTable& table = table_;
    for (int i = 0; i < table.count(); ++i) {
        if (table.at(i) == entry)
            return i;
    }
    return -1;
}

void ShortcutSettingsDialog::onCommand(int id, int code)
{
    // Every command but closing reads the list or changes the table it was made from; the
    // combo box's other notices (its focus) do neither.
    if (id != IDOK && id != IDCANCEL && (id != IDC_APP_COMBO || code == CBN_SELCHANGE))
        apps_.finishFill();
    switch (id) {
    case IDOK:
    case IDCANCEL:
        closeWindow();
        break;
    case IDC_NEW_ACTION:
        newAction();
        break;
    case IDC_EDIT_ACTION:
        editAction();
        break;
    case IDC_DELETE_ACTION:
        deleteAction();
        break;
    case IDC_APP_COMBO:
        if (code == CBN_SELCHANGE)
            showApplication();
        break;
    case IDC_CHANGE_APP:
        changeApplication();
        break;
    }
}

void ShortcutSettingsDialog::onNotify(const NMHDR& header)
{
    if (header.idFrom != IDC_ACTION_LIST)
        return;
    switch (header.code) {
    case LVN_ITEMCHANGED:
        enableActionButtons(SendMessageA(actionList_, LVM_GETSELECTEDCOUNT, 0, 0) != 0);
        break;
    case NM_DBLCLK:
        editAction();
        break;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE)
            deleteAction();
        break;
    }
}

void ShortcutSettingsDialog::enableActionButtons(bool enable)
{
    EnableWindow(editButton_, enable);
    EnableWindow(deleteButton_, enable);
}

void ShortcutSettingsDialog::showApplication()
{
    showItem(static_cast<int>(SendMessageA(appCombo_, CB_GETCURSEL, 0, 0)));
}

void ShortcutSettingsDialog::showItem(int item)
{
    comboIndex_ = item;
    const AppEntry* shown = apps_.entryAt(comboIndex_);
    if (shown == nullptr) {
        showNothing();
        return;
    }
    // Each item leads to its own entry, whatever its name and whether the name survived the list.
    appIndex_ = indexOfEntry(shown);
    if (appIndex_ < 0)
        return;
    const AppEntry& entry = *table_.at(appIndex_);
    const std::string displayedPath = isReservedPath(entry.path()) ? std::string() : entry.path();
    SetWindowTextA(pathText_, displayedPath.c_str());
    fillActionList(appIndex_);
    showApplicationIcon(displayedPath);
    if (SendMessageA(actionList_, LVM_GETITEMCOUNT, 0, 0) == 0)
        enableActionButtons(false);
}

// With no application left to select, nothing of a former one may stay on show, and the
// commands have nothing to act on.
void ShortcutSettingsDialog::showNothing()
{
    appIndex_ = -1;
    SetWindowTextA(pathText_, "");
    SendMessageA(actionList_, LVM_DELETEALLITEMS, 0, 0);
    ShowWindow(iconArea_, SW_HIDE);
    enableActionButtons(false);
}

void ShortcutSettingsDialog::selectApplicationByPath(const std::string& path)
{
    const bool known = table_.findByPath(path) >= 0;
    const AppEntry* entry = table_.at(table_.findOrAddByPath(path));
    if (!entry)
        return;
    const int item = known ? apps_.itemOf(entry) : apps_.add(*entry, -1);
    SendMessageA(appCombo_, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

void ShortcutSettingsDialog::fillActionList(int appIndex)
{
    SendMessageA(actionList_, LVM_DELETEALLITEMS, 0, 0);
    const AppEntry* entry = table_.at(appIndex);
    if (!entry)
        return;
    for (int k = 0; k < entry->actionCount(); ++k) {
        const Action& action = entry->actionAt(k);
        const std::string keyText = FormatKeyStroke(action.input(), true);
        const char* name = action.name().empty() ? NoNameText : action.name().c_str();
        insertListRow(actionList_, k, keyText.c_str(), name, k == 0);
    }
    // Removing rows reports no selection change, so an emptied list would leave them enabled.
    if (entry->actionCount() == 0)
        enableActionButtons(false);
}

void ShortcutSettingsDialog::showApplicationIcon(const std::string& displayedPath)
{
    if (displayedPath.empty() || GetFileAttributesA(displayedPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        ShowWindow(iconArea_, SW_HIDE);
        return;
    }
    // The former application's icon goes now: the area is redrawn with the new one at once.
    LoadExecutableIcon(icon_, displayedPath.c_str(), false);
    // Shown before drawing: a static that becomes visible paints its background over the icon.
    ShowWindow(iconArea_, SW_SHOW);
    drawIcon();
}

void ShortcutSettingsDialog::drawIcon()
{
    // The static paints its own background first, so the icon goes on top of it.
    InvalidateRect(iconArea_, nullptr, TRUE);
    UpdateWindow(iconArea_);
    if (!icon_.get())
        return;
    const WindowDC dc(iconArea_);
    DrawIconEx(dc.get(), 0, 0, icon_.get(), 16, 16, 0, nullptr, DI_NORMAL);
}

int ShortcutSettingsDialog::selectedActionIndex() const
{
    return static_cast<int>(SendMessageA(actionList_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool ShortcutSettingsDialog::editUntilInputFree(Action& working, int exceptIndex)
{
    for (;;) {
        ActionEditor editor(working, engine_, instance());
        if (editor.Run(window()) != IDOK)
            return false;
        // The entry is looked up again: nothing else may run while the editor is open,
        // but a stale pointer must never be the reason for a fault.
        const AppEntry* entry = table_.at(appIndex_);
        if (!entry)
            return false;
        if (entry->isInputFree(working.input(), exceptIndex))
            return true;
        MessageBoxA(window(), DuplicateInputText, DuplicateInputCaption, MB_OK | MB_ICONEXCLAMATION);
    }
}

void ShortcutSettingsDialog::newAction()
{
    if (!table_.at(appIndex_))
        return;
    Action working("");
    if (!editUntilInputFree(working, -1))
        return;
    table_.at(appIndex_)->addAction(working);
    fillActionList(appIndex_);
}

void ShortcutSettingsDialog::editAction()
{
    AppEntry* entry = table_.at(appIndex_);
    const int k = selectedActionIndex();
    if (!entry || k < 0 || k >= entry->actionCount())
        return;
    Action working = entry->actionAt(k);
    if (!editUntilInputFree(working, k))
        return;
    table_.at(appIndex_)->replaceAction(k, working);
    fillActionList(appIndex_);
}

void ShortcutSettingsDialog::deleteAction()
{
    AppEntry* entry = table_.at(appIndex_);
    const int k = selectedActionIndex();
    if (!entry || k < 0)
        return;
    if (MessageBoxA(window(), "選択中のアクションを削除してよろしいですか？", "削除の確認",
                    MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (entry->removeAction(k)) {
        fillActionList(appIndex_);
        keepFocusUsable();
    } else
        MessageBoxA(window(), "内部エラーにより削除できませんでした", "Error", MB_OKCANCEL);
}

// The message box gave the focus back to 削除, which the emptied list has just disabled: a
// disabled control takes no keys, and Esc and Tab would do nothing until a click.
void ShortcutSettingsDialog::keepFocusUsable()
{
    const HWND focus = GetFocus();
    if (focus != nullptr && IsWindowEnabled(focus) && IsChild(window(), focus))
        return;
    const bool rows = SendMessageA(actionList_, LVM_GETITEMCOUNT, 0, 0) != 0;
    SendMessageA(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(rows ? actionList_ : newButton_), TRUE);
}

void ShortcutSettingsDialog::changeApplication()
{
    const AppEntry* current = table_.at(appIndex_);
    if (!current)
        return;
    AppEntry working = *current;
    AppEditDialog dialog(working, instance());
    for (;;) {
        const INT_PTR result = dialog.Run(window());
        if (result == IDOK && conflictsWithOtherEntries(working))
            continue;
        if (result == AppEditDialog::ResultDelete) {
            table_.remove(appIndex_);
            apps_.remove(comboIndex_);
            const int next = comboIndex_ == table_.count() ? comboIndex_ - 1 : comboIndex_;
            SendMessageA(appCombo_, CB_SETCURSEL, next, 0);
            showApplication();
        } else if (result == IDOK) {
            apps_.remove(comboIndex_);
            AppEntry& stored = *table_.at(appIndex_);
            stored.setName(working.name());
            stored.setPath(working.path());
            // Inserted where the old name stood; the list is sorted again on the next opening.
            apps_.add(stored, comboIndex_);
            SendMessageA(appCombo_, CB_SETCURSEL, comboIndex_, 0);
            showApplication();
            SetFocus(appCombo_);
        }
        return;
    }
}

bool ShortcutSettingsDialog::conflictsWithOtherEntries(const AppEntry& working)
{
    switch (table_.conflictOf(working, appIndex_)) {
    case EntryConflict::Name:
        MessageBoxA(window(), DuplicateNameText, DuplicateNameCaption, MB_OK | MB_ICONEXCLAMATION);
        return true;
    case EntryConflict::Path:
        MessageBoxA(window(), DuplicatePathText, DuplicatePathCaption, MB_OK | MB_ICONEXCLAMATION);
        return true;
    case EntryConflict::None:
        break;
    }
    return false;
}

void ShortcutSettingsDialog::onDropFiles(HDROP drop)
{
    const UINT files = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (files > 1) {
        DragFinish(drop);
        MessageBoxA(appGroup_, "複数のファイルをドラッグアンドドロップすることはできません。\n１つずつ行って下さい。",
                    DropCaption, MB_OK);
        return;
    }
    char file[DropPathSize] = {};
    if (files == 1)
        DragQueryFileA(drop, 0, file, DropPathSize);
    DragFinish(drop);

    const std::string path = file;
    if (hasExeSuffix(path)) {
        apps_.finishFill();
        selectApplicationByPath(path);
        showApplication();
        return;
    }
    MessageBoxA(appGroup_, "ドロップしたファイルは実行ファイルではありません。", DropCaption, MB_OK);
}

void ShortcutSettingsDialog::closeWindow(bool askOnFailure)
{
    // The entries of the list yet to come may be pruned now: the fill ends here.
    apps_.endFill();
    const ShortcutTable& table = table_;
    const AppEntry* shown = table.at(appIndex_);
    if (shown != nullptr && shown->isPrunable())
        shown = nullptr;
    table_.pruneEmptyEntries();
    const FileResult saved = table_.save();
    if (!saved && askOnFailure && ShowFileNotice(window(), FileNotice::ShortcutsNotSaved, saved) == IDOK) {
        // Back to the window with the table as it now is: the entries just pruned leave the
        // list as well.
        SendMessageA(appCombo_, CB_RESETCONTENT, 0, 0);
        showItem(apps_.startFill(table_, shown));
        return;
    }
    EndDialog(window(), 0);
}
