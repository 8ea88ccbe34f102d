// The model on the real system: the Windows directory and version, and the two files in
// the settings folder, written exactly and kept whole when they cannot be written or read.
#include "model/Settings.h"
#include "model/ShortcutTable.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ProgramDriver.h"
#include "win32/Handles.h"
#include "win32/Win32ModelSystem.h"

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

// Failures made real on the file system, each with the bytes it leaves behind.
TEST_F(Win32ModelTest, FilesThatCannotBeWrittenOrRead_KeepTheirBytesAndGiveTheSystemsReason)
{
    const std::string old = "'old\r\nname=kept\r\n\r\n";
    const auto hold = [](const char* name, DWORD share) {
        return OwnedHandle(CreateFileA(name, GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    ShortcutTable table(system);
    table.resetToDefaults();
    CreateDirectoryA("keycfg.ini", nullptr);
    EXPECT_EQ(ShortcutTable(system).load().error, FileError::AccessDenied);
    RemoveDirectoryA("keycfg.ini");
    for (const char* blocked : {"keycfg.ini.tmp", "keycfg.ini"}) {
        CreateDirectoryA(blocked, nullptr);
        EXPECT_EQ(table.save().error, FileError::AccessDenied) << blocked;
        EXPECT_TRUE(GetFileAttributesA(blocked) & FILE_ATTRIBUTE_DIRECTORY) << blocked;
        RemoveDirectoryA(blocked);
    }
    WriteBytes("keycfg.ini", old);
    {
        const OwnedHandle held = hold("keycfg.ini", FILE_SHARE_READ);
        EXPECT_EQ(table.save().error, FileError::InUse);
        EXPECT_FALSE(FileExists("keycfg.ini.tmp"));
    }
    {
        const OwnedHandle held = hold("keycfg.ini", 0);
        EXPECT_EQ(ShortcutTable(system).load().error, FileError::InUse);
    }
    EXPECT_EQ(ReadBytes("keycfg.ini"), old);

    // Nothing is written to the Windows folder or a folder inside it.
    Win32ModelSystem windows;
    windows.useFolder(L"C:\\windows\\system32");
    const FileResult refused = ShortcutTable(windows).save();
    EXPECT_EQ(refused.error, FileError::FolderRefused);
    EXPECT_EQ(refused.folder, "C:\\windows\\system32");
    EXPECT_FALSE(FileExists("C:\\windows\\system32\\keycfg.ini.tmp"));
}

}  // namespace
