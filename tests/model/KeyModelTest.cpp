#include "model/ShortcutTable.h"
#include "ModelTestSupport.h"

#include <stdexcept>

namespace {

std::vector<int> Codes(const Action& action)
{
    std::vector<int> codes;
    for (int i = 0; i < action.outputCount(); ++i)
        codes.push_back(action.outputAt(i).toCode());
    return codes;
}

Action MakeAction(const std::string& name, int input, std::vector<int> outputs = {})
{
    Action action(name);
    action.setInput(KeyStroke::ofCode(input));
    for (int code : outputs)
        action.insertOutput(KeyStroke::ofCode(code), action.outputCount());
    return action;
}

TEST(KeyStrokeTest, FromCode_SplitsVkAndFlagsAndIgnoresHighBits)
{
    const KeyStroke win = KeyStroke::ofCode(0x843);
    EXPECT_EQ(win.vk, 0x43u);
    EXPECT_EQ(win.win, 1);
    EXPECT_EQ(win.ctrl + win.alt + win.shift, 0);
    EXPECT_EQ(win.toCode(), 2115);
    EXPECT_EQ(KeyStroke::ofCode(0x1843), win);
    EXPECT_EQ(KeyStroke::ofCode(0x1843).toCode(), 2115);

    const KeyStroke all = KeyStroke::ofCode(0xFFF);
    EXPECT_EQ(all.vk, 0xFFu);
    EXPECT_EQ(all.ctrl + all.alt + all.shift + all.win, 4);
    EXPECT_EQ(KeyStroke::ofCode(-1).toCode(), 4095);
}

TEST(KeyStrokeTest, ToCode_CountsAnyNonzeroFlagAsOne)
{
    KeyStroke key;
    key.vk = 0x45;
    key.ctrl = 7;
    key.shift = 255;
    EXPECT_EQ(key.toCode(), 0x45 + 256 + 1024);
    KeyStroke same = KeyStroke::ofCode(0x545);
    EXPECT_EQ(key, same);
    key.clear();
    EXPECT_EQ(key.toCode(), 0);
    EXPECT_NE(key, same);
}

TEST(ActionTest, OutputAt_ClampsToFirstAndLast)
{
    const Action action = MakeAction("a", 325, {598, 581, 591});
    EXPECT_EQ(action.outputAt(-1).toCode(), 598);
    EXPECT_EQ(action.outputAt(1).toCode(), 581);
    EXPECT_EQ(action.outputAt(3).toCode(), 591);
    EXPECT_EQ(action.outputAt(100).toCode(), 591);
    EXPECT_EQ(Action().outputAt(0).toCode(), 0);  // empty: a cleared key, never a wild read
}

TEST(ActionTest, InsertOutput_AcceptsZeroToCountOnly)
{
    Action action = MakeAction("a", 1, {10, 20});
    EXPECT_TRUE(action.insertOutput(KeyStroke::ofCode(30), 2));
    EXPECT_TRUE(action.insertOutput(KeyStroke::ofCode(5), 0));
    EXPECT_TRUE(action.insertOutput(KeyStroke::ofCode(15), 2));
    EXPECT_FALSE(action.insertOutput(KeyStroke::ofCode(99), 6));
    EXPECT_FALSE(action.insertOutput(KeyStroke::ofCode(99), -1));
    EXPECT_EQ(Codes(action), (std::vector<int>{5, 10, 15, 20, 30}));
}

TEST(ActionTest, RemoveAndMoveOutput_RejectMovesOffTheEnds)
{
    Action action = MakeAction("a", 1, {10, 20, 30});
    EXPECT_FALSE(action.moveOutput(0, true));
    EXPECT_FALSE(action.moveOutput(2, false));
    EXPECT_FALSE(action.moveOutput(3, true));
    EXPECT_FALSE(action.moveOutput(-1, false));
    EXPECT_EQ(Codes(action), (std::vector<int>{10, 20, 30}));
    EXPECT_TRUE(action.moveOutput(2, true));
    EXPECT_EQ(Codes(action), (std::vector<int>{10, 30, 20}));
    EXPECT_TRUE(action.moveOutput(0, false));
    EXPECT_EQ(Codes(action), (std::vector<int>{30, 10, 20}));
    EXPECT_FALSE(action.removeOutput(3));
    EXPECT_FALSE(action.removeOutput(-1));
    EXPECT_TRUE(action.removeOutput(1));
    EXPECT_EQ(Codes(action), (std::vector<int>{30, 20}));
}

TEST(AppEntryTest, AddAction_RejectsSameInputCodeOnly)
{
    AppEntry entry("C:\\a.exe", "A");
    EXPECT_TRUE(entry.addAction(MakeAction("first", 325, {1})));
    EXPECT_FALSE(entry.addAction(MakeAction("second", 325, {2})));
    EXPECT_TRUE(entry.addAction(MakeAction("shifted", 325 + 1024)));
    ASSERT_EQ(entry.actionCount(), 2);
    EXPECT_EQ(entry.actionAt(0).name(), "first");
    EXPECT_EQ(entry.findActionByInput(325 + 1024)->name(), "shifted");
    EXPECT_EQ(entry.findActionByInput(326), nullptr);
}

TEST(AppEntryTest, ActionAt_ThrowsOutOfRange)
{
    AppEntry entry("p", "n");
    entry.addAction(MakeAction("x", 1));
    EXPECT_THROW(entry.actionAt(1), std::out_of_range);
    EXPECT_THROW(entry.actionAt(-1), std::out_of_range);
    const AppEntry& constEntry = entry;
    EXPECT_THROW(constEntry.actionAt(5), std::out_of_range);
    EXPECT_NO_THROW(constEntry.actionAt(0));
}

TEST(AppEntryTest, IsInputFree_SkipsTheExceptedIndex)
{
    AppEntry entry("p", "n");
    entry.addAction(MakeAction("x", 325));
    entry.addAction(MakeAction("y", 326));
    EXPECT_FALSE(entry.isInputFree(KeyStroke::ofCode(325), -1));
    EXPECT_TRUE(entry.isInputFree(KeyStroke::ofCode(325), 0));
    EXPECT_FALSE(entry.isInputFree(KeyStroke::ofCode(325), 1));
    EXPECT_TRUE(entry.isInputFree(KeyStroke::ofCode(327), -1));
    EXPECT_FALSE(entry.removeAction(2));
    EXPECT_TRUE(entry.removeAction(0));
    EXPECT_EQ(entry.actionAt(0).name(), "y");
}

TEST(AppEntryTest, Copy_IsDeep)
{
    AppEntry original("p", "n");
    original.addAction(MakeAction("x", 325, {1, 2}));
    AppEntry copy(original);
    copy.actionAt(0).setName("changed");
    copy.actionAt(0).insertOutput(KeyStroke::ofCode(3), 0);
    EXPECT_EQ(original.actionAt(0).name(), "x");
    EXPECT_EQ(Codes(original.actionAt(0)), (std::vector<int>{1, 2}));
    EXPECT_NE(&copy.actionAt(0), &original.actionAt(0));

    AppEntry assigned("q", "m");
    assigned = original;
    EXPECT_EQ(assigned.path(), "p");
    EXPECT_NE(&assigned.actionAt(0), &original.actionAt(0));
}

TEST(ShortcutTableTest, LookupsIgnoreAsciiCaseButAddComparesExactly)
{
    FakeModelSystem system;
    ShortcutTable table(system);
    EXPECT_EQ(table.add(AppEntry("global", "All")), 0);
    EXPECT_EQ(table.add(AppEntry("C:\\Tools\\App.exe", "App")), 1);
    EXPECT_EQ(table.add(AppEntry("global", "again")), -1);
    EXPECT_EQ(table.add(AppEntry("c:\\tools\\app.EXE", "lower")), 2);
    EXPECT_EQ(table.count(), 3);

    EXPECT_EQ(table.findByPath("GLOBAL"), 0);
    EXPECT_EQ(table.findByPath("C:\\TOOLS\\APP.EXE"), 1);  // the first of the two
    EXPECT_EQ(table.findByPath("C:\\Tools\\App.ex"), -1);
    EXPECT_EQ(table.findByName("aPp"), 1);
    EXPECT_EQ(table.findByName("nothing"), -1);
}

TEST(ShortcutTableTest, Lookups_FoldOnlyAsciiLettersNotShiftJisTrailBytes)
{
    FakeModelSystem system;
    ShortcutTable table(system);
    // "ア" is 83 41 and "ャ" is 83 61: the second bytes differ only like 'A' and 'a'.
    table.add(AppEntry("C:\\ア.exe", "ア"));
    EXPECT_EQ(table.findByPath("C:\\ャ.exe"), -1);
    EXPECT_EQ(table.findByName("ャ"), -1);
    EXPECT_EQ(table.findByPath("c:\\ア.EXE"), 0);
    // Byte 0xDF is a half-width katakana, not a lead byte: the next byte is a plain letter.
    table.add(AppEntry("ﾟX", "n"));
    EXPECT_EQ(table.findByPath("ﾟx"), 1);
}

TEST(ShortcutTableTest, IndexErrors_GiveNullAndFalse)
{
    FakeModelSystem system;
    ShortcutTable table(system);
    table.add(AppEntry("a", "A"));
    table.add(AppEntry("b", "B"));
    EXPECT_EQ(table.at(-1), nullptr);
    EXPECT_EQ(table.at(2), nullptr);
    EXPECT_FALSE(table.remove(2));
    EXPECT_FALSE(table.remove(-1));
    EXPECT_TRUE(table.remove(0));
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.at(0)->path(), "b");
    table.clear();
    EXPECT_EQ(table.count(), 0);
}

TEST(ShortcutTableTest, Add_StoresADeepCopy)
{
    FakeModelSystem system;
    ShortcutTable table(system);
    AppEntry entry("p", "n");
    entry.addAction(MakeAction("x", 1));
    table.add(entry);
    entry.actionAt(0).setName("changed");
    EXPECT_EQ(table.at(0)->actionAt(0).name(), "x");
}

} // namespace
