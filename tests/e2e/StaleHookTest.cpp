// Under Wine the keyboard hook of a killed copy of the program stays in the chain until the
// session ends, and reaches the hook library again through CallNextHookEx. After such kills
// each key event must still be reported once, and each action played once.
//
// Runs in a Wine session of its own (see CMakeLists.txt): the hooks it leaves behind must
// not reach the tests that come after it.
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

// One report: the key and whether it was a key-up, as "A down", "F up".
using Reports = std::vector<std::string>;

// Stands in for the program: its window class and title, the hooks of an installed
// varokint.dll set as the program sets them, and a record of every report; key-downs of
// swallowVk are answered 1 (consumed).
class ReportSpy {
public:
    ReportSpy(const TempDir& dir, UINT swallow) : swallowVk(swallow)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.lpszClassName = "VRClass";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "VRClass", "Varokinto", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  this);
        library_ = LoadLibraryA(dir.file("varokint.dll").c_str());
        if (library_ == nullptr) return;
        auto procedure = [&](const char* name) { return reinterpret_cast<HOOKPROC>(GetProcAddress(library_, name)); };
        keyboardHook_ = SetWindowsHookExA(WH_KEYBOARD, procedure("VRKeyboardProc"), library_, 0);
        messageHook_ = SetWindowsHookExA(WH_GETMESSAGE, procedure("VRMsgProc"), library_, 0);
    }
    ~ReportSpy()
    {
        if (keyboardHook_ != nullptr) UnhookWindowsHookEx(keyboardHook_);
        if (messageHook_ != nullptr) UnhookWindowsHookEx(messageHook_);
        DestroyWindow(window_);
        UnregisterClassA("VRClass", nullptr);
    }
    bool hooked() const { return window_ != nullptr && keyboardHook_ != nullptr && messageHook_ != nullptr; }

    Reports reports;
    UINT swallowVk;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<ReportSpy*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_COPYDATA && self != nullptr) {
            const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            std::uint32_t flags = 0;
            if (data.lpData != nullptr && data.cbData >= sizeof flags) std::memcpy(&flags, data.lpData, sizeof flags);
            const bool up = (flags & 0x80000000u) != 0;
            self->reports.push_back(std::string(1, static_cast<char>(data.dwData)) + (up ? " up" : " down"));
            return !up && data.dwData == self->swallowVk ? 1 : 0;
        }
        if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    HMODULE library_ = nullptr;
    HHOOK keyboardHook_ = nullptr;
    HHOOK messageHook_ = nullptr;
};

long Count(const Lines& lines, const char* prefix)
{
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

// Starts the program in the folder and kills it once its hooks are in, as kill -9 would.
void StartAndKill(const TempDir& dir)
{
    Process program;
    ASSERT_NE(StartProgram(program, dir), nullptr);
    ASSERT_TRUE(TerminateProcess(program.handle(), 9));
    DWORD exitCode = 0;
    ASSERT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
    ASSERT_EQ(FindWindowA("VRClass", "Varokinto"), nullptr);
}

TEST(StaleHooks, AfterKilledCopies_EachKeyIsReportedOnceAndEachActionPlaysOnce)
{
    // The second killed copy runs from another folder: its library is then a module of its
    // own in every hooked process, not the same one reached twice.
    TempDir first, second;
    InstallProgram(first);
    InstallProgram(second);
    KeyTarget target;
    ASSERT_TRUE(target.start(first));

    struct Case {
        const char* keys;
        Reports reports;
        Lines arrived;
    };
    const Case cases[] = {
        {"key a", {"A down", "A up"},
         {"WM_KEYDOWN vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0", "WM_CHAR vk=0x61 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
          "WM_KEYUP vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0"}},
        // consumed: only its release reaches the target
        {"key f", {"F down", "F up"}, {"WM_KEYUP vk=0x46 shift=0 ctrl=0 alt=0 lwin=0 rwin=0"}},
    };
    const TempDir* killedFrom[] = {nullptr, &first, &second};
    for (int kills = 0; kills < 3; ++kills) {
        if (killedFrom[kills] != nullptr) StartAndKill(*killedFrom[kills]);
        ReportSpy spy(first, 'F');
        ASSERT_TRUE(spy.hooked());
        ASSERT_TRUE(target.focus());
        PumpFor(200);
        for (const Case& c : cases) {
            spy.reports.clear();
            const Lines seen = target.type(c.keys, c.arrived.size());
            std::printf("[ stale    ] %d killed: %s gave %zu reports\n", kills, c.keys, spy.reports.size());
            EXPECT_EQ(spy.reports, c.reports) << kills << " killed, " << c.keys << Dump(spy.reports);
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
