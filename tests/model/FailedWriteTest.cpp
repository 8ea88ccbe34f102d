// A save that cannot complete must leave the user's old file exactly as it was.
#include "ModelTestSupport.h"
#include "model/Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

const std::string OldShortcuts = "'old\r\nname=kept\r\n1.send=2\r\n\r\n";
const std::string OldSettings = "UseHotKey=no\r\nHotKeyCode=1\r\nTimer=5\r\n";

class FailedWriteTest : public ::testing::Test {
protected:
    ScratchDirectory scratch_;
    FakeModelSystem system_;
    ShortcutTable table_{system_};
    Settings settings_{system_};

    void SetUp() override
    {
        WriteBytes("keycfg.ini", OldShortcuts);
        WriteBytes("property.ini", OldSettings);
        table_.resetToDefaults();
        settings_.setDefaults();
    }
    // Only keycfg.ini tells the user, with its one "hoge" box; property.ini fails silently.
    // Under a file size limit the kernel refuses bytes past it, as a full disk would.
    void ExpectBothSavesFail(rlim_t sizeLimit = RLIM_INFINITY)
    {
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = std::min(sizeLimit, saved.rlim_max);
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool shortcutsSaved = table_.save(), settingsSaved = settings_.save();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        EXPECT_FALSE(shortcutsSaved);
        EXPECT_FALSE(settingsSaved);
        EXPECT_EQ(system_.messages, (std::vector<std::string>{"hoge: hoge"}));
        EXPECT_EQ(ReadBytes("keycfg.ini"), OldShortcuts);
        EXPECT_EQ(ReadBytes("property.ini"), OldSettings);
        EXPECT_EQ(table_.count(), 2);  // the table in memory is untouched
        EXPECT_FALSE(fs::is_regular_file("keycfg.ini.tmp"));
        EXPECT_FALSE(fs::is_regular_file("property.ini.tmp"));
    }
};

TEST_F(FailedWriteTest, TemporaryCannotBeCreated)
{
    fs::create_directory("keycfg.ini.tmp");
    fs::create_directory("property.ini.tmp");
    ExpectBothSavesFail();
    EXPECT_TRUE(fs::is_directory("keycfg.ini.tmp"));  // not ours to remove
    EXPECT_EQ(system_.replaceCalls, 0);
}

TEST_F(FailedWriteTest, WriteFailsPartWay)
{
    ExpectBothSavesFail(40);
    EXPECT_EQ(system_.replaceCalls, 0);
}

TEST_F(FailedWriteTest, ReplaceFailsAndTheNextSaveSucceeds)
{
    system_.failReplace = true;
    ExpectBothSavesFail();
    EXPECT_EQ(system_.replaceCalls, 2);
    system_.failReplace = false;
    EXPECT_TRUE(table_.save());
    EXPECT_EQ(ReadBytes("keycfg.ini").substr(0, 8), "'global\r");
}

TEST(FakeModelSystemTest, RecordsMessagesAndReplacesByRenameUnlessToldToFail)
{
    ScratchDirectory scratch;
    FakeModelSystem system;
    system.showMessage("text", "caption");
    EXPECT_EQ(system.messages, (std::vector<std::string>{"caption: text"}));
    WriteBytes("a", "new");
    WriteBytes("b", "old");
    EXPECT_TRUE(system.replaceFile("a", "b"));
    EXPECT_EQ(ReadBytes("b"), "new");
    EXPECT_FALSE(fs::exists("a"));
    WriteBytes("a", "newer");
    system.failReplace = true;
    EXPECT_FALSE(system.replaceFile("a", "b"));
    EXPECT_EQ(ReadBytes("b"), "new");
}

} // namespace
