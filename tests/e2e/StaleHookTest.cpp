// Under Wine the keyboard hook of a killed copy of the program stays in the chain until the
// session ends, and reaches the hook library again through CallNextHookEx. After such kills
// each key event must still be reported once, and each action played once.
//
// Runs in a Wine session of its own (see CMakeLists.txt): the hooks it leaves behind must
// not reach the tests that come after it.
#include "contract/HookContract.h"
#include "tests/support/StandInWindow.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

long Count(const Lines& lines, const char* prefix)
{
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

// Starts a host as varokint.exe in the folder and kills it once its hooks are in, as kill -9
// would.
void StartAndKill(const TempDir& dir)
{
    HostProgram host;
    ASSERT_TRUE(host.start(dir, HookContract::ProgramFileName));
    ASSERT_TRUE(TerminateProcess(host.process.handle(), 9));
    DWORD exitCode = 0;
    ASSERT_TRUE(host.process.waitExit(DefaultWaitMs, exitCode));
    ASSERT_EQ(FindWindowA(HookContract::MainWindowClass, HookContract::MainWindowTitle), nullptr);
}

TEST(StaleHooks, AfterKilledCopies_EachKeyIsReportedOnceAndEachActionPlaysOnce)
{
    // The first killed copy ran from the folder of the host that then types: its stale hook
    // is the same library, reached again through the chain. The second ran from another
    // folder: its library is a module of its own, which reports to no one.
    TempDir first, second;
    KeyTarget target;
    ASSERT_TRUE(target.start(first));

    struct Case {
        const char* keys;
        Lines reports;
        Lines arrived;
    };
    // clang-format off
    const Case cases[] = {
        {"key a", {"A down", "A up"},
         {"WM_KEYDOWN vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0", "WM_CHAR vk=0x61 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
          "WM_KEYUP vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0"}},
        // consumed: only its release reaches the target
        {"key f", {"F down", "F up"}, {"WM_KEYUP vk=0x46 shift=0 ctrl=0 alt=0 lwin=0 rwin=0"}},
    };
    // clang-format on
    const TempDir* killedFrom[] = {nullptr, &first, &second};
    for (int kills = 0; kills < 3; ++kills) {
        if (killedFrom[kills] != nullptr) StartAndKill(*killedFrom[kills]);
        HostProgram spy;
        ASSERT_TRUE(spy.start(first, HookContract::ProgramFileName, "--swallow 0x46"));
        ASSERT_TRUE(target.focus());
        PumpFor(200);
        for (const Case& c : cases) {
            spy.clearReports();
            const Lines seen = target.type(c.keys, c.arrived.size());
            std::printf("[ stale    ] %d killed: %s gave %zu reports\n", kills, c.keys, spy.reports().size());
            EXPECT_EQ(spy.reports(), c.reports) << kills << " killed, " << c.keys << Dump(spy.reports());
            EXPECT_EQ(seen, c.arrived) << kills << " killed, " << c.keys << Dump(seen);
        }
    }

    // The program itself, with the two stale hooks behind its own.
    WriteBytes(first.file("keycfg.ini"), "'global\r\nname=all\r\n\r\n'" + target.process.imagePath() +
                                             "\r\nname=KeyTarget\r\n"
                                             "325.send=598,581,591\r\n"  // Ctrl+E -> Alt+V, Alt+E, Alt+O
                                             "338.send=338,66\r\n"       // Ctrl+R -> Ctrl+R, B
                                             "\r\n");
    WriteBytes(first.file("property.ini"), "UseHotKey=no\r\nHotKeyCode=0\r\nTimer=100\r\n");
    InstallProgram(first, false);  // the library is there already, and loaded in the target
    Process program;
    HWND mainWindow = StartProgram(program, first);
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(target.focus());
    for (int press = 0; press < 2; ++press) {
        Lines seen = target.type("keydown ctrl keydown e sleep 0.2 keyup ctrl keyup e", 14);
        EXPECT_EQ(Count(seen, "WM_SYSKEYDOWN vk=0x56 "), 1) << Dump(seen);
        EXPECT_EQ(Count(seen, "WM_SYSKEYDOWN vk=0x45 "), 1) << Dump(seen);
        EXPECT_EQ(Count(seen, "WM_SYSKEYDOWN vk=0x4F "), 1) << Dump(seen);
        EXPECT_EQ(Count(seen, "WM_KEYDOWN vk=0x45 "), 0) << Dump(seen);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), "WM_KEYUP vk=0x45 shift=0 ctrl=0 alt=0 lwin=0 rwin=0") << Dump(seen);

        // Its own input among its outputs: played once, not again for a second report of it.
        seen = target.type("keydown ctrl keydown r sleep 0.2 keyup ctrl keyup r", 10);
        EXPECT_EQ(Count(seen, "WM_KEYDOWN vk=0x52 "), 1) << Dump(seen);
        EXPECT_EQ(Count(seen, "WM_KEYDOWN vk=0x42 "), 1) << Dump(seen);
        PumpFor(200);
    }
    EXPECT_EQ(target.type("key a", 3), cases[0].arrived);
    ExitProgram(program, mainWindow);
}

}  // namespace
