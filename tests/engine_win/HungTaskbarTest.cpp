// A taskbar that does not answer: the Start-menu item of an action waits a bounded time for
// it and the action completes, well within the hook library's wait for our reply.
#include "contract/HookContract.h"
#include "engine/KeyEngine.h"
#include "engine/win32/Win32KeySystem.h"
#include "tests/engine/FakeModelSystem.h"
#include "tests/engine/StubKeySystem.h"
#include "tests/support/TestKeys.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr int F24 = 0x87;

// A stand-in Shell_TrayWnd on a thread that stops reading its messages once the window
// exists, for holdMs, as a hung Explorer does.
class HungTaskbar {
public:
    explicit HungTaskbar(DWORD holdMs = 1500)
    {
        thread_ = std::thread([this, holdMs] {
            HWND window =
                CreateWindowExA(0, "STATIC", "taskbar", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
            window_ = window;
            Sleep(holdMs);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            DestroyWindow(window);
        });
        while (window_ == nullptr) Sleep(5);
    }
    ~HungTaskbar() { thread_.join(); }
    HWND window() const { return window_; }

private:
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

// The real system calls, with the stand-in as the taskbar.
class StandInTaskbarSystem : public Win32KeySystem {
public:
    explicit StandInTaskbarSystem(HWND taskbar) : taskbar_(taskbar) {}
    void openStartMenu() override { OpenStartMenuOf(taskbar_); }

private:
    HWND taskbar_;
};

TEST(HungTaskbar, TheSendGivesUpWithinItsLimit)
{
    HungTaskbar taskbar;
    const DWORD start = GetTickCount();
    EXPECT_FALSE(Win32KeySystem::OpenStartMenuOf(taskbar.window()));
    EXPECT_LT(GetTickCount() - start, 1200u);
    EXPECT_FALSE(Win32KeySystem::OpenStartMenuOf(nullptr));  // no taskbar: nothing to wait for
}

TEST(HungTaskbar, AStartMenuActionCompletesAndItsKeyIsSwallowed)
{
    HungTaskbar taskbar;
    FakeModelSystem model;
    ShortcutTable table(model);
    Settings settings(model);
    AppEntry global("global", "all");
    global.addAction(MakeAction("start menu", F24, {Win}));
    table.add(global);
    // Hooks that are only pretended: no library goes into other processes.
    StandInTaskbarSystem system(taskbar.window());
    StubHooks hooks;
    StubShell shell;
    KeyEngine engine(table, settings, {system, hooks, system, shell});
    ASSERT_TRUE(engine.SetHooks(true));

    const std::uint32_t flags = KeyFlags::Down(0x76).word();
    const DWORD start = GetTickCount();
    EXPECT_TRUE(engine.OnKeyEvent(KeyReport{F24, &flags, sizeof flags}));  // played and swallowed
    EXPECT_LT(GetTickCount() - start, 1200u);
    engine.SetHooks(false);
}

}  // namespace
