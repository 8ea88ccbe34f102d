#include "model/ShortcutTable.h"
#include "ModelTestSupport.h"

namespace {

class ShortcutFileTest : public TempDirTest {
protected:
    // Writes keycfg.ini, loads it into a fresh table and returns the table's description.
    std::string LoadText(const std::string& bytes)
    {
        WriteBytes("keycfg.ini", bytes);
        ShortcutTable table(system_);
        EXPECT_TRUE(table.load());
        return Describe(table);
    }
};

const char* const WorkedExample =
    "'global\r\n"
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

const char* const WorkedExampleTable =
    "'global|(全てのｱﾌﾟﾘｹｰｼｮﾝ)\n"
    "  2115:コントロールパネル=2048,83,67\n"
    "'D:\\WINNT\\explorer.exe|エクスプローラー\n"
    "  325:エクスプローラーバー=598,581,591\n"
    "  561:=\n";

TEST_F(ShortcutFileTest, Load_ReadsTheWorkedExampleAndSaveWritesItBack)
{
    EXPECT_EQ(LoadText(WorkedExample), WorkedExampleTable);
    ShortcutTable table(system_);
    ASSERT_TRUE(table.load());
    std::remove("keycfg.ini");
    ASSERT_TRUE(table.save());
    EXPECT_EQ(ReadBytes("keycfg.ini"), WorkedExample);
    EXPECT_TRUE(system_.messages.empty());
}

TEST_F(ShortcutFileTest, Load_BareLineFeedsReadTheSame)
{
    std::string lf = WorkedExample;
    for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;)
        lf.erase(p, 1);
    EXPECT_EQ(LoadText(lf), WorkedExampleTable);
    // A last line without any line end still counts.
    EXPECT_EQ(LoadText("'p\r\n1.send=2"), "'p|\n  1:=2\n");
}

TEST_F(ShortcutFileTest, Load_MissingFileFailsAndKeepsTheTable)
{
    ShortcutTable table(system_);
    table.add(AppEntry("kept", "K"));
    EXPECT_FALSE(table.load());
    EXPECT_EQ(Describe(table), "'kept|K\n");
}

TEST_F(ShortcutFileTest, Load_EmptyFileGivesAnEmptyTableAndReplacesTheOldOne)
{
    WriteBytes("keycfg.ini", "");
    ShortcutTable table(system_);
    table.add(AppEntry("old", "O"));
    EXPECT_TRUE(table.load());
    EXPECT_EQ(table.count(), 0);
}

TEST_F(ShortcutFileTest, Load_ApplicationLines)
{
    // Lines before the first application line have no entry; a lone ' is an empty path;
    // a duplicate path is rejected and its lines up to the next application line are dropped.
    EXPECT_EQ(LoadText("name=orphan\r\n1.send=2\r\n"
                       "'\r\nname=empty\r\n"
                       "'\r\nname=dup\r\n5.send=6\r\n"
                       "'global\r\n7.send=8\r\n"
                       "'GLOBAL\r\nname=caps\r\n"),
              "'|empty\n"
              "'global|\n  7:=8\n"
              "'GLOBAL|caps\n");
}

TEST_F(ShortcutFileTest, Load_DisplayNameLines)
{
    EXPECT_EQ(LoadText("'a\r\nname=\r\n'b\r\nname==x\r\n'c\r\nname=first\r\nname=a,b=c\r\n"),
              "'a|\n'b|=x\n'c|a,b=c\n");
    // A bare "name=" reads as the action-name line of key code 0.
    EXPECT_EQ(LoadText("'a\r\nname=N\r\n0.send=5\r\n0.name=zero\r\nname=\r\n"),
              "'a|N\n  0:=5\n");
}

TEST_F(ShortcutFileTest, Load_SendLineOutputs)
{
    EXPECT_EQ(LoadText("'a\r\n"
                       "1.send=\r\n"
                       "2.send=2048,,67\r\n"
                       "3.send=67,0\r\n"
                       "4.send=,83\r\n"
                       "5.send=0,0,7\r\n"
                       "6.send= 12x,+13,-0,  14 \r\n"
                       "7.send=0\r\n"
                       "4095.send=4095\r\n"),
              "'a|\n"
              "  1:=\n"
              "  2:=2048,0,67\n"
              "  3:=67\n"
              "  4:=\n"
              "  5:=0,0,7\n"
              "  6:=12,13,0,14\n"
              "  7:=\n"
              "  4095:=4095\n");
}

TEST_F(ShortcutFileTest, Load_KeyCodesUseTheNumberRule)
{
    // Blanks, a sign, digits up to a non-digit; bits 12 and above of an input are ignored.
    EXPECT_EQ(LoadText("'a\r\n  325x.send=1\r\nabc.send=2\r\n6469.send=3\r\n-1.send=4\r\n"
                       "99999999999999.send=5\r\n"),
              "'a|\n  325:=1\n  0:=2\n  2373:=3\n  4095:=4\n");
}

TEST_F(ShortcutFileTest, Load_DuplicateSendLineKeepsTheFirstAction)
{
    EXPECT_EQ(LoadText("'a\r\n325.send=1\r\n325.send=2,3\r\n325.name=n\r\n"), "'a|\n  325:n=1\n");
}

TEST_F(ShortcutFileTest, Load_ActionNameLines)
{
    EXPECT_EQ(LoadText("'a\r\n"
                       "9.name=before its send line\r\n"
                       "9.send=1\r\n"
                       "10.send=1\r\n10.name=a=b,c\r\n"
                       "11.send=1\r\n11.name=x\r\n11.name=\r\n"
                       "12.name=no such action\r\n"),
              "'a|\n  9:=1\n  10:a=b,c=1\n  11:=1\n");
}

TEST_F(ShortcutFileTest, Load_DropsOtherKeywordsAndShapelessLines)
{
    EXPECT_EQ(LoadText("'a\r\n"
                       "1.sent=2\r\n"
                       "1.SEND=2\r\n"
                       "no equals sign\r\n"
                       ".send=3\r\n"
                       "x=1.send\r\n"
                       "send=4\r\n"),
              "'a|\n  0:=3\n");
}

TEST_F(ShortcutFileTest, Load_EngineNeverReportsKeyIsStillKeptAndWritten)
{
    EXPECT_EQ(LoadText("'a\r\nname=\r\n255.send=1,2\r\n"), "'a|\n  255:=1,2\n");
    ShortcutTable table(system_);
    ASSERT_TRUE(table.load());
    ASSERT_TRUE(table.save());
    EXPECT_EQ(ReadBytes("keycfg.ini"), "'a\r\nname=\r\n255.send=1,2\r\n\r\n");
}

TEST_F(ShortcutFileTest, Load_OverLongLineIsCutAndTheRestSkipped)
{
    // A 70000-byte display name: its first 64999 bytes are the line, the rest up to the
    // line end is skipped and the lines after it read normally.
    const std::string longName(70000 - 5, 'x');
    EXPECT_EQ(LoadText("'a\r\nname=" + longName + "\r\n325.send=1\r\n'b\r\nname=B\r\n"),
              "'a|" + std::string(64999 - 5, 'x') + "\n  325:=1\n'b|B\n");
    // Exactly 64999 bytes before CR LF is the longest line read whole.
    const std::string fits(64999 - 5, 'y');
    EXPECT_EQ(LoadText("'a\r\nname=" + fits + "\r\n"), "'a|" + fits + "\n");
    // An over-long send line as the last line, with no line end.
    std::string send = "'a\r\n1.send=";
    while (send.size() < 80000)
        send += "598,";
    EXPECT_EQ(LoadText(send).substr(0, 12), "'a|\n  1:=598");
}

TEST_F(ShortcutFileTest, Save_WritesEveryEntryEvenWithoutNameOrActions)
{
    ShortcutTable table(system_);
    table.add(AppEntry("", ""));
    AppEntry app("C:\\x.exe", "X");
    Action action("");
    action.setInput(KeyStroke::ofCode(0));
    action.insertOutput(KeyStroke::ofCode(0), 0);
    action.insertOutput(KeyStroke::ofCode(4095), 1);
    app.addAction(action);
    table.add(app);
    ASSERT_TRUE(table.save());
    EXPECT_EQ(ReadBytes("keycfg.ini"), "'\r\nname=\r\n\r\n'C:\\x.exe\r\nname=X\r\n0.send=0,4095\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists("keycfg.ini.tmp"));
}

} // namespace
