#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

std::vector<int> Codes(const Action& action)
{
    std::vector<int> codes;
    for (int i = 0; i < action.outputCount(); ++i) codes.push_back(action.outputAt(i).toCode());
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

    // An edited action keeps its place; it may keep its own input, not take another's.
    EXPECT_TRUE(entry.replaceAction(0, MakeAction("edited", Ctrl | 'E', {3})));
    EXPECT_FALSE(entry.replaceAction(0, MakeAction("clash", Ctrl | Shift | 'E')));
    EXPECT_FALSE(entry.replaceAction(2, MakeAction("past the end", Ctrl | 'F')));
    EXPECT_TRUE(entry.replaceAction(0, MakeAction("new input", Ctrl | 'F')));
    EXPECT_EQ(entry.findActionByInput(Ctrl | 'F'), &entry.actionAt(0));
    EXPECT_EQ(entry.findActionByInput(Ctrl | 'E'), nullptr);

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

TEST(ShortcutTableTest, ConflictOf_AnotherEntrysNameOrApplication_FirstInTableOrderDecidesNameBeforePath)
{
    FakeModelSystem system;
    ShortcutTable table(system);
    const char* const entries[][2] = {{"global", "All"},
                                      {"C:\\windows\\notepad.exe", "Zeta"},
                                      {"C:\\Apps\\alpha.exe", "alpha"},
                                      {"C:\\WindowsApps\\M.P_1.0.0.0_x64__k\\P.exe", "P"},
                                      {"C:\\ア.exe", "ア"}};
    for (const auto& [path, name] : entries) table.add(AppEntry(path, name));
    const std::tuple<const char*, std::string, int, EntryConflict> cases[] = {
        {"alpha", "C:\\Apps\\alpha.exe", 2, EntryConflict::None},  // its own name and path
        {"ZETA", "C:\\x.exe", 2, EntryConflict::Name},
        {"x", "C:\\WINDOWS\\NOTEPAD.EXE", 2, EntryConflict::Path},
        {"x", "C:\\WindowsApps\\M.P_2.0.0.0_x64__k\\P.exe", 2, EntryConflict::Path},  // another version
        {"ヂ", "C:\\ヂ.exe", 2, EntryConflict::None},  // trail bytes differing like 'A' and 'a'
        {"Zeta", "C:\\windows\\notepad.exe", 2, EntryConflict::Name},
        {"alpha", "C:\\windows\\notepad.exe", 0, EntryConflict::Path},
        {"all", "C:\\x.exe", -1, EntryConflict::Name},  // a new entry has no place to leave out
    };
    for (const auto& [name, path, index, conflict] : cases)
        EXPECT_EQ(table.conflictOf(AppEntry(path, name), index), conflict) << name << " " << path;
}

TEST(ShortcutTableTest, FindOrAddByPath_FindsTheApplication_OrAddsItEmptyUnderADistinctName)
{
    FakeModelSystem system;
    ShortcutTable table(system);
    AppEntry probe("C:\\x\\c\\probeB.exe", "probeB");
    probe.addAction(MakeAction("c", Ctrl | 'Q'));
    table.add(probe);
    table.add(AppEntry("C:\\WindowsApps\\M.P_1.0.0.0_x64__k\\P.exe", "P"));
    EXPECT_EQ(table.findOrAddByPath("C:\\X\\C\\PROBEB.EXE"), 0);
    EXPECT_EQ(table.findOrAddByPath("C:\\WindowsApps\\M.P_1.1.0.0_x64__k\\P.exe"), 1);
    EXPECT_EQ(table.findOrAddByPath("C:\\x\\d\\probeB.exe"), 2);
    EXPECT_EQ(table.findOrAddByPath("C:\\Tools\\a.b"), 3);  // too short a file name for one
    EXPECT_EQ(Describe(table), "'C:\\x\\c\\probeB.exe|probeB\n  337:c=\n'C:\\WindowsApps\\M.P_1.0.0.0_x64__k\\P.exe|P\n"
                               "'C:\\x\\d\\probeB.exe|probeB (d)\n'C:\\Tools\\a.b|\n");
}

TEST(ShortcutTableTest, PruneEmptyEntries_KeepsEntriesWithActionsAndReservedPathsInOrder)
{
    FakeModelSystem system;
    ShortcutTable table(system);
    AppEntry kept("C:\\kept.exe", "kept");
    kept.addAction(MakeAction("k", Ctrl | 'Q'));
    const AppEntry entries[] = {
        AppEntry("global", "g"), AppEntry("C:\\one.exe", "one"), AppEntry("C:\\two.exe", "two"),  kept,
        AppEntry("edit", "e"),   AppEntry("Global", "G"),        AppEntry("C:\\last.exe", "last")};
    for (const AppEntry& entry : entries) table.add(entry);
    table.pruneEmptyEntries();
    EXPECT_EQ(Describe(table), "'global|g\n'C:\\kept.exe|kept\n  337:k=\n'edit|e\n");
    EXPECT_EQ(table.findByPath("C:\\last.exe"), -1);
}

}  // namespace
