// The application registration dialog under Wine, driven through its real template.
#include "model/AppEntry.h"
#include "res/resource.h"
#include "tests/support/DialogDriver.h"
#include "ui/AppEditDialog.h"

#include <gtest/gtest.h>

using namespace wt;

namespace {

constexpr char Notepad[] = "C:\\Windows\\notepad.EXE";
constexpr char MissingExe[] = "C:\\Windows\\no-such-program.exe";

// OK's state and the icon shown: "ok+icon", "ok+default icon", "no ok, no icon", ...
std::string Look(HWND dialog)
{
    const auto icon = reinterpret_cast<HICON>(SendMessageA(Control(dialog, IDC_APP_ICON), STM_GETIMAGE, IMAGE_ICON, 0));
    const bool defaultIcon = icon == LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    return std::string(IsEnabled(dialog, IDOK) ? "ok" : "no ok") + (icon == nullptr ? ", no icon"
                                                                    : defaultIcon   ? "+default icon"
                                                                                    : "+icon");
}

class AppEditDialogTest : public ::testing::Test {
protected:
    INT_PTR Run(AppEditDialog& dialog, DialogDriver::Step step)
    {
        driver.OnNextDialog(std::move(step));
        return dialog.Run(nullptr);
    }
    DialogDriver driver;
};

TEST_F(AppEditDialogTest, ValidatePath_EnablesOkAndShowsTheIconOnlyForAnExistingExe)
{
    AppEntry entry(Notepad, "メモ帳");
    AppEditDialog dialog(entry, GetModuleHandleA(nullptr));
    std::string caption, name, path;
    std::vector<std::string> seen;
    const auto result = Run(dialog, [&](HWND window) {
        caption = Text(window);
        name = ControlText(window, IDC_APP_NAME);
        path = ControlText(window, IDC_APP_PATH);
        seen.push_back(Look(window));
        for (const char* typed : {MissingExe, ".exe", "C:\\Windows\\win.ini", Notepad}) {
            SetControlText(window, IDC_APP_PATH, typed);
            seen.push_back(Look(window));
        }
        Snapshot("APP_EDIT");
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(caption, "登録アプリケーションの変更");
    EXPECT_EQ(name, "メモ帳");
    EXPECT_EQ(path, Notepad);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"ok+icon", "no ok, no icon", "no ok, no icon", "no ok, no icon", "ok+icon"}));
    EXPECT_EQ(entry.path(), Notepad);  // Cancel leaves the working entry alone
    EXPECT_EQ(entry.name(), "メモ帳");

    // A stored path that no longer exists opens with the default icon.
    AppEntry gone(MissingExe, "Gone");
    AppEditDialog goneDialog(gone, GetModuleHandleA(nullptr));
    std::string opened;
    Run(goneDialog, [&](HWND window) {
        opened = Look(window);
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(opened, "no ok+default icon");
}

// The suffix is the whole rule: a file named just ".exe" is a file like any other.
TEST_F(AppEditDialogTest, FileNamedOnlyDotExe_IsAcceptedWhereItExists)
{
    const TempDir dir(true);
    WriteBytes(dir.file(".exe"), "");
    AppEntry entry(MissingExe, "Dot");
    AppEditDialog dialog(entry, GetModuleHandleA(nullptr));
    std::string seen;
    const auto result = Run(dialog, [&](HWND window) {
        SetControlText(window, IDC_APP_PATH, ".exe");
        seen = Look(window);
        Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seen, "ok+default icon");
    EXPECT_EQ(entry.path(), ".exe");
}

TEST_F(AppEditDialogTest, PathLongerThan259Bytes_IsCheckedOnItsFirst259BytesAndStoredWhole)
{
    // "\." components keep the path naming notepad.exe up to byte 259.
    std::string path = "C:\\windows\\fonts\\..";
    while (path.size() + 12 < 259) path += "\\.";
    path += "\\notepad.exe";
    ASSERT_EQ(path.size(), 259u);
    const std::string longPath = path + "-and-more";
    AppEntry entry(Notepad, "Notepad");
    AppEditDialog dialog(entry, GetModuleHandleA(nullptr));
    std::string seen;
    const auto result = Run(dialog, [&](HWND window) {
        SetControlText(window, IDC_APP_PATH, longPath);
        seen = Look(window);
        Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seen, "ok+icon");
    EXPECT_EQ(dialog.pathText(), path);
    EXPECT_EQ(entry.path(), longPath);
}

TEST_F(AppEditDialogTest, Ok_StoresNameAndPathEvenAnEmptyName_AndTheNextRunShowsThem)
{
    AppEntry entry(MissingExe, "Old");
    AppEditDialog dialog(entry, GetModuleHandleA(nullptr));
    std::string shownAgain;
    const auto result = Run(dialog, [&](HWND window) {
        SetControlText(window, IDC_APP_NAME, "");
        SetControlText(window, IDC_APP_PATH, Notepad);
        Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(entry.name(), "");
    EXPECT_EQ(entry.path(), Notepad);
    const auto result2 = Run(dialog, [&](HWND window) {
        shownAgain = ControlText(window, IDC_APP_NAME) + "|" + ControlText(window, IDC_APP_PATH);
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(result2, 0);
    EXPECT_EQ(shownAgain, std::string("|") + Notepad);
}

TEST_F(AppEditDialogTest, Delete_AsksAndReturnsTwoOnlyOnOk)
{
    AppEntry entry(Notepad, "Notepad");
    AppEditDialog dialog(entry, GetModuleHandleA(nullptr));
    bool openAfterCancel = false;
    driver.AnswerNextMessageBox(IDCANCEL);
    driver.AnswerNextMessageBox(IDOK);
    const auto result = Run(dialog, [&](HWND window) {
        SetControlText(window, IDC_APP_NAME, "Changed");
        Click(window, IDC_APP_DELETE);
        openAfterCancel = IsWindowVisible(window) != FALSE;
        Click(window, IDC_APP_DELETE);
    });
    EXPECT_EQ(result, AppEditDialog::ResultDelete);
    EXPECT_TRUE(openAfterCancel);
    ASSERT_EQ(driver.messageBoxes().size(), 2u);
    for (const CapturedMessageBox& box : driver.messageBoxes()) {
        EXPECT_EQ(box.text, "このｱﾌﾟﾘｹｰｼｮﾝに割り当てたアクションを全て削除してもよろしいですか？");
        EXPECT_EQ(box.caption, "削除の確認");
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
    }
    EXPECT_EQ(entry.name(), "Notepad");
    EXPECT_EQ(driver.dialogsLeftOpen(), 0);
}

TEST_F(AppEditDialogTest, GlobalEntry_IsReadOnly)
{
    AppEntry entry("global", "(全てのｱﾌﾟﾘｹｰｼｮﾝ)");
    AppEditDialog dialog(entry, GetModuleHandleA(nullptr));
    std::string name, path, enabled;
    const auto result = Run(dialog, [&](HWND window) {
        name = ControlText(window, IDC_APP_NAME);
        path = ControlText(window, IDC_APP_PATH);
        for (int id : {IDOK, IDC_APP_DELETE, IDC_APP_BROWSE, IDC_APP_NAME, IDC_APP_PATH, IDCANCEL, IDC_HELP_BUTTON})
            enabled += IsEnabled(window, id) ? '1' : '0';
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(name, "(全てのｱﾌﾟﾘｹｰｼｮﾝ)");
    EXPECT_EQ(path, "(全てのｱﾌﾟﾘｹｰｼｮﾝ)");
    EXPECT_EQ(enabled, "0000011");  // only Cancel and help
    EXPECT_EQ(entry.path(), "global");
}

// The file dialog's name box: the combo box of the newer dialog, the edit of the older one.
HWND FileNameBox(HWND fileDialog)
{
    HWND box = GetDlgItem(fileDialog, 0x47c);
    return box ? box : GetDlgItem(fileDialog, 0x480);
}

TEST_F(AppEditDialogTest, Browse_FromAFolderWithExeFilterTakesTheChosenFile_CancelLeavesThePath)
{
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof before, before);
    AppEntry entry(MissingExe, "Tool");
    AppEditDialog dialog(entry, GetModuleHandleA(nullptr));
    std::string title, initialName, chosenPath, chosen, afterCancel;
    driver.OnNextDialog([&](HWND window) {
        SetControlText(window, IDC_APP_PATH, "C:\\windows\\");
        Click(window, IDC_APP_BROWSE);
        chosenPath = ControlText(window, IDC_APP_PATH);
        chosen = Look(window);
        Click(window, IDC_APP_BROWSE);
        afterCancel = ControlText(window, IDC_APP_PATH);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND fileDialog) {
        title = Text(fileDialog);
        initialName = Text(FileNameBox(fileDialog));
        SetWindowTextA(FileNameBox(fileDialog), "C:\\windows\\notepad.exe");
        Click(fileDialog, IDOK);
    });
    driver.OnNextDialog([&](HWND fileDialog) { Click(fileDialog, IDCANCEL); });
    EXPECT_EQ(dialog.Run(nullptr), IDOK);
    EXPECT_EQ(title, "アプリケーションの選択");
    EXPECT_EQ(initialName, "*.exe");
    EXPECT_EQ(chosenPath, "C:\\windows\\notepad.exe");
    EXPECT_EQ(chosen, "ok+icon");
    EXPECT_EQ(afterCancel, "C:\\windows\\notepad.exe");
    EXPECT_EQ(entry.path(), "C:\\windows\\notepad.exe");
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(after, before);
}

}  // namespace
