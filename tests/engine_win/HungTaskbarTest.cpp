// A taskbar that does not answer: the Start-menu item of an action waits a bounded time for
// it and the action completes, well within the hook library's wait for our reply.
#include "engine/KeyEngine.h"
#include "contract/HookContract.h"
#include "engine/win32/Win32KeySystem.h"
#include "tests/engine/FakeModelSystem.h"
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
            HWND window = CreateWindowExA(0, "STATIC", "taskbar", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                          nullptr);
            window_ = window;
            Sleep(holdMs);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            DestroyWindow(window);
        });
        while (window_ == nullptr)
            Sleep(5);
    }
    ~HungTaskbar() { thread_.join(); }
    HWND window() const { return window_; }

private:
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

// The real system calls, with the stand-in found as the taskbar and hooks that are only
// pretended (no library goes into other processes).
class StandInTaskbarSystem : public Win32KeySystem {
public:
    StandInTaskbarSystem(HWND taskbar) : Win32KeySystem(GetModuleHandleA(nullptr)), taskbar_(taskbar) {}
    WindowId findWindow(const char* className, const char* title) override
    {
        return std::string(className) == "Shell_TrayWnd" ? ToWindowId(taskbar_) : Win32KeySystem::findWindow(className, title);
    }
    ModuleId loadLibrary(const char*) override { return 1; }
    ProcId findProc(ModuleId, const char*) override { return 1; }
    HookId setHook(int, ProcId, ModuleId) override { return 1; }
    bool unhook(HookId) override { return true; }

private:
    HWND taskbar_;
};

TEST(HungTaskbar, TheSendGivesUpWithinItsLimit)
{
    HungTaskbar taskbar;
    Win32KeySystem system(GetModuleHandleA(nullptr));
    const DWORD start = GetTickCount();
    EXPECT_FALSE(system.sendMessageTimeout(Win32KeySystem::ToWindowId(taskbar.window()), KeyEngine::TaskbarMessage, 0,
                                           0, KeyEngine::TaskbarTimeoutMs));
    EXPECT_LT(GetTickCount() - start, 1200u);
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
    // The main window: the pause's timer goes to it.
    HWND ours = CreateWindowExA(0, "STATIC", "ours", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    StandInTaskbarSystem system(taskbar.window());
    KeyEngine engine(table, settings, Win32KeySystem::ToWindowId(ours), system);
    ASSERT_TRUE(engine.SetHooks(true));

    const std::uint32_t flags = KeyFlags::Down(0x76).word();
    const DWORD start = GetTickCount();
    EXPECT_TRUE(engine.OnKeyEvent(KeyReport{F24, &flags, sizeof flags}));  // played and swallowed
    EXPECT_LT(GetTickCount() - start, 1200u);
    engine.SetHooks(false);
    KillTimer(ours, IDT_REENABLE);
    DestroyWindow(ours);
}

}  // namespace
