// The program's idea of what is held goes stale where the hooks cannot see (another desktop,
// an elevated window). Here a report that no key made stands for such a missed event; once
// another window comes to the front, the next key plays, or passes, as the keyboard says.
#include "contract/HookContract.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

constexpr std::uint8_t CtrlScan = 0x1D;
const char* const PlainE = "WM_KEYDOWN vk=0x45 shift=0 ctrl=0 alt=0 lwin=0 rwin=0";
const char* const PlayedV = "WM_KEYDOWN vk=0x56 shift=0 ctrl=0 alt=0 lwin=0 rwin=0";
const char* const CtrlE = "WM_KEYDOWN vk=0x45 shift=0 ctrl=1 alt=0 lwin=0 rwin=0";

long Count(const Lines& lines, const char* line) { return std::count(lines.begin(), lines.end(), line); }

class StaleKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallProgram(dir);
        ASSERT_TRUE(target.start(dir));
        WriteBytes(dir.file("keycfg.ini"),
                   "'" + target.process.imagePath() + "\r\nname=KeyTarget\r\n325.send=86\r\n\r\n");  // Ctrl+E -> V
        WriteBytes(dir.file("property.ini"), "UseHotKey=no\r\nHotKeyCode=2061\r\nTimer=100\r\n");
        mainWindow = StartProgram(program, dir);
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(target.focus());
    }
    void TearDown() override
    {
        if (other != nullptr) DestroyWindow(other);
        ExitProgram(program, mainWindow);
    }

    // A report of Ctrl (left) that the key state does not back.
    void ReportCtrl(bool up)
    {
        std::uint32_t flags = (up ? KeyFlags::Up(CtrlScan) : KeyFlags::Down(CtrlScan)).word();
        COPYDATASTRUCT report = {0x11, sizeof flags, &flags};
        DWORD_PTR reply = 99;
        ASSERT_NE(SendMessageTimeoutA(mainWindow, HookContract::ReportMessage, 0, reinterpret_cast<LPARAM>(&report),
                                      SMTO_ABORTIFHUNG, 2000, &reply),
                  0);
        EXPECT_EQ(reply, static_cast<DWORD_PTR>(HookContract::KeyPassed));
    }

    // Another window to the front, then the target again, as a click elsewhere and back does.
    void SwitchWindowsAndBack()
    {
        if (other == nullptr)
            other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE | WS_BORDER, 40, 40, 200, 120, nullptr,
                                    nullptr, nullptr, nullptr);
        ASSERT_TRUE(ClickWindow(other));
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }, 3000));
        PumpFor(600);  // where the system does not announce it, the program looks a few times a second
        ASSERT_TRUE(target.focus());
        PumpFor(600);
    }

    TempDir dir;
    KeyTarget target;
    Process program;
    HWND mainWindow = nullptr;
    HWND other = nullptr;
};

TEST_F(StaleKeys, ACtrlReportedDownButNotHeld_NoLongerCountsOnceTheWindowInFrontChanges)
{
    ReportCtrl(false);
    // Stale: E alone plays the Ctrl+E action.
    Lines seen = target.type("key e", 3);
    EXPECT_EQ(Count(seen, PlayedV), 1) << Dump(seen);

    ReportCtrl(false);
    SwitchWindowsAndBack();
    seen = target.type("key e", 3);
    EXPECT_EQ(Count(seen, PlainE), 1) << Dump(seen);
    EXPECT_EQ(Count(seen, PlayedV), 0) << Dump(seen);
}

TEST_F(StaleKeys, ACtrlHeldButReportedUp_CountsAgainOnceTheWindowInFrontChanges)
{
    ASSERT_TRUE(Xdotool("keydown ctrl"));
    ReportCtrl(true);
    SwitchWindowsAndBack();
    const Lines seen = target.type("key e sleep 0.2 keyup ctrl", 6);
    EXPECT_EQ(Count(seen, PlayedV), 1) << Dump(seen);
    EXPECT_EQ(Count(seen, CtrlE), 0) << Dump(seen);
}

}  // namespace
