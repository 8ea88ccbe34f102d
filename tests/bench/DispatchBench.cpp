// Time the engine takes to decide on one key-down, from the report to the reply, over
// tables of growing size. The system calls are stubs, so this is the engine's own work:
// the hotkey test, the look-ups of "global" and of the application, and playback.
#include "engine/KeyEngine.h"
#include "tests/engine/FakeModelSystem.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int ActionsPerApp = 50;
constexpr WindowId ForegroundWindow = 0x2000;

// Does nothing and answers at once; the foreground application is the table's last entry.
class StubKeySystem : public KeySystem {
public:
    std::string foregroundPath;
    int injected = 0;
    int pathLookups = 0;

    void keybdEvent(std::uint8_t, std::uint8_t, std::uint32_t) override { ++injected; }
    unsigned mapVirtualKey(unsigned code, unsigned mapType) override
    {
        return mapType == MapScanToVkEx && code == 0x1D ? 0xA2 : 0x1D;
    }
    std::string loadKeyName(unsigned) override { return {}; }
    WindowId findWindow(const char*, const char*) override { return 0; }
    std::intptr_t sendMessage(WindowId, unsigned, std::uintptr_t, std::intptr_t) override { return 0; }
    bool postMessage(WindowId, unsigned, std::uintptr_t, std::intptr_t) override { return true; }
    bool setTimer(WindowId, unsigned, unsigned) override { return true; }
    bool isKeyDown(std::uint8_t) override { return true; }
    WindowId foregroundWindow() override { return ForegroundWindow; }
    std::string exePathOfWindow(WindowId) override
    {
        ++pathLookups;
        return foregroundPath;
    }
    ModuleId loadLibrary(const char*) override { return 0; }
    ProcId findProc(ModuleId, const char*) override { return 0; }
    HookId setHook(int, ProcId, ModuleId) override { return 0; }
    bool unhook(HookId) override { return true; }
    void showMessage(const std::string&, const std::string&) override {}
};

std::string AppPath(int index)
{
    return "C:\\Program Files\\Vendor " + std::to_string(index) + "\\Application.exe";
}

// "global" and `apps` applications, each with inputs Ctrl+0x30.. and two outputs.
void FillTable(ShortcutTable& table, int apps)
{
    for (int app = -1; app < apps; ++app) {
        AppEntry entry(app < 0 ? "global" : AppPath(app), "app");
        for (int i = 0; i < ActionsPerApp; ++i) {
            Action action("action");
            action.setInput(KeyStroke::ofCode(0x100 | (0x30 + i)));
            action.insertOutput(KeyStroke::ofCode(0x200 | 0x56), 0);
            action.insertOutput(KeyStroke::ofCode(0x200 | 0x45), 1);
            entry.addAction(action);
        }
        table.add(entry);
    }
}

struct Bench {
    FakeModelSystem model;
    ShortcutTable table{model};
    Settings settings{model};
    StubKeySystem system;
    KeyEngine engine{table, settings, 0x100, system};

    explicit Bench(int apps)
    {
        settings.useHotKey = true;
        settings.hotKey.fromCode(2061);
        FillTable(table, apps);
        // Global's inputs are taken away so a match is found only in the application.
        table.at(0)->removeAction(ActionsPerApp - 1);
        system.foregroundPath = AppPath(apps - 1);
        Report(0x11, 0x1D);  // left Ctrl held for the whole run
    }
    bool Report(unsigned vk, unsigned scan)
    {
        const std::uint32_t flags = 1 | (scan << 16);
        return engine.OnKeyEvent(KeyReport{vk, &flags, sizeof flags});
    }
};

// Ctrl+F12: no action anywhere; "global", the table and the application's actions are
// all searched to the end.
void BM_DispatchNoMatch(benchmark::State& state)
{
    Bench bench(static_cast<int>(state.range(0)));
    bool played = false;
    for (auto _ : state)
        played |= bench.Report(0x7B, 0x58);
    if (played || bench.system.pathLookups == 0)
        state.SkipWithError("the key did not take the whole road");
}

// Ctrl+0x61, the last action of the last application: found after the full scan of the
// table, then played (nine injected events).
void BM_DispatchMatchLastApp(benchmark::State& state)
{
    Bench bench(static_cast<int>(state.range(0)));
    const unsigned vk = 0x30 + ActionsPerApp - 1;
    for (auto _ : state) {
        if (!bench.Report(vk, 0x10))
            state.SkipWithError("the action did not play");
        bench.engine.Reenable();
    }
}

// Ctrl+0 (the first action of "global"): the shortest road to a match.
void BM_DispatchMatchGlobal(benchmark::State& state)
{
    Bench bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!bench.Report(0x30, 0x0B))
            state.SkipWithError("the action did not play");
        bench.engine.Reenable();
    }
}

BENCHMARK(BM_DispatchNoMatch)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_DispatchMatchLastApp)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_DispatchMatchGlobal)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
