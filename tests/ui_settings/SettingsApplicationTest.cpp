// Changing and deleting applications through the registration dialog, and adding them by
// dropping executables on the application group.
#include "tests/ui_settings/SettingsFixture.h"

#include <shlobj.h>

#include <cstring>

namespace settingstest {
namespace {

constexpr char NameTakenText[] = "名前が他のアプリケーションと重複しています。\n変更してください。";
constexpr char NameTakenCaption[] = "名前重複のお知らせ";
constexpr char PathTakenText[] =
    "既に登録されているアプリケーションです。このアプリケーションに変更することはできません。";
constexpr char PathTakenCaption[] = "ｱﾌﾟﾘｹｰｼｮﾝ重複のお知らせ";

class ApplicationTest : public SettingsWindowTest {
protected:
    void SetUp() override
    {
        SettingsWindowTest::SetUp();
        AddStandardEntries();
    }
};

void ExpectWarning(const CapturedMessageBox& box, const char* text, const char* caption)
{
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.buttons(), static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST_F(ApplicationTest, Rename_ReplacesTheComboItemInPlaceAndKeepsTheActions)
{
    WindowView after;
    HWND combo = nullptr;
    driver.OnNextDialog([&](HWND window) {
        combo = Control(window, ShortcutSettingsDialog::AppCombo);
        SelectComboIndex(window, ShortcutSettingsDialog::AppCombo, 1);  // alpha
        Click(window, ShortcutSettingsDialog::ChangeButton);
        after = LookAtWindow(window);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND edit) {
        SetControlText(edit, AppEditDialog::NameField, "zzz last by name");
        SetControlText(edit, AppEditDialog::PathField, NotepadPath);
        SetControlText(edit, AppEditDialog::PathField, "C:\\windows\\regedit.exe");
        Click(edit, IDOK);
    });
    RunWindow();
    EXPECT_EQ(after.comboItems, (std::vector<std::string>{"(全てのｱﾌﾟﾘｹｰｼｮﾝ)", "zzz last by name", "Zeta"}));
    EXPECT_EQ(after.comboIndex, 1);
    EXPECT_EQ(after.focus, combo);
    EXPECT_EQ(after.path, "C:\\windows\\regedit.exe");
    EXPECT_EQ(after.rows, (Rows{{"Alt + 1", "one"}}));
    EXPECT_EQ(table.at(2)->name(), "zzz last by name");
    EXPECT_EQ(table.at(2)->path(), "C:\\windows\\regedit.exe");
    EXPECT_EQ(table.at(2)->actionCount(), 1);
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(ApplicationTest, DuplicateName_WarnsReopensWithUserEntriesCancelChangesNothing)
{
    std::string reopenedName, reopenedPath;
    driver.OnNextDialog([&](HWND window) {
        SelectComboIndex(window, ShortcutSettingsDialog::AppCombo, 1);  // alpha
        Click(window, ShortcutSettingsDialog::ChangeButton);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND edit) {
        SetControlText(edit, AppEditDialog::NameField, "Zeta");
        SetControlText(edit, AppEditDialog::PathField, "C:\\windows\\regedit.exe");
        Click(edit, IDOK);
    });
    driver.OnNextDialog([&](HWND edit) {
        reopenedName = ControlText(edit, AppEditDialog::NameField);
        reopenedPath = ControlText(edit, AppEditDialog::PathField);
        Click(edit, IDCANCEL);
    });
    RunWindow();
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    ExpectWarning(driver.messageBoxes()[0], NameTakenText, NameTakenCaption);
    EXPECT_EQ(reopenedName, "Zeta");
    EXPECT_EQ(reopenedPath, "C:\\windows\\regedit.exe");
    EXPECT_EQ(table.at(2)->name(), "alpha");
    EXPECT_EQ(table.at(2)->path(), "C:\\Apps\\alpha.exe");
}

// A name differing only in letter case would make one of the two unreachable, since the
// window finds the shown application by its name without regard to case.
TEST_F(ApplicationTest, NameDifferingOnlyInCase_IsRefusedToo)
{
    driver.OnNextDialog([&](HWND window) {
        SelectComboIndex(window, ShortcutSettingsDialog::AppCombo, 1);
        Click(window, ShortcutSettingsDialog::ChangeButton);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND edit) {
        SetControlText(edit, AppEditDialog::NameField, "ZETA");
        SetControlText(edit, AppEditDialog::PathField, "C:\\windows\\regedit.exe");
        Click(edit, IDOK);
    });
    driver.OnNextDialog([&](HWND edit) {
        SetControlText(edit, AppEditDialog::NameField, "Regedit");
        Click(edit, IDOK);
    });
    RunWindow();
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    ExpectWarning(driver.messageBoxes()[0], NameTakenText, NameTakenCaption);
    EXPECT_EQ(table.at(2)->name(), "Regedit");
    EXPECT_EQ(table.at(2)->path(), "C:\\windows\\regedit.exe");
}

TEST_F(ApplicationTest, DuplicatePath_Warns)
{
    driver.OnNextDialog([&](HWND window) {
        SelectComboIndex(window, ShortcutSettingsDialog::AppCombo, 1);
        Click(window, ShortcutSettingsDialog::ChangeButton);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND edit) {
        SetControlText(edit, AppEditDialog::PathField, NotepadPath);
        Click(edit, IDOK);
    });
    driver.OnNextDialog([&](HWND edit) { Click(edit, IDCANCEL); });
    RunWindow();
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    ExpectWarning(driver.messageBoxes()[0], PathTakenText, PathTakenCaption);
    EXPECT_EQ(table.at(2)->path(), "C:\\Apps\\alpha.exe");
}

TEST_F(ApplicationTest, DeleteLastComboItem_SelectsTheOneBeforeIt)
{
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        SelectComboIndex(window, ShortcutSettingsDialog::AppCombo, 2);  // Zeta, last in the list
        Click(window, ShortcutSettingsDialog::ChangeButton);
        after = LookAtWindow(window);
        Click(window, IDOK);
    });
    driver.AnswerNextMessageBox(IDOK);
    driver.OnNextDialog([&](HWND edit) { Click(edit, AppEditDialog::DeleteButton); });
    RunWindow();
    EXPECT_EQ(after.comboItems, (std::vector<std::string>{"(全てのｱﾌﾟﾘｹｰｼｮﾝ)", "alpha"}));
    EXPECT_EQ(after.comboIndex, 1);
    EXPECT_EQ(after.rows, (Rows{{"Alt + 1", "one"}}));
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(table.findByName("Zeta"), -1);
}

TEST_F(ApplicationTest, DeleteMiddleComboItem_SelectsTheOneMovingIntoItsPlace)
{
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        SelectComboIndex(window, ShortcutSettingsDialog::AppCombo, 1);  // alpha
        Click(window, ShortcutSettingsDialog::ChangeButton);
        after = LookAtWindow(window);
        Click(window, IDOK);
    });
    driver.AnswerNextMessageBox(IDOK);
    driver.OnNextDialog([&](HWND edit) { Click(edit, AppEditDialog::DeleteButton); });
    RunWindow();
    EXPECT_EQ(after.comboIndex, 1);
    EXPECT_EQ(after.comboItems[1], "Zeta");
    EXPECT_EQ(after.path, NotepadPath);
}

TEST_F(ApplicationTest, DeleteTheOnlyApplication_LeavesNothingShownAndNothingToActOn)
{
    table.clear();
    AppEntry only(NotepadPath, "Only");
    only.addAction(MakeAction(CtrlQ, {65}, "q"));
    table.add(only);
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        Click(window, ShortcutSettingsDialog::ChangeButton);
        after = LookAtWindow(window);
        Click(window, ShortcutSettingsDialog::NewButton);
        Click(window, IDOK);
    });
    driver.AnswerNextMessageBox(IDOK);
    driver.OnNextDialog([&](HWND edit) { Click(edit, AppEditDialog::DeleteButton); });
    RunWindow();
    EXPECT_TRUE(after.comboItems.empty());
    EXPECT_TRUE(after.rows.empty());
    EXPECT_EQ(after.path, "");
    EXPECT_FALSE(after.editEnabled);
    EXPECT_EQ(driver.unexpectedDialogs(), 0);
    EXPECT_EQ(ReadKeycfg(), "");
}

TEST_F(ApplicationTest, GlobalEntry_OpensReadOnlyInTheRegistrationDialog)
{
    bool ok = true, del = true, browse = true, name = true, path = true;
    driver.OnNextDialog([&](HWND window) {
        Click(window, ShortcutSettingsDialog::ChangeButton);  // global is item 0
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND edit) {
        ok = IsEnabled(edit, IDOK);
        del = IsEnabled(edit, AppEditDialog::DeleteButton);
        browse = IsEnabled(edit, AppEditDialog::BrowseButton);
        name = IsEnabled(edit, AppEditDialog::NameField);
        path = IsEnabled(edit, AppEditDialog::PathField);
        Click(edit, IDCANCEL);
    });
    RunWindow();
    EXPECT_FALSE(ok || del || browse || name || path);
    EXPECT_EQ(table.at(0)->path(), "global");
}

// A drop as the shell delivers it: a DROPFILES block followed by the names, each ended
// by a zero byte, the list by one more.
HDROP MakeDrop(const std::vector<std::string>& files)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& file : files)
        size += file.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* names = reinterpret_cast<char*>(drop + 1);
    for (const std::string& file : files) {
        std::memcpy(names, file.c_str(), file.size() + 1);
        names += file.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

void DropOn(HWND window, const std::vector<std::string>& files)
{
    SendMessageA(Control(window, ShortcutSettingsDialog::AppGroup), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
}

TEST_F(ApplicationTest, Drop_RefusesSeveralFilesAndNonExecutables)
{
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        DropOn(window, {"C:\\Tools\\one.exe", "C:\\Tools\\two.exe"});
        DropOn(window, {"C:\\Docs\\readme.txt"});
        DropOn(window, {"xe"});
        DropOn(window, {"C:\\Tools\\"});
        after = LookAtWindow(window);
        Click(window, IDOK);
    });
    RunWindow();
    const auto& boxes = driver.messageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "複数のファイルをドラッグアンドドロップすることはできません。\n１つずつ行って下さい。");
    for (size_t i = 1; i < boxes.size(); ++i)
        EXPECT_EQ(boxes[i].text, "ドロップしたファイルは実行ファイルではありません。");
    for (const CapturedMessageBox& box : boxes) {
        EXPECT_EQ(box.caption, "varokint");
        EXPECT_EQ(box.buttons(), static_cast<UINT>(MB_OK));
        EXPECT_EQ(box.icon(), 0u);
    }
    EXPECT_EQ(after.comboItems.size(), 3u);
    EXPECT_EQ(table.count(), 3);
}

TEST_F(ApplicationTest, Drop_OfAnExecutableAddsAndSelectsItWithItsLetterCase)
{
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        DropOn(window, {"C:\\Tools\\TOOL.EXE"});
        after = LookAtWindow(window);
        Click(window, ShortcutSettingsDialog::NewButton);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "tool action", CtrlQ); });
    RunWindow();
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(after.comboItems, (std::vector<std::string>{"(全てのｱﾌﾟﾘｹｰｼｮﾝ)", "alpha", "TOOL", "Zeta"}));
    EXPECT_EQ(after.comboIndex, 2);
    EXPECT_EQ(after.path, "C:\\Tools\\TOOL.EXE");
    EXPECT_EQ(ReadKeycfg(), std::string(StandardFile) +
                                "'C:\\Tools\\TOOL.EXE\r\nname=TOOL\r\n337.send=\r\n337.name=tool action\r\n\r\n");
}

TEST_F(ApplicationTest, Drop_OfARegisteredExecutableSelectsIt)
{
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        DropOn(window, {"c:\\apps\\ALPHA.exe"});
        after = LookAtWindow(window);
        Click(window, IDOK);
    });
    RunWindow();
    EXPECT_EQ(after.comboIndex, 1);
    EXPECT_EQ(after.comboItems.size(), 3u);
    EXPECT_EQ(table.count(), 3);
}

}  // namespace
}  // namespace settingstest
