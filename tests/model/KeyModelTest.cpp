#include "ModelTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> Codes(const Action& action)
{
    std::vector<int> codes;
    for (int i = 0; i < action.outputCount(); ++i)
        codes.push_back(action.outputAt(i).toCode());
    return codes;
}

TEST(KeyStrokeTest, CodePacksVkAndOneBitPerModifierIgnoringHighBits)
{
    const KeyStroke win = KeyStroke::ofCode(0x1843);  // bit 12 is dropped
    EXPECT_EQ(win.vk, 0x43u);
    EXPECT_EQ(win.win + 2 * win.ctrl + 4 * win.alt + 8 * win.shift, 1);
    EXPECT_EQ(win.toCode(), 2115);
    EXPECT_EQ(KeyStroke::ofCode(-1).toCode(), 4095);

    KeyStroke key;
    key.vk = 0x45;
    key.ctrl = 7;  // any nonzero flag byte counts as one bit
    key.shift = 255;
    EXPECT_EQ(key.toCode(), 0x545);
    EXPECT_EQ(key, KeyStroke::ofCode(0x545));
    key.clear();
    EXPECT_EQ(key.toCode(), 0);
}

TEST(ActionTest, OutputListEditsRejectIndexesOffTheEnds)
{
    Action action = MakeAction("a", 1, {10, 20});
    EXPECT_TRUE(action.insertOutput(KeyStroke::ofCode(30), 2));
    EXPECT_TRUE(action.insertOutput(KeyStroke::ofCode(5), 0));
    EXPECT_FALSE(action.insertOutput(KeyStroke::ofCode(99), 5));
    EXPECT_FALSE(action.insertOutput(KeyStroke::ofCode(99), -1));
    EXPECT_EQ(Codes(action), (std::vector<int>{5, 10, 20, 30}));

    EXPECT_FALSE(action.moveOutput(0, true));
    EXPECT_FALSE(action.moveOutput(3, false));
    EXPECT_FALSE(action.moveOutput(4, true));
    EXPECT_FALSE(action.moveOutput(-1, false));
    EXPECT_TRUE(action.moveOutput(3, true));
    EXPECT_TRUE(action.moveOutput(0, false));
    EXPECT_EQ(Codes(action), (std::vector<int>{10, 5, 30, 20}));

    EXPECT_FALSE(action.removeOutput(4));
    EXPECT_FALSE(action.removeOutput(-1));
    EXPECT_TRUE(action.removeOutput(1));
    EXPECT_EQ(Codes(action), (std::vector<int>{10, 30, 20}));

    // Reads outside the list clamp to the first or last key; an empty list gives a cleared key.
    EXPECT_EQ(action.outputAt(-1).toCode(), 10);
    EXPECT_EQ(action.outputAt(100).toCode(), 20);
    EXPECT_EQ(Action().outputAt(0).toCode(), 0);
}

TEST(AppEntryTest, ActionsAreKeyedByInputCodeAndIndexErrorsThrow)
{
    AppEntry entry("C:\\a.exe", "A");
    EXPECT_TRUE(entry.addAction(MakeAction("first", Ctrl | 'E', {1})));
    EXPECT_FALSE(entry.addAction(MakeAction("second", Ctrl | 'E', {2})));
    EXPECT_TRUE(entry.addAction(MakeAction("shifted", Ctrl | Shift | 'E')));
    ASSERT_EQ(entry.actionCount(), 2);
    EXPECT_EQ(entry.findActionByInput(Ctrl | Shift | 'E')->name(), "shifted");
    EXPECT_EQ(entry.findActionByInput(Ctrl | 'F'), nullptr);

    EXPECT_FALSE(entry.isInputFree(KeyStroke::ofCode(Ctrl | 'E'), -1));
    EXPECT_TRUE(entry.isInputFree(KeyStroke::ofCode(Ctrl | 'E'), 0));  // the action being edited
    EXPECT_FALSE(entry.isInputFree(KeyStroke::ofCode(Ctrl | 'E'), 1));

    EXPECT_THROW(entry.actionAt(2), std::out_of_range);
    EXPECT_THROW(static_cast<const AppEntry&>(entry).actionAt(-1), std::out_of_range);
    EXPECT_FALSE(entry.removeAction(2));
    EXPECT_TRUE(entry.removeAction(0));
    EXPECT_EQ(entry.actionAt(0).name(), "shifted");
}

TEST(AppEntryTest, CopiesAndTheTablesCopyAreDeep)
{
    FakeModelSystem system;
    ShortcutTable table(system);
    AppEntry original("p", "n");
    original.addAction(MakeAction("x", Ctrl | 'E', {1, 2}));
    table.add(original);
    AppEntry copy(original), assigned("q", "m");
    assigned = original;
    original.actionAt(0).insertOutput(KeyStroke::ofCode(3), 0);
    for (const AppEntry* entry : {&copy, &assigned, table.at(0)})
        EXPECT_EQ(Codes(entry->actionAt(0)), (std::vector<int>{1, 2}));
    EXPECT_EQ(assigned.path(), "p");
}

TEST(ShortcutTableTest, LookupsFoldAsciiCaseOnlyButAddComparesExactly)
{
    FakeModelSystem system;
    ShortcutTable table(system);
    EXPECT_EQ(table.add(AppEntry("global", "All")), 0);
    EXPECT_EQ(table.add(AppEntry("C:\\Tools\\App.exe", "App")), 1);
    EXPECT_EQ(table.add(AppEntry("global", "again")), -1);
    EXPECT_EQ(table.add(AppEntry("c:\\tools\\app.EXE", "lower")), 2);
    EXPECT_EQ(table.findByPath("GLOBAL"), 0);
    EXPECT_EQ(table.findByPath("C:\\TOOLS\\APP.EXE"), 1);  // the first of the two
    EXPECT_EQ(table.findByPath("C:\\Tools\\App.ex"), -1);
    EXPECT_EQ(table.findByName("aPp"), 1);

    // "ア" is 83 41 and "ヂ" is 83 61: trail bytes that differ only like 'A' and 'a'.
    table.add(AppEntry("C:\\ア.exe", "ア"));
    EXPECT_EQ(table.findByPath("C:\\ヂ.exe"), -1);
    EXPECT_EQ(table.findByName("ヂ"), -1);
    EXPECT_EQ(table.findByPath("c:\\ア.EXE"), 3);
    // 0xDF is a half-width katakana, not a lead byte: the next byte is a plain letter.
    table.add(AppEntry("ﾟX", "n"));
    EXPECT_EQ(table.findByPath("ﾟx"), 4);

    EXPECT_EQ(table.add(AppEntry("C:\\WindowsApps\\M.P_1.0.0.0_x64__k\\P.exe", "P")), 5);  // a packaged application
    EXPECT_EQ(table.findByPath("C:\\WindowsApps\\M.P_1.1.0.0_x64__k\\P.exe"), 5);
    EXPECT_EQ(table.add(AppEntry("C:\\WindowsApps\\M.P_1.1.0.0_x64__k\\P.exe", "P")), 6);
    EXPECT_TRUE(table.remove(6) && table.remove(5));

    EXPECT_EQ(table.at(-1), nullptr);
    EXPECT_EQ(table.at(5), nullptr);
    EXPECT_FALSE(table.remove(5));
    EXPECT_FALSE(table.remove(-1));
    EXPECT_TRUE(table.remove(0));
    EXPECT_EQ(table.at(0)->path(), "C:\\Tools\\App.exe");
    EXPECT_EQ(table.count(), 4);
}

} // namespace
