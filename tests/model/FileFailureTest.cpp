// A file that cannot be read whole changes nothing in memory, a save that fails changes
// nothing on disk, and each failure comes back naming the file, the folder and the reason.
#include "ModelTestSupport.h"
#include "model/Settings.h"
#include "model/TextFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>

namespace {

// Armed, the allocation after this many more fails, once, as on a machine out of memory.
long allocationsBeforeFailure = -1;

} // namespace

void* operator new(std::size_t size)
{
    if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

namespace fs = std::filesystem;

const std::string Shortcuts = "'a\r\nname=A\r\n1.send=2,3\r\n1.name=one\r\n\r\n'b\r\nname=B\r\n\r\n";
const std::string Preferences = "UseHotKey=no\r\nHotKeyCode=1\r\nTimer=5\r\n";

class FileFailureTest : public ::testing::Test {
protected:
    ScratchDirectory scratch_;
    FakeModelSystem system_;
    ShortcutTable table_{system_};
    Settings settings_{system_};

    void SetUp() override
    {
        WriteBytes("keycfg.ini", Shortcuts);
        WriteBytes("property.ini", Preferences);
        table_.resetToDefaults();
        settings_.setDefaults();
    }
    std::string InMemory() const
    {
        return Describe(table_) + (settings_.useHotKey ? "on " : "off ") + std::to_string(settings_.hotKey.toCode()) +
               " " + std::to_string(settings_.timer);
    }
    void ExpectFailure(const FileResult& result, FileError error, const char* file) const
    {
        EXPECT_EQ(result.error, error) << file;
        EXPECT_EQ(result.file, file);
        EXPECT_EQ(result.folder, "D:\\Varokinto");
    }
};

TEST_F(FileFailureTest, FileNotReadWhole_LeavesTableAndSettingsAsTheyWere)
{
    const std::string before = InMemory();
    const std::string tooLarge(textfile::MaxFileSize + 1, '\n');
    const struct {
        const char* what;
        std::function<void()> arrange;
        FileError error;
    } cases[] = {
        {"held by another program", [&] { system_.failReads = FileError::InUse; }, FileError::InUse},
        {"read error halfway", [&] { system_.readErrorAt = 20; }, FileError::Other},
        {"larger than the limit", [&] { WriteBytes("keycfg.ini", tooLarge), WriteBytes("property.ini", tooLarge); },
         FileError::TooLarge},
        {"a folder in its place",
         [&] { fs::remove("keycfg.ini"), fs::remove("property.ini"), fs::create_directory("keycfg.ini"),
               fs::create_directory("property.ini"); },
         FileError::AccessDenied},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        system_ = FakeModelSystem();
        c.arrange();
        ExpectFailure(table_.load(), c.error, "keycfg.ini");
        ExpectFailure(settings_.load(), c.error, "property.ini");
        EXPECT_EQ(InMemory(), before);
    }
}

TEST_F(FileFailureTest, MemoryRunningOutAnywhereInALoad_LeavesTableAndSettingsAsTheyWere)
{
    const std::pair<const char*, std::function<FileResult()>> loads[] = {
        {"keycfg.ini", [&] { return table_.load(); }}, {"property.ini", [&] { return settings_.load(); }}};
    for (const auto& [file, load] : loads) {
        const std::string before = InMemory();
        long failing = 0;
        for (;; ++failing) {
            allocationsBeforeFailure = failing;
            const FileResult result = load();
            allocationsBeforeFailure = -1;
            if (result)
                break;
            ExpectFailure(result, FileError::OutOfMemory, file);
            ASSERT_EQ(InMemory(), before) << file << ", allocation " << failing;
        }
        EXPECT_GT(failing, 0) << file;
    }
    EXPECT_EQ(InMemory(), "'a|A\n  1:one=2,3\n'b|B\non 1 5");
}

TEST_F(FileFailureTest, SaveThatFails_LeavesTheFilesAsTheyWere)
{
    system_.failWrites = FileError::DiskFull;
    ExpectFailure(table_.save(), FileError::DiskFull, "keycfg.ini");
    ExpectFailure(settings_.save(), FileError::DiskFull, "property.ini");
    EXPECT_EQ(ReadBytes("keycfg.ini"), Shortcuts);
    EXPECT_EQ(ReadBytes("property.ini"), Preferences);
}

} // namespace
