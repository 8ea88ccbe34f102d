// Changing and deleting applications through the registration dialog, and adding them by
// dropping executables on the application group.
#include "tests/ui_settings/SettingsFixture.h"

#include <shlobj.h>

#include <cstring>

namespace settingstest {
namespace {

class ApplicationTest : public SettingsWindowTest {
protected:
    void SetUp() override
    {
        SettingsWindowTest::SetUp();
        AddStandardEntries();
    }
    // The window opens 変更(&C) on this combo item, then closes.
    void ChangeApplication(int item, WindowView* after = nullptr)
    {
        driver.OnNextDialog([=](HWND window) {
            SelectComboIndex(window, IDC_APP_COMBO, item);
            Click(window, IDC_CHANGE_APP);
            if (after != nullptr) *after = LookAtWindow(window);
            Click(window, IDOK);
        });
    }
    // The registration dialog given a name and a path (unchanged when null), then OK.
    void Register(const char* name, const char* path)
    {
        driver.OnNextDialog([=](HWND edit) {
            if (name != nullptr) SetControlText(edit, IDC_APP_NAME, name);
            if (path != nullptr) SetControlText(edit, IDC_APP_PATH, path);
            Click(edit, IDOK);
        });
    }
};

TEST_F(ApplicationTest, Rename_ReplacesTheComboItemInPlaceAndKeepsTheActions)
{
    WindowView after;
    ChangeApplication(1, &after);  // alpha
    Register("zzz last by name", "C:\\windows\\regedit.exe");
    RunWindow();
    EXPECT_EQ(after.comboItems, (std::vector<std::string>{"(全てのｱﾌﾟﾘｹｰｼｮﾝ)", "zzz last by name", "Zeta"}));
    EXPECT_EQ(after.comboIndex, 1);
    EXPECT_EQ(after.focusId, IDC_APP_COMBO);
    EXPECT_EQ(after.path, "C:\\windows\\regedit.exe");
    EXPECT_EQ(after.rows, (Rows{{"Alt + 1", "one"}}));
    EXPECT_EQ(table.at(2)->name(), "zzz last by name");
    EXPECT_EQ(table.at(2)->path(), "C:\\windows\\regedit.exe");
    EXPECT_EQ(table.at(2)->actionCount(), 1);
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(ApplicationTest, DuplicateNameOrPath_WarnsAndReopensWithTheUsersEntries)
{
    const char* const nameTaken = "名前が他のアプリケーションと重複しています。\n変更してください。";
    const char* const pathTaken =
        "既に登録されているアプリケーションです。このアプリケーションに変更することはできません。";
    struct Case {
        const char* name;
        const char* path;
        const char* text;
        const char* caption;
        const char* secondName;  // typed after the warning; null to cancel
        const char* finalName;
        const char* finalPath;
    };
    const Case cases[] = {
        {"Zeta", "C:\\windows\\regedit.exe", nameTaken, "名前重複のお知らせ", "Regedit", "Regedit",
         "C:\\windows\\regedit.exe"},
        {nullptr, NotepadPath, pathTaken, "ｱﾌﾟﾘｹｰｼｮﾝ重複のお知らせ", nullptr, "alpha", "C:\\Apps\\alpha.exe"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        table.clear();
        AddStandardEntries();
        std::string reopened;
        ChangeApplication(1);
        Register(c.name, c.path);
        driver.OnNextDialog([&](HWND edit) {
            reopened = ControlText(edit, IDC_APP_NAME) + "|" + ControlText(edit, IDC_APP_PATH);
            if (c.secondName != nullptr) SetControlText(edit, IDC_APP_NAME, c.secondName);
            Click(edit, c.secondName != nullptr ? IDOK : IDCANCEL);
        });
        RunWindow();
        ASSERT_EQ(driver.messageBoxes().size(), i + 1) << c.text;
        EXPECT_EQ(driver.messageBoxes()[i].text, c.text);
        EXPECT_EQ(driver.messageBoxes()[i].caption, c.caption);
        EXPECT_EQ(driver.messageBoxes()[i].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(reopened, std::string(c.name ? c.name : "alpha") + "|" + c.path);
        EXPECT_EQ(table.at(2)->name(), c.finalName);
        EXPECT_EQ(table.at(2)->path(), c.finalPath);
    }
}

// "ア" is 83 41 and "ヂ" 83 61 in Shift-JIS: the second bytes differ only as the letters A
// and a would, and two different characters are never one name.
TEST_F(ApplicationTest, NamesDifferingInATrailByteOnly_AreTwoNames_EachShowsItsOwnEntry)
{
    AppEntry a("C:\\Apps\\a.exe", "ア");
    a.addAction(MakeAction("a", Alt | 'A', {'B'}));
    table.add(a);
    std::vector<std::string> items;
    WindowView renamed, shownA;
    driver.OnNextDialog([&](HWND window) {
        items = ComboItems(window, IDC_APP_COMBO);
        const auto alpha = std::find(items.begin(), items.end(), "alpha") - items.begin();
        SelectComboIndex(window, IDC_APP_COMBO, static_cast<int>(alpha));
        Click(window, IDC_CHANGE_APP);
        renamed = LookAtWindow(window);
        const auto katakana =
            std::find(renamed.comboItems.begin(), renamed.comboItems.end(), "ア") - renamed.comboItems.begin();
        SelectComboIndex(window, IDC_APP_COMBO, static_cast<int>(katakana));
        shownA = LookAtWindow(window);
        Click(window, IDOK);
    });
    Register("ヂ", nullptr);
    RunWindow();
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(table.at(2)->name(), "ヂ");
    EXPECT_EQ(renamed.path, "C:\\Apps\\alpha.exe");
    EXPECT_EQ(renamed.rows, (Rows{{"Alt + 1", "one"}}));
    EXPECT_EQ(shownA.path, "C:\\Apps\\a.exe");
    EXPECT_EQ(shownA.rows, (Rows{{"Alt + A", "a"}}));
}

TEST_F(ApplicationTest, DeleteFromTheRegistrationDialog_SelectsTheItemTakingItsPlaceOrTheOneBefore)
{
    struct Case {
        int item;
        std::vector<std::string> items;
        int selected;
        std::string path;
    };
    // clang-format off
    const Case cases[] = {
        {2, {"(全てのｱﾌﾟﾘｹｰｼｮﾝ)", "alpha"}, 1, "C:\\Apps\\alpha.exe"},  // Zeta, the last item
        {1, {"(全てのｱﾌﾟﾘｹｰｼｮﾝ)", "Zeta"}, 1, NotepadPath},           // alpha, in the middle
    };
    // clang-format on
    for (const Case& c : cases) {
        table.clear();
        AddStandardEntries();
        WindowView after;
        ChangeApplication(c.item, &after);
        driver.AnswerNextMessageBox(IDOK);
        driver.OnNextDialog([&](HWND edit) { Click(edit, IDC_APP_DELETE); });
        RunWindow();
        EXPECT_EQ(after.comboItems, c.items);
        EXPECT_EQ(after.comboIndex, c.selected);
        EXPECT_EQ(after.path, c.path);
        EXPECT_EQ(table.count(), 2);
    }
}

TEST_F(ApplicationTest, DeleteTheOnlyApplication_LeavesNothingShownAndNothingToActOn)
{
    table.clear();
    AppEntry only(NotepadPath, "Only");
    only.addAction(MakeAction("q", Ctrl | 'Q', {'A'}));
    table.add(only);
    WindowView after;
    driver.OnNextDialog([&](HWND window) {
        Click(window, IDC_CHANGE_APP);
        after = LookAtWindow(window);
        Click(window, IDC_NEW_ACTION);
        Click(window, IDOK);
    });
    driver.AnswerNextMessageBox(IDOK);
    driver.OnNextDialog([&](HWND edit) { Click(edit, IDC_APP_DELETE); });
    RunWindow();
    EXPECT_TRUE(after.comboItems.empty());
    EXPECT_TRUE(after.rows.empty());
    EXPECT_EQ(after.path, "");
    EXPECT_FALSE(after.editEnabled);
    EXPECT_EQ(driver.unexpectedDialogs(), 0);
    EXPECT_EQ(ReadBytes("keycfg.ini"), "");
}

// A drop as the shell delivers it: a DROPFILES block followed by the names, each ended by
// a zero byte, the list by one more.
void DropOn(HWND window, const std::vector<std::string>& files)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& file : files) size += file.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    char* names = reinterpret_cast<char*>(drop + 1);
    for (const std::string& file : files) {
        std::memcpy(names, file.c_str(), file.size() + 1);
        names += file.size() + 1;
    }
    GlobalUnlock(memory);
    SendMessageA(Control(window, IDC_APP_GROUP), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
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
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
    }
    EXPECT_EQ(after.comboItems.size(), 3u);
    EXPECT_EQ(table.count(), 3);
}

TEST_F(ApplicationTest, Drop_OfAnExecutableAddsAndSelectsItWithItsLetterCase_ARegisteredOneIsSelected)
{
    WindowView added, registered;
    driver.OnNextDialog([&](HWND window) {
        DropOn(window, {"C:\\Tools\\TOOL.EXE"});
        added = LookAtWindow(window);
        Click(window, IDC_NEW_ACTION);
        DropOn(window, {"c:\\apps\\ALPHA.exe"});
        registered = LookAtWindow(window);
        Click(window, IDOK);
    });
    driver.OnNextDialog([&](HWND editor) { EnterAction(editor, "tool action", Ctrl | 'Q'); });
    RunWindow();
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(added.comboItems, (std::vector<std::string>{"(全てのｱﾌﾟﾘｹｰｼｮﾝ)", "alpha", "TOOL", "Zeta"}));
    EXPECT_EQ(added.comboIndex, 2);
    EXPECT_EQ(added.path, "C:\\Tools\\TOOL.EXE");
    EXPECT_EQ(registered.comboIndex, 1);
    EXPECT_EQ(registered.comboItems.size(), 4u);
    EXPECT_EQ(ReadBytes("keycfg.ini"),
              std::string(StandardFile) +
                  "'C:\\Tools\\TOOL.EXE\r\nname=TOOL\r\n337.send=\r\n337.name=tool action\r\n\r\n");
}

}  // namespace
}  // namespace settingstest
