// Every entry has an item of its own in the application list: a name that does not survive
// the list still leads to its entry, and the list sorts as the system's combo box would.
#include "tests/ui_settings/SettingsFixture.h"
#include "ui/Controls.h"

namespace settingstest {
namespace {

// テスト in UTF-8 (E3 83 86 E3 82 B9 E3 83 88) is no Shift-JIS text, and a name cut inside
// a double-byte character ends in a lone lead byte: neither comes back from the list as it
// went in, and each still opens its own entry, for 新規 and 変更.
TEST_F(SettingsWindowTest, NamesThatDoNotSurviveTheList_StillShowTheirEntry_NewAndChangeWork)
{
    const char* const names[] = {"\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88", "cut\x83", "cut"};
    for (int i = 0; i < 3; ++i) {
        AppEntry entry("C:\\Apps\\app" + std::to_string(i) + ".exe", names[i]);
        entry.addAction(MakeAction("n" + std::to_string(i), Alt | ('1' + i), {'A' + i}));
        table.add(entry);
    }
    std::vector<std::string> paths, changed;
    std::vector<Rows> rows;
    driver.OnNextDialog([&](HWND window) {
        for (int item = 0; item < 3; ++item) {
            SelectComboIndex(window, IDC_APP_COMBO, item);
            const WindowView view = LookAtWindow(window);
            paths.push_back(view.path);
            rows.push_back(view.rows);
            Click(window, IDC_NEW_ACTION);
            Click(window, IDC_CHANGE_APP);
        }
        Click(window, IDOK);
    });
    for (int item = 0; item < 3; ++item) {
        driver.OnNextDialog([](HWND editor) { EnterAction(editor, "new", Ctrl | 'Q'); });
        driver.OnNextDialog([&](HWND edit) {
            changed.push_back(ControlText(edit, IDC_APP_PATH));
            Click(edit, IDCANCEL);
        });
    }
    RunWindow();
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\Apps\\app0.exe", "C:\\Apps\\app1.exe", "C:\\Apps\\app2.exe"}));
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(changed, paths);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(table.at(i)->name(), names[i]);
        ASSERT_EQ(table.at(i)->actionCount(), 2) << i;
        EXPECT_EQ(table.at(i)->actionAt(1).name(), "new");
    }
    EXPECT_EQ(driver.unexpectedDialogs(), 0);
}

// The list sorts as a sorted combo box of the system would, which it no longer is asked to do.
TEST_F(SettingsWindowTest, ApplicationList_InTheOrderOfASortedComboBox)
{
    const std::vector<std::string> names = {"zeta",
                                            "Alpha",
                                            "alpha",
                                            "ALPHA2",
                                            "表示",
                                            "ソフト",
                                            "ｿﾌﾄ",
                                            "あいう",
                                            "アイウ",
                                            "10",
                                            "9",
                                            "_x",
                                            "(全てのｱﾌﾟﾘｹｰｼｮﾝ)",
                                            "a b",
                                            "a-b",
                                            "ab",
                                            "Ｚｅｔａ",
                                            "漢字",
                                            "",
                                            "~",
                                            "Zeta"};
    for (size_t i = 0; i < names.size(); ++i) table.add(AppEntry("C:\\n\\" + std::to_string(i) + ".exe", names[i]));
    HWND sorted = CreateWindowA("COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST | CBS_SORT, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
    for (const std::string& name : names) SendMessageA(sorted, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    std::vector<std::string> expected;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) expected.push_back(comboItemText(sorted, i));
    DestroyWindow(sorted);
    const WindowView view = OpenAndLook();
    EXPECT_EQ(view.comboItems, expected);
}

}  // namespace
}  // namespace settingstest
