// Every table that save writes loads back equal.
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class RoundTripTest : public ::testing::Test {
protected:
    ScratchDirectory scratch_;
    FakeModelSystem system_;

    std::string SavedAndLoaded(ShortcutTable& table)
    {
        EXPECT_TRUE(table.save());
        ShortcutTable loaded(system_);
        EXPECT_TRUE(loaded.load());
        return Describe(loaded);
    }
};

TEST_F(RoundTripTest, HandMadeTablesAndTheBuiltInSet)
{
    ShortcutTable table(system_);
    EXPECT_EQ(SavedAndLoaded(table), "");
    table.resetToDefaults();
    EXPECT_EQ(SavedAndLoaded(table), Describe(table));

    table.clear();
    AppEntry global("global", "");
    global.addAction(MakeAction("", 0));
    global.addAction(MakeAction("a=b,c.d", 4095, {0, 0, 1}));
    table.add(global);
    AppEntry app("'quoted path'", "name=with=equals");
    app.addAction(MakeAction("表示", Ctrl | 'E', {Alt | 'V', Win, 1, 2}));
    table.add(app);
    table.add(AppEntry("", ""));
    table.add(AppEntry("GLOBAL", "=,"));
    EXPECT_EQ(SavedAndLoaded(table), Describe(table));
}

// Pieces that names and paths are made of: the file's own separators, quotes, blanks,
// Shift-JIS double-byte characters (including trail bytes 0x5C, 0x41 and 0x61) and
// half-width katakana. Line breaks never occur, as they come from single-line fields.
// clang-format off
const char* const Pieces[] = {
    "a", "Z", "0", "9", "=", ",", ".", "'", " ", "\t", "\\", "name=", "send", ".name=",
    "表", "ア", "ヂ", "ー", "ｱ", "ﾟ", "全て", "-", "+",
};
// clang-format on

TEST_F(RoundTripTest, GeneratedTablesLoadBackEqual)
{
    std::mt19937 random(20240611);
    const auto below = [&](int n) { return static_cast<int>(random() % n); };
    const auto text = [&](int maxPieces) {
        std::string result;
        for (int i = below(maxPieces + 1); i > 0; --i) result += Pieces[below(std::size(Pieces))];
        return result;
    };
    for (int round = 0; round < 300; ++round) {
        ShortcutTable table(system_);
        for (int e = below(6); e > 0; --e) {
            std::string path = text(6);
            if (table.count() > 0 && below(4) == 0) {  // the same path in other letter case
                path = table.at(table.count() - 1)->path();
                for (char& c : path) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
            }
            AppEntry entry(path, text(4));
            for (int a = below(7); a > 0; --a) {
                std::vector<int> outputs(below(6));
                for (int& code : outputs) code = below(5) == 0 ? 0 : below(4096);
                if (!outputs.empty() && outputs.back() == 0)
                    outputs.back() = 1 + below(4095);  // a trailing 0 is not written back
                entry.addAction(MakeAction(text(4), below(4096), outputs));
            }
            table.add(entry);
        }
        ASSERT_EQ(SavedAndLoaded(table), Describe(table)) << "round " << round;
    }
}

}  // namespace
