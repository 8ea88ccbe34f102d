#include "model/ShortcutTable.h"
#include "ModelTestSupport.h"

namespace {

class DefaultSetTest : public TempDirTest {};

const std::string SharedPart =
    "'global\r\n"
    "name=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n"
    "2115.send=2048,83,67\r\n"
    "2115.name=コントロールパネル\r\n"
    "\r\n";

const std::string ExplorerActions =
    "name=エクスプローラー\r\n"
    "325.send=598,581,591\r\n"
    "325.name=エクスプローラーバー\r\n"
    "305.send=598,583\r\n"
    "305.name=大きいアイコン\r\n"
    "306.send=598,589\r\n"
    "306.name=小さいアイコン\r\n"
    "307.send=598,588\r\n"
    "307.name=一覧\r\n"
    "308.send=598,580\r\n"
    "308.name=詳細\r\n";

const std::string Thumbnails =
    "309.send=598,584\r\n"
    "309.name=縮小版\r\n";

std::string SavedBytes(FakeModelSystem& system)
{
    ShortcutTable table(system);
    EXPECT_TRUE(table.resetToDefaults());
    EXPECT_TRUE(table.save());
    return ReadBytes("keycfg.ini");
}

TEST_F(DefaultSetTest, Saved_OnNtGivesSixExplorerActionsInShiftJis)
{
    system_.reported = {2, 4, 0};
    EXPECT_EQ(SavedBytes(system_),
              SharedPart + "'D:\\WINNT\\explorer.exe\r\n" + ExplorerActions + Thumbnails + "\r\n");
    // Spot-check the encoding: half-width katakana are single bytes, "ー" is 81 5B.
    const std::string bytes = ReadBytes("keycfg.ini");
    EXPECT_NE(bytes.find("name=(\x91\x53\x82\xC4\x82\xCC\xB1\xCC\xDF\xD8\xB9\xB0\xBC\xAE\xDD)\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\x83\x47\x83\x4E\x83\x58\x83\x76\x83\x8D\x81\x5B\x83\x89\x81\x5B"), std::string::npos);
}

TEST_F(DefaultSetTest, Saved_OnWindows95FamilyVersion4GivesFiveExplorerActions)
{
    system_.reported = {1, 4, 10};
    system_.directory = "C:\\WINDOWS";
    EXPECT_EQ(SavedBytes(system_),
              SharedPart + "'C:\\WINDOWS\\explorer.exe\r\n" + ExplorerActions + "\r\n");
}

TEST_F(DefaultSetTest, NewerSystemFlag_FollowsPlatformAndMajorVersion)
{
    struct Case {
        ModelSystem::Version version;
        int explorerActions;
    };
    const Case cases[] = {
        {{1, 4, 90}, 5},  // Me reports 4.90 and stays without thumbnails
        {{1, 5, 0}, 6},
        {{2, 3, 51}, 6},
        {{2, 10, 0}, 6},
        {{0, 4, 0}, 5},
    };
    for (const Case& c : cases) {
        system_.reported = c.version;
        ShortcutTable table(system_);
        table.resetToDefaults();
        EXPECT_EQ(table.at(1)->actionCount(), c.explorerActions)
            << c.version.platformId << " " << c.version.major;
    }
}

TEST_F(DefaultSetTest, ExplorerPath_AddsNoSecondBackslash)
{
    system_.directory = "E:\\WIN\\";
    ShortcutTable table(system_);
    table.resetToDefaults();
    EXPECT_EQ(table.at(1)->path(), "E:\\WIN\\explorer.exe");
}

TEST_F(DefaultSetTest, Reset_ReplacesWhateverWasThere)
{
    ShortcutTable table(system_);
    table.add(AppEntry("x", "X"));
    table.add(AppEntry("global", "old"));
    EXPECT_TRUE(table.resetToDefaults());
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.at(0)->path(), "global");
    EXPECT_EQ(table.at(0)->name(), "(全てのｱﾌﾟﾘｹｰｼｮﾝ)");
    EXPECT_EQ(table.at(1)->name(), "エクスプローラー");
    EXPECT_EQ(table.findByPath("d:\\winnt\\EXPLORER.EXE"), 1);
    EXPECT_EQ(table.at(1)->findActionByInput(325)->name(), "エクスプローラーバー");
}

TEST_F(DefaultSetTest, Saved_LoadsBackEqual)
{
    ShortcutTable table(system_);
    table.resetToDefaults();
    ASSERT_TRUE(table.save());
    ShortcutTable loaded(system_);
    ASSERT_TRUE(loaded.load());
    EXPECT_EQ(Describe(loaded), Describe(table));
}

} // namespace
