// The application registration dialog under Wine, driven through its real template.
#include "model/AppEntry.h"
#include "tests/support/DialogTestSupport.h"
#include "ui/AppEditDialog.h"

#include <gtest/gtest.h>

#include <string>

using namespace dialogtest;

namespace {

constexpr char Notepad[] = "C:\\Windows\\notepad.EXE";
constexpr char MissingExe[] = "C:\\Windows\\no-such-program.exe";

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

HICON ShownIcon(HWND dialog)
{
    return reinterpret_cast<HICON>(SendMessageA(Control(dialog, AppEditDialog::IconControl), STM_GETIMAGE, IMAGE_ICON, 0));
}

HICON DefaultApplicationIcon() { return LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)); }

struct Seen {
    bool okEnabled = false;
    HICON icon = nullptr;
};

Seen Look(HWND dialog) { return {IsEnabled(dialog, IDOK), ShownIcon(dialog)}; }

TEST(AppEditDialogTest, ValidatePath_EnablesOkOnlyForAnExistingExe)
{
    AppEntry entry(Notepad, "メモ帳");
    AppEditDialog dialog(entry, Instance());
    DialogDriver driver;
    Seen opened, missing, shortExe, otherExtension, back;
    std::string caption, name, path;
    driver.OnNextDialog([&](HWND window) {
        caption = Text(window);
        name = ControlText(window, AppEditDialog::NameField);
        path = ControlText(window, AppEditDialog::PathField);
        opened = Look(window);
        SetControlText(window, AppEditDialog::PathField, MissingExe);
        missing = Look(window);
        SetControlText(window, AppEditDialog::PathField, ".exe");
        shortExe = Look(window);
        SetControlText(window, AppEditDialog::PathField, "C:\\Windows\\win.ini");
        otherExtension = Look(window);
        SetControlText(window, AppEditDialog::PathField, Notepad);
        back = Look(window);
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(dialog.Run(nullptr), 0);
    EXPECT_EQ(caption, "登録アプリケーションの変更");
    EXPECT_EQ(name, "メモ帳");
    EXPECT_EQ(path, Notepad);
    EXPECT_TRUE(opened.okEnabled);
    EXPECT_NE(opened.icon, nullptr);
    EXPECT_NE(opened.icon, DefaultApplicationIcon());
    EXPECT_FALSE(missing.okEnabled);
    EXPECT_EQ(missing.icon, nullptr);
    EXPECT_FALSE(shortExe.okEnabled);
    EXPECT_EQ(shortExe.icon, nullptr);
    EXPECT_FALSE(otherExtension.okEnabled);
    EXPECT_TRUE(back.okEnabled);
    EXPECT_NE(back.icon, nullptr);
    // Cancel leaves the working entry alone.
    EXPECT_EQ(entry.path(), Notepad);
    EXPECT_EQ(entry.name(), "メモ帳");
}

TEST(AppEditDialogTest, StoredPathThatNoLongerExists_OkDisabledDefaultIconShown)
{
    AppEntry entry(MissingExe, "Gone");
    AppEditDialog dialog(entry, Instance());
    DialogDriver driver;
    Seen opened;
    driver.OnNextDialog([&](HWND window) {
        opened = Look(window);
        Click(window, IDCANCEL);
    });
    dialog.Run(nullptr);
    EXPECT_FALSE(opened.okEnabled);
    EXPECT_EQ(opened.icon, DefaultApplicationIcon());
}

TEST(AppEditDialogTest, PathLongerThan259Bytes_IsCheckedOnItsFirst259BytesAndStoredWhole)
{
    // "\." components keep the path naming notepad.exe up to byte 259.
    std::string path = "C:\\windows\\fonts\\..";
    while (path.size() + 12 < 259)
        path += "\\.";
    path += "\\notepad.exe";
    ASSERT_EQ(path.size(), 259u);
    const std::string longPath = path + "-and-more";
    AppEntry entry(Notepad, "Notepad");
    AppEditDialog dialog(entry, Instance());
    DialogDriver driver;
    Seen seen;
    driver.OnNextDialog([&](HWND window) {
        SetControlText(window, AppEditDialog::PathField, longPath);
        seen = Look(window);
        Click(window, IDOK);
    });
    EXPECT_EQ(dialog.Run(nullptr), IDOK);
    EXPECT_TRUE(seen.okEnabled);
    EXPECT_EQ(dialog.pathText(), path);
    EXPECT_EQ(entry.path(), longPath);
}

TEST(AppEditDialogTest, Ok_StoresNameAndPathEvenAnEmptyName)
{
    AppEntry entry(MissingExe, "Old");
    AppEditDialog dialog(entry, Instance());
    DialogDriver driver;
    driver.OnNextDialog([&](HWND window) {
        SetControlText(window, AppEditDialog::NameField, "");
        SetControlText(window, AppEditDialog::PathField, Notepad);
        Click(window, IDOK);
    });
    EXPECT_EQ(dialog.Run(nullptr), IDOK);
    EXPECT_EQ(entry.name(), "");
    EXPECT_EQ(entry.path(), Notepad);
}

TEST(AppEditDialogTest, RunAgain_ShowsTheEntriesOfTheLastOk)
{
    AppEntry entry(Notepad, "Old");
    AppEditDialog dialog(entry, Instance());
    DialogDriver driver;
    std::string secondName, secondPath;
    driver.OnNextDialog([&](HWND window) {
        SetControlText(window, AppEditDialog::NameField, "New name");
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND window) {
        secondName = ControlText(window, AppEditDialog::NameField);
        secondPath = ControlText(window, AppEditDialog::PathField);
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(dialog.Run(nullptr), IDOK);
    EXPECT_EQ(dialog.Run(nullptr), 0);
    EXPECT_EQ(secondName, "New name");
    EXPECT_EQ(secondPath, Notepad);
}

TEST(AppEditDialogTest, Delete_AsksAndReturnsTwoOnlyOnOk)
{
    AppEntry entry(Notepad, "Notepad");
    AppEditDialog dialog(entry, Instance());
    DialogDriver driver;
    bool openAfterCancel = false;
    driver.AnswerNextMessageBox(IDCANCEL);
    driver.AnswerNextMessageBox(IDOK);
    driver.OnNextDialog([&](HWND window) {
        SetControlText(window, AppEditDialog::NameField, "Changed");
        Click(window, AppEditDialog::DeleteButton);
        openAfterCancel = IsWindow(window) && IsWindowVisible(window);
        Click(window, AppEditDialog::DeleteButton);
    });
    EXPECT_EQ(dialog.Run(nullptr), AppEditDialog::ResultDelete);
    EXPECT_TRUE(openAfterCancel);
    ASSERT_EQ(driver.messageBoxes().size(), 2u);
    for (const CapturedMessageBox& box : driver.messageBoxes()) {
        EXPECT_EQ(box.text, "このｱﾌﾟﾘｹｰｼｮﾝに割り当てたアクションを全て削除してもよろしいですか？");
        EXPECT_EQ(box.caption, "削除の確認");
        EXPECT_EQ(box.buttons(), static_cast<UINT>(MB_OKCANCEL));
        EXPECT_EQ(box.icon(), static_cast<UINT>(MB_ICONQUESTION));
    }
    EXPECT_EQ(entry.name(), "Notepad");
    EXPECT_EQ(driver.dialogsLeftOpen(), 0);
}

TEST(AppEditDialogTest, GlobalEntry_IsReadOnly)
{
    AppEntry entry("global", "(全てのｱﾌﾟﾘｹｰｼｮﾝ)");
    AppEditDialog dialog(entry, Instance());
    DialogDriver driver;
    std::string name, path;
    bool ok = true, del = true, browse = true, nameField = true, pathField = true, cancel = false, help = false;
    driver.OnNextDialog([&](HWND window) {
        name = ControlText(window, AppEditDialog::NameField);
        path = ControlText(window, AppEditDialog::PathField);
        ok = IsEnabled(window, IDOK);
        del = IsEnabled(window, AppEditDialog::DeleteButton);
        browse = IsEnabled(window, AppEditDialog::BrowseButton);
        nameField = IsEnabled(window, AppEditDialog::NameField);
        pathField = IsEnabled(window, AppEditDialog::PathField);
        cancel = IsEnabled(window, IDCANCEL);
        help = IsEnabled(window, 500);
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(dialog.Run(nullptr), 0);
    EXPECT_EQ(name, "(全てのｱﾌﾟﾘｹｰｼｮﾝ)");
    EXPECT_EQ(path, "(全てのｱﾌﾟﾘｹｰｼｮﾝ)");
    EXPECT_FALSE(ok);
    EXPECT_FALSE(del);
    EXPECT_FALSE(browse);
    EXPECT_FALSE(nameField);
    EXPECT_FALSE(pathField);
    EXPECT_TRUE(cancel);
    EXPECT_TRUE(help);
    EXPECT_EQ(entry.path(), "global");
}

// The file dialog's name box: the combo box of the newer dialog, the edit of the older one.
HWND FileNameBox(HWND fileDialog)
{
    HWND box = GetDlgItem(fileDialog, 0x47c);
    return box ? box : GetDlgItem(fileDialog, 0x480);
}

TEST(AppEditDialogTest, Browse_FromAFolderOpensItWithExeFilterAndTakesTheChosenFile)
{
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof before, before);
    AppEntry entry(MissingExe, "Tool");
    AppEditDialog dialog(entry, Instance());
    DialogDriver driver;
    std::string title, initialName, chosenPath;
    Seen chosen;
    driver.OnNextDialog([&](HWND window) {
        SetControlText(window, AppEditDialog::PathField, "C:\\windows\\");
        Click(window, AppEditDialog::BrowseButton);
        chosenPath = ControlText(window, AppEditDialog::PathField);
        chosen = Look(window);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND fileDialog) {
        title = Text(fileDialog);
        initialName = Text(FileNameBox(fileDialog));
        SetWindowTextA(FileNameBox(fileDialog), "C:\\windows\\notepad.exe");
        Click(fileDialog, IDOK);
    });
    EXPECT_EQ(dialog.Run(nullptr), IDOK);
    EXPECT_EQ(title, "アプリケーションの選択");
    EXPECT_EQ(initialName, "*.exe");
    EXPECT_EQ(chosenPath, "C:\\windows\\notepad.exe");
    EXPECT_TRUE(chosen.okEnabled);
    EXPECT_NE(chosen.icon, nullptr);
    EXPECT_EQ(entry.path(), "C:\\windows\\notepad.exe");
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(after, before);
}

TEST(AppEditDialogTest, Browse_CancelledLeavesThePathField)
{
    AppEntry entry(Notepad, "Notepad");
    AppEditDialog dialog(entry, Instance());
    DialogDriver driver;
    std::string afterCancel;
    driver.OnNextDialog([&](HWND window) {
        Click(window, AppEditDialog::BrowseButton);
        afterCancel = ControlText(window, AppEditDialog::PathField);
        Click(window, IDCANCEL);
    });
    driver.OnNextDialog([&](HWND fileDialog) { Click(fileDialog, IDCANCEL); });
    EXPECT_EQ(dialog.Run(nullptr), 0);
    EXPECT_EQ(afterCancel, Notepad);
}

}  // namespace
