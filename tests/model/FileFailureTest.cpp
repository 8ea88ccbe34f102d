// A load that fails anywhere part way, here for want of memory, changes nothing in memory,
// and the failure comes back naming the file, the folder and the reason. (A read error
// halfway is the file fuzzers' to try.)
#include "ModelTestSupport.h"
#include "model/Settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>

namespace {

// Armed, the allocation after this many more fails, once, as on a machine out of memory.
long allocationsBeforeFailure = -1;

}  // namespace

void* operator new(std::size_t size)
{
    if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0) throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1)) return memory;
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

class FileFailureTest : public ::testing::Test {
protected:
    ScratchDirectory scratch_;
    FakeModelSystem system_;
    ShortcutTable table_{system_};
    Settings settings_{system_};
    const std::pair<const char*, std::function<FileResult()>> loads_[2] = {
        {"keycfg.ini", [this] { return table_.load(); }}, {"property.ini", [this] { return settings_.load(); }}};

    void SetUp() override
    {
        WriteBytes("keycfg.ini", "'a\r\nname=A\r\n1.send=2,3\r\n1.name=one\r\n\r\n'b\r\nname=B\r\n\r\n");
        WriteBytes("property.ini", "UseHotKey=no\r\nHotKeyCode=1\r\nTimer=5\r\n");
        table_.resetToDefaults();
        settings_.setDefaults();
    }
    std::string InMemory() const
    {
        return Describe(table_) + std::to_string(settings_.hotKey.toCode()) + " " + std::to_string(settings_.timer);
    }
    void ExpectFailure(const FileResult& result, FileError error, const char* file) const
    {
        EXPECT_EQ(result.error, error) << file;
        EXPECT_EQ(result.file, file);
        EXPECT_EQ(result.folder, "D:\\Varokinto");
    }
};

TEST_F(FileFailureTest, MemoryRunningOutAnywhereInALoad_ChangesNothing)
{
    for (const auto& [file, load] : loads_) {
        const std::string before = InMemory();
        long failing = 0;
        for (;; ++failing) {
            allocationsBeforeFailure = failing;
            const FileResult result = load();
            allocationsBeforeFailure = -1;
            if (result) break;
            ExpectFailure(result, FileError::OutOfMemory, file);
            ASSERT_EQ(InMemory(), before) << file << ", allocation " << failing;
        }
        EXPECT_GT(failing, 0) << file;
    }
    EXPECT_EQ(InMemory(), "'a|A\n  1:one=2,3\n'b|B\n1 5");
}

}  // namespace
