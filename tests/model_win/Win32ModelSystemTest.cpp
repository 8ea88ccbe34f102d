// The model on the real system: the Windows directory and version, files in the current
// directory, and the "hoge" box of a failed save.
#include "app/Win32ModelSystem.h"
#include "model/Settings.h"
#include "model/ShortcutTable.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <string>

using namespace wt;

namespace {

class Win32ModelTest : public ::testing::Test {
protected:
    TempDir dir{true};
    Win32ModelSystem system;
};

TEST_F(Win32ModelTest, BuiltInSetAndDefaults_AreSavedExactlyAndLoadBack)
{
    DialogDriver driver;
    ModelSystem::Version version;
    ASSERT_TRUE(system.version(version));
    EXPECT_EQ(version.platformId, 2);
    ShortcutTable table(system);
    ASSERT_TRUE(table.resetToDefaults());
    ASSERT_TRUE(table.save());
    EXPECT_EQ(ReadBytes("keycfg.ini"), BuiltInKeycfg);
    EXPECT_FALSE(FileExists("keycfg.ini.tmp"));

    ShortcutTable loaded(system);
    ASSERT_TRUE(loaded.load());
    ASSERT_EQ(loaded.count(), 2);
    EXPECT_EQ(loaded.at(0)->actionAt(0).name(), "コントロールパネル");
    EXPECT_EQ(loaded.at(1)->path(), "C:\\windows\\explorer.exe");
    EXPECT_EQ(loaded.at(1)->actionCount(), 6);
    // Saving over an existing file replaces it.
    loaded.remove(1);
    ASSERT_TRUE(loaded.save());
    const std::string builtIn = BuiltInKeycfg;
    EXPECT_EQ(ReadBytes("keycfg.ini"), builtIn.substr(0, builtIn.find("'C:")));

    Settings settings(system);
    settings.setDefaults();
    ASSERT_TRUE(settings.save());
    EXPECT_EQ(ReadBytes("property.ini"), DefaultPropertyIni);
    Settings read(system);
    ASSERT_TRUE(read.load());
    EXPECT_EQ(read.hotKey.toCode(), 2061);
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(Win32ModelTest, FailedSave_ShowsTheHogeBoxKeepsTheOldFileAndLeavesNoTemporary)
{
    // The temporary cannot be created, or it cannot replace the file (a folder of that name).
    for (const char* blocked : {"keycfg.ini.tmp", "keycfg.ini"}) {
        TempDir scratch(true);
        const std::string old = "'old\r\nname=kept\r\n\r\n";
        if (std::string(blocked) != "keycfg.ini") WriteBytes("keycfg.ini", old);
        CreateDirectoryA(blocked, nullptr);
        DialogDriver driver;
        ShortcutTable table(system);
        table.resetToDefaults();
        EXPECT_FALSE(table.save()) << blocked;
        ASSERT_EQ(driver.messageBoxes().size(), 1u) << blocked;
        EXPECT_EQ(driver.messageBoxes()[0].caption, "hoge");
        EXPECT_EQ(driver.messageBoxes()[0].text, "hoge");
        EXPECT_EQ(driver.messageBoxes()[0].style, static_cast<UINT>(MB_OK));
        if (std::string(blocked) == "keycfg.ini") {
            EXPECT_FALSE(FileExists("keycfg.ini.tmp"));
        } else {
            EXPECT_EQ(ReadBytes("keycfg.ini"), old);
        }
    }
    // property.ini fails silently and keeps its old content.
    WriteBytes("property.ini", "Timer=5\r\n");
    CreateDirectoryA("property.ini.tmp", nullptr);
    DialogDriver driver;
    Settings settings(system);
    settings.setDefaults();
    EXPECT_FALSE(settings.save());
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(ReadBytes("property.ini"), "Timer=5\r\n");
}

}  // namespace
