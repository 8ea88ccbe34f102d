// A save that cannot complete must leave the user's old file exactly as it was.
#include "model/Settings.h"
#include "model/ShortcutTable.h"
#include "ModelTestSupport.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

const std::string OldShortcuts = "'old\r\nname=kept\r\n1.send=2\r\n\r\n";
const std::string OldSettings = "UseHotKey=no\r\nHotKeyCode=1\r\nTimer=5\r\n";

class FailedWriteTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        WriteBytes("keycfg.ini", OldShortcuts);
        WriteBytes("property.ini", OldSettings);
    }

    // Saves the built-in set and checks the failure as the user sees it.
    void ExpectShortcutSaveFails()
    {
        ShortcutTable table(system_);
        table.resetToDefaults();
        EXPECT_FALSE(table.save());
        EXPECT_EQ(system_.messages, (std::vector<FakeModelSystem::Message>{{"hoge", "hoge"}}));
        EXPECT_EQ(ReadBytes("keycfg.ini"), OldShortcuts);
        EXPECT_EQ(table.count(), 2);  // the table in memory is untouched
    }

    void ExpectSettingsSaveFails()
    {
        const auto messagesBefore = system_.messages;
        Settings settings(system_);
        settings.setDefaults();
        EXPECT_FALSE(settings.save());
        EXPECT_EQ(system_.messages, messagesBefore);  // this file's failures are silent
        EXPECT_EQ(ReadBytes("property.ini"), OldSettings);
    }
};

TEST_F(FailedWriteTest, TemporaryCannotBeCreated_BecauseADirectoryHasItsName)
{
    fs::create_directory("keycfg.ini.tmp");
    fs::create_directory("property.ini.tmp");
    ExpectShortcutSaveFails();
    ExpectSettingsSaveFails();
    EXPECT_TRUE(fs::is_directory("keycfg.ini.tmp"));  // not ours to remove
    EXPECT_EQ(system_.replaceCalls, 0);
}

TEST_F(FailedWriteTest, ReplaceFails_RemovesTheTemporary)
{
    system_.failReplace = true;
    ExpectShortcutSaveFails();
    ExpectSettingsSaveFails();
    EXPECT_FALSE(fs::exists("keycfg.ini.tmp"));
    EXPECT_FALSE(fs::exists("property.ini.tmp"));
}

TEST_F(FailedWriteTest, TargetIsADirectory_ReplaceFails)
{
    fs::remove("keycfg.ini");
    fs::create_directory("keycfg.ini");
    ShortcutTable table(system_);
    table.resetToDefaults();
    EXPECT_FALSE(table.save());
    EXPECT_EQ(system_.messages.size(), 1u);
    EXPECT_TRUE(fs::is_directory("keycfg.ini"));
    EXPECT_FALSE(fs::exists("keycfg.ini.tmp"));
}

TEST_F(FailedWriteTest, ReadOnlyDirectory)
{
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    if (FILE* probe = std::fopen("probe", "wb")) {
        std::fclose(probe);
        GTEST_SKIP() << "running with rights that ignore directory permissions";
    }
    ExpectShortcutSaveFails();
    ExpectSettingsSaveFails();
}

TEST_F(FailedWriteTest, WriteFailsPartWay_FileSizeLimit)
{
    // The kernel refuses bytes past the limit, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ShortcutTable table(system_);
    table.resetToDefaults();
    const bool saved1 = table.save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved1);
    EXPECT_EQ(system_.messages.size(), 1u);
    EXPECT_EQ(ReadBytes("keycfg.ini"), OldShortcuts);
    EXPECT_FALSE(fs::exists("keycfg.ini.tmp"));
    EXPECT_EQ(system_.replaceCalls, 0);
}

TEST_F(FailedWriteTest, SaveAfterAFailure_Succeeds)
{
    system_.failReplace = true;
    ShortcutTable table(system_);
    table.resetToDefaults();
    EXPECT_FALSE(table.save());
    system_.failReplace = false;
    EXPECT_TRUE(table.save());
    EXPECT_EQ(system_.messages.size(), 1u);
    EXPECT_EQ(ReadBytes("keycfg.ini").substr(0, 8), "'global\r");
}

} // namespace
