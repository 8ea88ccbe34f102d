// The real varokint.dll hooked into KeyTarget, a separate process: keys typed on the X
// display reach our main window as WM_COPYDATA, and are swallowed or passed on as its reply
// says. This program acts as Varokinto: varokint.exe beside it is its own file.
#include "contract/HookContract.h"
#include "engine/KeyEngine.h"
#include "engine/win32/Win32KeySystem.h"
#include "tests/engine/FakeModelSystem.h"
#include "tests/engine/StubKeySystem.h"
#include "tests/support/StandInWindow.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace wt;

namespace {

bool Has(const std::vector<std::string>& lines, const std::string& prefix)
{
    for (const auto& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

class HookLibraryTest : public ::testing::Test {
protected:
    FakeModelSystem model;
    ShortcutTable table{model};
    Settings settings{model};
    Win32KeySystem system;
    StubShell shell;
    StandInMainWindow mainWindow;
    KeyEngine engine{table, settings, system.keySystem(shell)};
    TempDir dir;
    KeyTarget target;

    void SetUp() override
    {
        ASSERT_NE(mainWindow.handle(), nullptr);
        ASSERT_FALSE(ActAsVarokinto().empty());
        ASSERT_TRUE(engine.SetHooks(true));
        ASSERT_TRUE(target.start(dir));
        ASSERT_TRUE(target.focus());
        PumpFor(200);
    }
    void TearDown() override { engine.SetHooks(false); }

    const ReportedKey* FindReport(unsigned vk, bool up) const
    {
        for (const auto& report : mainWindow.reports) {
            if (report.vk == vk && report.up() == up) return &report;
        }
        return nullptr;
    }
};

TEST_F(HookLibraryTest, KeyAnsweredOneIsSwallowedOthersPass)
{
    mainWindow.swallowVk = 'A';
    const auto log = target.type("key --delay 100 a b", 4);
    EXPECT_FALSE(Has(log, "WM_KEYDOWN vk=0x41")) << Dump(log);
    EXPECT_FALSE(Has(log, "WM_CHAR vk=0x61"));
    EXPECT_TRUE(Has(log, "WM_KEYUP vk=0x41"));  // the key-up was answered 0
    EXPECT_TRUE(Has(log, "WM_KEYDOWN vk=0x42"));
    EXPECT_TRUE(Has(log, "WM_CHAR vk=0x62"));

    // The report: virtual key, the flags word of the hook call (scan code 0x1E for A), 4 bytes.
    const ReportedKey* down = FindReport('A', false);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->size, 4u);
    EXPECT_EQ((down->flags >> 16) & 0xFF, 0x1Eu);
    EXPECT_EQ(down->flags & 0xFFFF, 1u);
    ASSERT_NE(FindReport('A', true), nullptr);
}

TEST_F(HookLibraryTest, KeyPassesWhenTheAnswerComesTooLateOrThereIsNoMainWindow)
{
    mainWindow.stallVk = 'C';
    EXPECT_TRUE(Has(target.type("key c", 3), "WM_KEYDOWN vk=0x43"));
    EXPECT_NE(FindReport('C', false), nullptr);

    mainWindow.swallowVk = 'D';
    mainWindow.close();
    mainWindow.reports.clear();
    EXPECT_TRUE(Has(target.type("key d", 3), "WM_KEYDOWN vk=0x44"));
    EXPECT_TRUE(mainWindow.reports.empty());
}

TEST_F(HookLibraryTest, TargetLogsModifierState_AndTheForegroundPathIsItsExecutable)
{
    EXPECT_TRUE(Has(target.type("key ctrl+e", 5), "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0"));
    EXPECT_EQ(engine.GetForegroundExePath(), dir.file("KeyTarget.exe"));
    EXPECT_EQ(engine.foregroundWindow(), Win32KeySystem::ToWindowId(target.window()));
}

// Bytes in use on every heap of this process.
size_t HeapBytesInUse()
{
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    size_t bytes = 0;
    for (DWORD i = 0; i < count; ++i) {
        PROCESS_HEAP_ENTRY entry = {};
        if (!HeapLock(heaps[i])) continue;
        while (HeapWalk(heaps[i], &entry)) {
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) bytes += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return bytes;
}

// Every process maps the library as the hooks come and go (around every dialog): loading and
// freeing it leaves nothing behind in the process.
TEST(HookLibraryLoading, LoadedAndFreedAHundredTimes_LeavesHeapAndHandlesAsTheyWere)
{
    TempDir dir;
    const std::string own = OwnExePath();
    const std::string library = dir.file("varokint.dll");
    ASSERT_TRUE(
        CopyFileA((own.substr(0, own.find_last_of('\\') + 1) + "varokint.dll").c_str(), library.c_str(), FALSE));
    const auto loadAndFree = [&] {
        HMODULE module = LoadLibraryA(library.c_str());
        return module != nullptr && GetProcAddress(module, HookContract::KeyboardProcName) != nullptr &&
               FreeLibrary(module) && GetModuleHandleA(library.c_str()) == nullptr;
    };
    ASSERT_TRUE(loadAndFree());  // the loader's own first-time bookkeeping
    DWORD handlesBefore = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    const size_t heapBefore = HeapBytesInUse();
    int loaded = 0;
    for (int i = 0; i < 100; ++i) loaded += loadAndFree() ? 1 : 0;
    const size_t heapAfter = HeapBytesInUse();
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(loaded, 100);
    EXPECT_EQ(heapAfter, heapBefore);
    EXPECT_EQ(handlesAfter, handlesBefore);
}

}  // namespace
