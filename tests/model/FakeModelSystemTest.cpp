#include "ModelTestSupport.h"

namespace {

class FakeModelSystemTest : public TempDirTest {};

TEST_F(FakeModelSystemTest, RecordsMessagesAndReportsTheGivenSystem)
{
    system_.showMessage("text", "caption");
    EXPECT_EQ(system_.messages, (std::vector<FakeModelSystem::Message>{{"text", "caption"}}));
    ModelSystem::Version v;
    system_.reported = {1, 4, 10};
    ASSERT_TRUE(system_.version(v));
    EXPECT_EQ(v.platformId, 1);
    EXPECT_EQ(v.minor, 10);
    system_.versionWorks = false;
    EXPECT_FALSE(system_.version(v));
    EXPECT_EQ(system_.windowsDirectory(), "D:\\WINNT");
}

TEST_F(FakeModelSystemTest, ReplaceFileRenamesOverTheTargetUnlessToldToFail)
{
    WriteBytes("a", "new");
    WriteBytes("b", "old");
    EXPECT_TRUE(system_.replaceFile("a", "b"));
    EXPECT_EQ(ReadBytes("b"), "new");
    EXPECT_FALSE(std::filesystem::exists("a"));
    WriteBytes("a", "newer");
    system_.failReplace = true;
    EXPECT_FALSE(system_.replaceFile("a", "b"));
    EXPECT_EQ(ReadBytes("b"), "new");
    EXPECT_EQ(system_.replaceCalls, 2);
}

} // namespace
