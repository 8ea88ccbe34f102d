// keycfg.ini: what the reader makes of every kind of line, the exact bytes the writer
// produces, and the built-in set as written on first run.
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

namespace {

class ShortcutFileTest : public ::testing::Test {
protected:
    ScratchDirectory scratch_;
    FakeModelSystem system_;

    // Writes keycfg.ini, loads it into a fresh table and returns the table's description.
    std::string LoadText(const std::string& bytes)
    {
        WriteBytes("keycfg.ini", bytes);
        ShortcutTable table(system_);
        EXPECT_TRUE(table.load());
        return Describe(table);
    }
};

const std::string WorkedExample = "'global\r\n"
                                  "name=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n"
                                  "2115.send=2048,83,67\r\n"
                                  "2115.name=コントロールパネル\r\n"
                                  "\r\n"
                                  "'D:\\WINNT\\explorer.exe\r\n"
                                  "name=エクスプローラー\r\n"
                                  "325.send=598,581,591\r\n"
                                  "325.name=エクスプローラーバー\r\n"
                                  "561.send=\r\n"
                                  "\r\n";

const std::string WorkedExampleTable = "'global|(全てのｱﾌﾟﾘｹｰｼｮﾝ)\n"
                                       "  2115:コントロールパネル=2048,83,67\n"
                                       "'D:\\WINNT\\explorer.exe|エクスプローラー\n"
                                       "  325:エクスプローラーバー=598,581,591\n"
                                       "  561:=\n";

TEST_F(ShortcutFileTest, WorkedExample_LoadsAndSavesBackByteForByte)
{
    EXPECT_EQ(LoadText(WorkedExample), WorkedExampleTable);
    ShortcutTable table(system_);
    ASSERT_TRUE(table.load());
    std::remove("keycfg.ini");
    ASSERT_TRUE(table.save());
    EXPECT_EQ(ReadBytes("keycfg.ini"), WorkedExample);

    std::string lf = WorkedExample;  // bare line feeds read the same
    for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.erase(p, 1);
    EXPECT_EQ(LoadText(lf), WorkedExampleTable);
}

TEST_F(ShortcutFileTest, ByteOrderMarkInFront_IsNotPartOfTheFirstLineAndIsNotWrittenBack)
{
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(LoadText(mark + WorkedExample), WorkedExampleTable);
    ShortcutTable table(system_);
    ASSERT_TRUE(table.load());
    ASSERT_TRUE(table.save());
    EXPECT_EQ(ReadBytes("keycfg.ini"), WorkedExample);

    // Only the three bytes at the very start are the mark; anywhere else they are bytes of
    // a line, read as they stand.
    EXPECT_EQ(LoadText(mark + mark + "'global\r\n1.send=2\r\n"), "");
    EXPECT_EQ(LoadText("\xEF\xBB'global\r\n1.send=2\r\n"), "");
    EXPECT_EQ(LoadText("'a\r\n" + mark + "'b\r\nname=" + mark + "B\r\n"), "'a|" + mark + "B\n");
    EXPECT_EQ(LoadText(mark), "");
}

TEST_F(ShortcutFileTest, Load_LineRules)
{
    const std::string longName(70000 - 5, 'x'), fits(64999 - 5, 'y');
    // clang-format off
    const struct {
        const char* rule;
        std::string file, table;
    } cases[] = {
        {"an empty file is an empty table", "", ""},
        {"a last line without a line end counts", "'p\r\n1.send=2", "'p|\n  1:=2\n"},
        {"lines before the first application line and after a duplicate path are dropped; "
         "a lone ' is an empty path",
         "name=orphan\r\n1.send=2\r\n'\r\nname=empty\r\n'\r\nname=dup\r\n5.send=6\r\n"
         "'global\r\n7.send=8\r\n'GLOBAL\r\nname=caps\r\n",
         "'|empty\n'global|\n  7:=8\n'GLOBAL|caps\n"},
        {"display names: the last wins, everything after the first = is the name",
         "'a\r\nname=\r\n'b\r\nname==x\r\n'c\r\nname=first\r\nname=a,b=c\r\n", "'a|\n'b|=x\n'c|a,b=c\n"},
        {"a bare name= is the action-name line of key code 0",
         "'a\r\nname=N\r\n0.send=5\r\n0.name=zero\r\nname=\r\n", "'a|N\n  0:=5\n"},
        {"send values: empty pieces read 0, a trailing 0 and anything after a leading , are lost",
         "'a\r\n1.send=\r\n2.send=2048,,67\r\n3.send=67,0\r\n4.send=,83\r\n5.send=0,0,7\r\n"
         "6.send= 12x,+13,-0,  14 \r\n7.send=0\r\n4095.send=4095\r\n",
         "'a|\n  1:=\n  2:=2048,0,67\n  3:=67\n  4:=\n  5:=0,0,7\n  6:=12,13,0,14\n  7:=\n  4095:=4095\n"},
        {"key codes: blanks, sign, digits to a non-digit; bits 12 and up dropped; vk 255 kept",
         "'a\r\n  325x.send=1\r\nabc.send=2\r\n6469.send=3\r\n-1.send=4\r\n99999999999999.send=5\r\n"
         "255.send=6\r\n",
         "'a|\n  325:=1\n  0:=2\n  2373:=3\n  4095:=4\n  255:=6\n"},
        {"a duplicate send line is dropped", "'a\r\n325.send=1\r\n325.send=2,3\r\n325.name=n\r\n",
         "'a|\n  325:n=1\n"},
        {"action names: only after their send line, the last wins",
         "'a\r\n9.name=before\r\n9.send=1\r\n10.send=1\r\n10.name=a=b,c\r\n11.send=1\r\n11.name=x\r\n"
         "11.name=\r\n12.name=no such action\r\n",
         "'a|\n  9:=1\n  10:a=b,c=1\n  11:=1\n"},
        {"other keywords and shapeless lines are dropped; .send= is key 0",
         "'a\r\n1.sent=2\r\n1.SEND=2\r\nno equals sign\r\n.send=3\r\nx=1.send\r\nsend=4\r\n", "'a|\n  0:=3\n"},
        {"a 70000-byte line keeps its first 64999 bytes, the rest of it is skipped",
         "'a\r\nname=" + longName + "\r\n325.send=1\r\n'b\r\nname=B\r\n",
         "'a|" + std::string(64999 - 5, 'x') + "\n  325:=1\n'b|B\n"},
        {"64999 bytes before the line end is read whole", "'a\r\nname=" + fits + "\r\n", "'a|" + fits + "\n"},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(LoadText(c.file), c.table) << c.rule;

    std::string send = "'a\r\n1.send=";  // an over-long last line with no line end
    while (send.size() < 80000) send += "598,";
    EXPECT_EQ(LoadText(send).substr(0, 12), "'a|\n  1:=598");
}

TEST_F(ShortcutFileTest, Load_MissingFileFailsAndKeepsTheTableWhileAPresentOneReplacesIt)
{
    ShortcutTable table(system_);
    table.add(AppEntry("kept", "K"));
    EXPECT_FALSE(table.load());
    EXPECT_EQ(Describe(table), "'kept|K\n");
    WriteBytes("keycfg.ini", "'new\r\n");
    EXPECT_TRUE(table.load());
    EXPECT_EQ(Describe(table), "'new|\n");
}

TEST_F(ShortcutFileTest, Save_WritesEveryEntryEvenWithoutNameOrActions)
{
    ShortcutTable table(system_);
    table.add(AppEntry("", ""));
    AppEntry app("C:\\x.exe", "X");
    app.addAction(MakeAction("", 0, {0, 4095}));
    table.add(app);
    ASSERT_TRUE(table.save());
    EXPECT_EQ(ReadBytes("keycfg.ini"), "'\r\nname=\r\n\r\n'C:\\x.exe\r\nname=X\r\n0.send=0,4095\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists("keycfg.ini.tmp"));
}

const std::string DefaultGlobal = WorkedExample.substr(0, WorkedExample.find("'D:"));
const std::string DefaultExplorerActions = "name=エクスプローラー\r\n"
                                           "325.send=598,581,591\r\n325.name=エクスプローラーバー\r\n"
                                           "305.send=598,583\r\n305.name=大きいアイコン\r\n"
                                           "306.send=598,589\r\n306.name=小さいアイコン\r\n"
                                           "307.send=598,588\r\n307.name=一覧\r\n"
                                           "308.send=598,580\r\n308.name=詳細\r\n";
const std::string Thumbnails = "309.send=598,584\r\n309.name=縮小版\r\n";

TEST_F(ShortcutFileTest, DefaultSet_SavedBytesFollowTheSystem)
{
    // clang-format off
    const struct {
        ModelSystem::Version version;
        bool versionWorks;
        const char* directory;
        const char* explorerLine;
        bool thumbnails;
    } cases[] = {
        {{2, 4, 0}, true, "D:\\WINNT", "'D:\\WINNT\\explorer.exe\r\n", true},
        {{1, 4, 10}, true, "E:\\WIN\\", "'E:\\WIN\\explorer.exe\r\n", false},  // no second backslash
        {{1, 4, 90}, true, "E:\\WIN", "'E:\\WIN\\explorer.exe\r\n", false},  // Me: 4.90, no thumbnails
        {{1, 5, 0}, true, "E:\\WIN", "'E:\\WIN\\explorer.exe\r\n", true},
        {{0, 4, 0}, true, "E:\\WIN", "'E:\\WIN\\explorer.exe\r\n", false},
        {{2, 5, 0}, false, "E:\\WIN", "'E:\\WIN\\explorer.exe\r\n", false},  // version unknown
    };
    // clang-format on
    for (const auto& c : cases) {
        system_.reported = c.version;
        system_.versionWorks = c.versionWorks;
        system_.directory = c.directory;
        ShortcutTable table(system_);
        table.add(AppEntry("x", "replaced"));
        EXPECT_TRUE(table.resetToDefaults());
        ASSERT_TRUE(table.save());
        EXPECT_EQ(ReadBytes("keycfg.ini"),
                  DefaultGlobal + c.explorerLine + DefaultExplorerActions + (c.thumbnails ? Thumbnails : "") + "\r\n")
            << c.version.platformId << " " << c.version.major << "." << c.version.minor;
    }
    // The literals above are Shift-JIS too: half-width katakana are single bytes, "ー" is 81 5B.
    EXPECT_NE(DefaultGlobal.find("name=(\x91\x53\x82\xC4\x82\xCC\xB1\xCC\xDF\xD8\xB9\xB0\xBC\xAE\xDD)\r\n"),
              std::string::npos);
    EXPECT_NE(DefaultExplorerActions.find("\x83\x47\x83\x4E\x83\x58\x83\x76\x83\x8D\x81\x5B\x83\x89\x81\x5B"),
              std::string::npos);
}

}  // namespace
