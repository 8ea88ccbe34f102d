#include "ui/ShortcutSettingsDialog.h"

#include "engine/KeyEngine.h"
#include "model/AsciiCase.h"
#include "model/ShortcutTable.h"
#include "res/resource.h"
#include "ui/ActionEditor.h"
#include "ui/AppEditDialog.h"
#include "ui/KeyVocabulary.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr size_t TextBufferSize = 65000;
constexpr UINT DropPathSize = MAX_PATH;  // 260 including the terminator
constexpr char GlobalPath[] = "global";
constexpr char EditPath[] = "edit";
constexpr char ExeSuffix[] = ".exe";
constexpr size_t ExeSuffixLength = sizeof ExeSuffix - 1;
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

bool isReservedPath(const std::string& path) { return path == GlobalPath || path == EditPath; }

// The file name without its folder and without its last four characters ("Foo" for C:\Tools\Foo.exe).
std::string nameFromPath(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    return file.size() > ExeSuffixLength ? file.substr(0, file.size() - ExeSuffixLength) : std::string();
}

bool endsWithExe(const std::string& path)
{
    return path.size() >= ExeSuffixLength && equalsIgnoringAsciiCase(std::string_view(path).substr(path.size() - ExeSuffixLength), ExeSuffix);
}

std::string comboItemText(HWND combo, int index)
{
    std::vector<char> buffer(TextBufferSize, '\0');
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || static_cast<size_t>(length) >= buffer.size())
        return {};
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

}  // namespace

ShortcutSettingsDialog::ShortcutSettingsDialog(ShortcutTable& table, KeyEngine& engine,
                                               HINSTANCE instance, std::string initialPath)
    : DialogBase(instance, "EditDialog", HelpPage), table_(table), engine_(engine),
      initialPath_(std::move(initialPath))
{
}

INT_PTR ShortcutSettingsDialog::Run(HWND owner)
{
    RunModal(owner);
    icon_.reset();
    return 0;
}

INT_PTR ShortcutSettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return initialise();
    case WM_PAINT:
        drawIcon();
        return FALSE;
    case WM_NOTIFY:
        onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NCDESTROY:
        appGroup_ = nullptr;
        return FALSE;
    }
    return FALSE;
}

LRESULT ShortcutSettingsDialog::OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (control == appGroup_ && message == WM_DROPFILES) {
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return CallPrevious(control, message, wParam, lParam);
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

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    setUpActionList();

    DragAcceptFiles(appGroup_, TRUE);
    Subclass(appGroup_);

    for (int i = 0; i < table_.count(); ++i)
        SendMessageA(appCombo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(table_.at(i)->name().c_str()));

    if (initialPath_.empty()) {
        SendMessageA(appCombo_, CB_SETCURSEL, 0, 0);
        showApplication();
        return TRUE;
    }
    selectApplicationByPath(initialPath_);
    showApplication();
    SetFocus(actionList_);
    return FALSE;
}

void ShortcutSettingsDialog::setUpActionList()
{
    SendMessageA(actionList_, LVM_DELETEALLITEMS, 0, 0);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = KeyColumnWidth;
    column.pszText = const_cast<char*>("入力キー");
    SendMessageA(actionList_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = NameColumnWidth;
    column.pszText = const_cast<char*>("アクション名");
    SendMessageA(actionList_, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    SendMessageA(actionList_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void ShortcutSettingsDialog::onCommand(int id, int code)
{
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
    comboIndex_ = static_cast<int>(SendMessageA(appCombo_, CB_GETCURSEL, 0, 0));
    if (comboIndex_ < 0) {
        showNothing();
        return;
    }
    appIndex_ = table_.findByName(comboItemText(appCombo_, comboIndex_));
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
    int index = table_.findByPath(path);
    if (index < 0) {
        const std::string name = nameFromPath(path);
        index = table_.add(AppEntry(path, name));
        if (index < 0)
            return;
        SendMessageA(appCombo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    // Compared here rather than by the combo box, which finds no empty name and has a
    // letter-case rule of its own.
    const std::string& name = table_.at(index)->name();
    const int items = static_cast<int>(SendMessageA(appCombo_, CB_GETCOUNT, 0, 0));
    for (int item = 0; item < items; ++item) {
        if (equalsIgnoringAsciiCase(comboItemText(appCombo_, item), name)) {
            SendMessageA(appCombo_, CB_SETCURSEL, item, 0);
            return;
        }
    }
}

void ShortcutSettingsDialog::fillActionList(int appIndex)
{
    SendMessageA(actionList_, LVM_DELETEALLITEMS, 0, 0);
    const AppEntry* entry = table_.at(appIndex);
    if (!entry)
        return;
    for (int k = 0; k < entry->actionCount(); ++k) {
        const Action& action = entry->actionAt(k);
        std::string keyText = FormatKeyStroke(action.input(), true);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_STATE;
        item.iItem = k;
        item.pszText = keyText.data();
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = k == 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
        const int row = static_cast<int>(SendMessageA(actionList_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        std::string nameText = action.name().empty() ? NoNameText : action.name();
        LVITEMA name = {};
        name.iSubItem = 1;
        name.pszText = nameText.data();
        SendMessageA(actionList_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&name));
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
    table_.at(appIndex_)->actionAt(k) = working;
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
    if (entry->removeAction(k))
        fillActionList(appIndex_);
    else
        MessageBoxA(window(), "内部エラーにより削除できませんでした", "Error", MB_OKCANCEL);
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
            SendMessageA(appCombo_, CB_DELETESTRING, comboIndex_, 0);
            const int next = comboIndex_ == table_.count() ? comboIndex_ - 1 : comboIndex_;
            SendMessageA(appCombo_, CB_SETCURSEL, next, 0);
            showApplication();
        } else if (result == IDOK) {
            SendMessageA(appCombo_, CB_DELETESTRING, comboIndex_, 0);
            AppEntry& stored = *table_.at(appIndex_);
            stored.setName(working.name());
            stored.setPath(working.path());
            // Inserted where the old name stood; the list is sorted again on the next opening.
            SendMessageA(appCombo_, CB_INSERTSTRING, comboIndex_, reinterpret_cast<LPARAM>(stored.name().c_str()));
            SendMessageA(appCombo_, CB_SETCURSEL, comboIndex_, 0);
            showApplication();
            SetFocus(appCombo_);
        }
        return;
    }
}

bool ShortcutSettingsDialog::conflictsWithOtherEntries(const AppEntry& working)
{
    for (int i = 0; i < table_.count(); ++i) {
        if (i == appIndex_)
            continue;
        const AppEntry& other = *table_.at(i);
        // Both compare as the table's look-ups do: the window finds an application by its
        // name, and the engine by its path, with letter case ignored, so a second name or
        // path differing only in case could never be shown again or never act.
        if (equalsIgnoringAsciiCase(working.name(), other.name())) {
            MessageBoxA(window(), DuplicateNameText, DuplicateNameCaption, MB_OK | MB_ICONEXCLAMATION);
            return true;
        }
        if (equalsIgnoringAsciiCase(working.path(), other.path())) {
            MessageBoxA(window(), DuplicatePathText, DuplicatePathCaption, MB_OK | MB_ICONEXCLAMATION);
            return true;
        }
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
    if (endsWithExe(path)) {
        selectApplicationByPath(path);
        showApplication();
        return;
    }
    MessageBoxA(appGroup_, "ドロップしたファイルは実行ファイルではありません。", DropCaption, MB_OK);
}

void ShortcutSettingsDialog::closeWindow()
{
    for (int i = 0; i < table_.count();) {
        const AppEntry& entry = *table_.at(i);
        if (entry.actionCount() == 0 && !isReservedPath(entry.path()))
            table_.remove(i);
        else
            ++i;
    }
    table_.save();
    EndDialog(window(), 0);
}
