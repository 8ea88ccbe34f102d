#include "ui/AppEditDialog.h"

#include "model/AppEntry.h"
#include "model/ShiftJisPath.h"
#include "res/resource.h"
#include "ui/Controls.h"

#include <shellapi.h>

#include <cstring>
#include <utility>

namespace {

// Paths are checked on what a buffer of MAX_PATH holds, names and paths kept to what one of
// the other size holds.
constexpr size_t PathBufferSize = MAX_PATH;  // 260
constexpr size_t TextBufferSize = 65000;
// Filter pairs, each string terminated, the list ended by an empty string.
constexpr char ExeFilter[] = "アプリケーション(*.exe)\0*.exe\0";
constexpr char HelpPage[] = "appedit.htm";

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

AppEditDialog::AppEditDialog(AppEntry& entry, HINSTANCE instance)
    : DialogBase(instance, "APP_EDIT", HelpPage), entry_(entry)
{
    // The earlier, shorter form of the record, which every system version accepts.
    fileDialog_.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    fileDialog_.hInstance = instance;
    fileDialog_.lpstrFilter = ExeFilter;
    fileDialog_.nMaxFile = PathBufferSize;
    fileDialog_.lpstrTitle = "アプリケーションの選択";
    fileDialog_.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING;
}

INT_PTR AppEditDialog::Run(HWND owner)
{
    const INT_PTR result = runModal(owner);
    icon_.reset();
    return result < 0 ? Cancelled : result;
}

INT_PTR AppEditDialog::onMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise();
        return TRUE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void AppEditDialog::forgetControls()
{
    okButton_ = deleteButton_ = browseButton_ = nameField_ = pathField_ = iconControl_ = nullptr;
}

void AppEditDialog::initialise()
{
    okButton_ = control(IDOK);
    deleteButton_ = control(IDC_APP_DELETE);
    browseButton_ = control(IDC_APP_BROWSE);
    nameField_ = control(IDC_APP_NAME);
    pathField_ = control(IDC_APP_PATH);
    iconControl_ = control(IDC_APP_ICON);
    fileDialog_.hwndOwner = window();

    SetWindowTextA(nameField_, entry_.name().c_str());
    if (entry_.path() == GlobalPath) {
        // "global" is not a file: shown for reference only, and its name in the path
        // field keeps OK disabled.
        EnableWindow(deleteButton_, FALSE);
        EnableWindow(browseButton_, FALSE);
        EnableWindow(pathField_, FALSE);
        EnableWindow(nameField_, FALSE);
        SetWindowTextA(pathField_, entry_.name().c_str());
        return;
    }
    SetWindowTextA(pathField_, entry_.path().c_str());
    showIcon();
}

void AppEditDialog::onCommand(int id, int code)
{
    switch (id) {
    case IDOK:
        accept();
        break;
    case IDCANCEL:
        EndDialog(window(), Cancelled);
        break;
    case IDC_APP_PATH:
        if (code == EN_CHANGE)
            validatePath();
        break;
    case IDC_APP_DELETE:
        confirmDelete();
        break;
    case IDC_APP_BROWSE:
        browse();
        break;
    }
}

void AppEditDialog::validatePath()
{
    pathText_ = controlText(pathField_, PathBufferSize);
    if (hasExeSuffix(pathText_) && fileExists(pathText_)) {
        EnableWindow(okButton_, TRUE);
        showIcon();
    } else {
        EnableWindow(okButton_, FALSE);
        clearIcon();
    }
}

void AppEditDialog::showIcon()
{
    // Set the new image before releasing the old one, which the control may still paint.
    OwnedIcon next;
    LoadExecutableIcon(next, pathText_.c_str(), true);
    SendMessageA(iconControl_, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(next.get()));
    next.swap(icon_);
}

void AppEditDialog::clearIcon()
{
    SendMessageA(iconControl_, STM_SETIMAGE, IMAGE_ICON, 0);
    icon_.reset();
}

void AppEditDialog::browse()
{
    char file[PathBufferSize] = {};
    GetWindowTextA(pathField_, file, sizeof file);
    const size_t length = std::strlen(file);
    // A folder opens the file dialog inside it, listing executables.
    if (endsWithBackslash(file) && length + 5 < sizeof file)
        std::strcat(file, "*.exe");
    fileDialog_.lpstrFile = file;
    // The file dialog moves the current directory to the folder browsed, and keycfg.ini
    // is written to the current directory when the settings window closes.
    char directory[PathBufferSize] = {};
    const DWORD kept = GetCurrentDirectoryA(sizeof directory, directory);
    const BOOL chosen = GetOpenFileNameA(&fileDialog_);
    if (kept > 0 && kept < sizeof directory)
        SetCurrentDirectoryA(directory);
    fileDialog_.lpstrFile = nullptr;
    if (!chosen)
        return;
    SetWindowTextA(pathField_, file);
    showIcon();
}

void AppEditDialog::confirmDelete()
{
    if (MessageBoxA(window(), "このｱﾌﾟﾘｹｰｼｮﾝに割り当てたアクションを全て削除してもよろしいですか？", "削除の確認",
                    MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
        EndDialog(window(), ResultDelete);
}

void AppEditDialog::accept()
{
    entry_.setName(controlText(nameField_, TextBufferSize));
    entry_.setPath(controlText(pathField_, TextBufferSize));
    EndDialog(window(), IDOK);
}
