// An action of 1,000 outputs typed through X into KeyTarget, with Ctrl let go while it
// plays: every output arrives once, and no modifier is left down when it is over. Prints
// how long the whole action took to reach the target.
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace wt;

namespace {

constexpr int Outputs = 1000;

TEST(LongAction, ThousandOutputsWithCtrlLetGoWhilePlaying_AllArriveAndNothingStaysDown)
{
    TempDir dir;
    InstallProgram(dir);
    KeyTarget target;
    ASSERT_TRUE(target.start(dir));
    std::string outputs;
    for (int i = 0; i < Outputs; ++i) outputs += (i ? "," : "") + std::to_string(0x41 + i % 26);  // A..Z, no modifier
    WriteBytes(dir.file("keycfg.ini"), "'global\r\nname=all\r\n\r\n'" + target.process.imagePath() +
                                           "\r\nname=KeyTarget\r\n325.send=" + outputs + "\r\n\r\n");  // Ctrl+E
    WriteBytes(dir.file("property.ini"), "UseHotKey=no\r\nHotKeyCode=2061\r\nTimer=100\r\n");
    Process program;
    HWND mainWindow = StartProgram(program, dir);
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(target.focus());

    auto letterDowns = [&] {
        const auto lines = target.lines();
        return std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.rfind("WM_KEYDOWN vk=0x", 0) == 0 && line.compare(16, 2, "41") >= 0 &&
                   line.compare(16, 2, "5A") <= 0;
        });
    };
    const long before = letterDowns();
    const DWORD start = GetTickCount();
    // Ctrl goes up 50 ms after E, long before the action has played.
    ASSERT_TRUE(Xdotool("keydown ctrl keydown e sleep 0.05 keyup ctrl sleep 0.05 keyup e"));
    const bool arrived = PumpUntil([&] { return letterDowns() - before >= Outputs; }, 600000);
    const DWORD took = GetTickCount() - start;
    PumpFor(500);
    std::printf("[ LongAction ] %d outputs reached the target in %lu ms\n", Outputs, static_cast<unsigned long>(took));
    const auto lines = target.lines();
    EXPECT_TRUE(arrived) << letterDowns() - before << " of " << Outputs;
    EXPECT_EQ(letterDowns() - before, Outputs);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0"), 0);
    for (const int vk : {VK_CONTROL, VK_SHIFT, VK_MENU, VK_LWIN, VK_RWIN})
        EXPECT_EQ(GetAsyncKeyState(vk) & 0x8000, 0) << "vk " << vk << " is down";
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("ctrl=0"), std::string::npos) << lines.back();
    ExitProgram(program, mainWindow);
}

}  // namespace
