#include "model/ShortcutTable.h"
#include "ModelTestSupport.h"

#include <random>

namespace {

class RoundTripTest : public TempDirTest {
protected:
    void ExpectSavedTableLoadsBackEqual(const ShortcutTable& table)
    {
        ShortcutTable original(system_);
        for (int i = 0; i < table.count(); ++i)
            original.add(*table.at(i));
        ASSERT_TRUE(original.save());
        ShortcutTable loaded(system_);
        ASSERT_TRUE(loaded.load());
        ASSERT_EQ(loaded.count(), table.count());
        for (int i = 0; i < table.count(); ++i) {
            const AppEntry& want = *table.at(i);
            const AppEntry& got = *loaded.at(i);
            ASSERT_EQ(got.path(), want.path());
            ASSERT_EQ(got.name(), want.name());
            ASSERT_EQ(got.actionCount(), want.actionCount()) << want.path();
            for (int a = 0; a < want.actionCount(); ++a) {
                const Action& wa = want.actionAt(a);
                const Action& ga = got.actionAt(a);
                ASSERT_EQ(ga.name(), wa.name());
                ASSERT_EQ(ga.input(), wa.input());
                ASSERT_EQ(ga.outputCount(), wa.outputCount()) << wa.name();
                for (int k = 0; k < wa.outputCount(); ++k)
                    ASSERT_EQ(ga.outputAt(k), wa.outputAt(k));
            }
        }
    }
};

Action MakeAction(const std::string& name, int input, std::vector<int> outputs)
{
    Action action(name);
    action.setInput(KeyStroke::ofCode(input));
    for (int code : outputs)
        action.insertOutput(KeyStroke::ofCode(code), action.outputCount());
    return action;
}

TEST_F(RoundTripTest, HandMadeTables)
{
    ShortcutTable table(system_);
    AppEntry global("global", "");
    global.addAction(MakeAction("", 0, {}));
    global.addAction(MakeAction("a=b,c.d", 4095, {0, 0, 1}));
    table.add(global);
    AppEntry app("'quoted path'", "name=with=equals");
    app.addAction(MakeAction("表示", 325, {598, 2048, 1, 2}));
    table.add(app);
    table.add(AppEntry("", ""));
    table.add(AppEntry("GLOBAL", "=,"));
    ExpectSavedTableLoadsBackEqual(table);

    ShortcutTable empty(system_);
    ExpectSavedTableLoadsBackEqual(empty);
}

TEST_F(RoundTripTest, TrailingOutputZeroIsTheOneKeyLost)
{
    ShortcutTable table(system_);
    AppEntry app("p", "");
    app.addAction(MakeAction("", 1, {67, 0}));
    app.addAction(MakeAction("", 2, {0}));
    app.addAction(MakeAction("", 3, {0, 0}));
    table.add(app);
    ASSERT_TRUE(table.save());
    ShortcutTable loaded(system_);
    ASSERT_TRUE(loaded.load());
    EXPECT_EQ(Describe(loaded), "'p|\n  1:=67\n  2:=\n  3:=0\n");
}

// Pieces that names and paths are made of: the file's own separators, quotes, blanks,
// Shift-JIS double-byte characters (including trail bytes 0x5C, 0x41 and 0x61) and
// half-width katakana. Line breaks never occur, as they come from single-line fields.
const char* const Pieces[] = {
    "a", "Z", "0", "9", "=", ",", ".", "'", " ", "\t", "\\", "name=", "send", ".name=",
    "表", "ア", "ャ", "ー", "ｱ", "ﾟ", "全て", "-", "+",
};

std::string RandomText(std::mt19937& random, int maxPieces)
{
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, maxPieces)(random);
    for (int i = 0; i < count; ++i)
        text += Pieces[random() % std::size(Pieces)];
    return text;
}

std::string FlipCase(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

TEST_F(RoundTripTest, GeneratedTablesLoadBackEqual)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> keyCode(0, 4095);
    for (int round = 0; round < 300; ++round) {
        ShortcutTable table(system_);
        const int entries = std::uniform_int_distribution<int>(0, 5)(random);
        for (int e = 0; e < entries; ++e) {
            std::string path = RandomText(random, 6);
            if (e > 0 && random() % 4 == 0)
                path = FlipCase(table.at(table.count() - 1)->path());  // same path in other case
            AppEntry entry(path, RandomText(random, 4));
            const int actions = std::uniform_int_distribution<int>(0, 6)(random);
            for (int a = 0; a < actions; ++a) {
                std::vector<int> outputs(std::uniform_int_distribution<int>(0, 5)(random));
                for (int& code : outputs)
                    code = random() % 5 == 0 ? 0 : keyCode(random);
                if (!outputs.empty() && outputs.back() == 0)
                    outputs.back() = 1 + keyCode(random) % 4095;  // a trailing 0 is not written back
                entry.addAction(MakeAction(RandomText(random, 4), keyCode(random), outputs));
            }
            table.add(entry);
        }
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectSavedTableLoadsBackEqual(table);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
