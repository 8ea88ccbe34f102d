// Time the engine takes to decide on one key-down, from the report to the reply, over
// tables of growing size. The system calls are stubs, so this is the engine's own work:
// the hotkey test, the look-ups of "global" and of the application, and playback.
#include "contract/HookContract.h"
#include "engine/KeyEngine.h"
#include "tests/engine/FakeModelSystem.h"
#include "tests/engine/StubKeySystem.h"
#include "tests/support/TestKeys.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int ActionsPerApp = 50;

// The application in front is the table's last entry.
class BenchKeySystem : public StubKeySystem {
public:
    std::string foregroundPath;

    unsigned mapVirtualKey(unsigned code, unsigned type) override
    {
        return type == MapScanToVkEx && code == 0x1D ? 0xA2 : 0x1D;  // left Ctrl
    }
    WindowId foregroundWindow() override { return 0x2000; }
    // The injected keys are never reported back here: a clock that runs fast lets the
    // engine drop them on the next report instead of keeping them for ever.
    std::uint32_t tickCount() override { return now += 2000; }
    std::uint32_t now = 0;
    std::string exePathOfWindow(WindowId) override { return foregroundPath; }
};

std::string AppPath(int index) { return "C:\\Program Files\\Vendor " + std::to_string(index) + "\\Application.exe"; }

// "global" and `apps` applications, each with inputs Ctrl+0x30.. and two outputs; global
// lacks the last input, so that key is found only in the application.
struct Bench {
    FakeModelSystem model;
    ShortcutTable table{model};
    Settings settings{model};
    BenchKeySystem system;
    KeyEngine engine{table, settings, system.keySystem()};

    explicit Bench(int apps)
    {
        settings.useHotKey = true;
        settings.hotKey.fromCode(Win | 0x0D);
        for (int app = -1; app < apps; ++app) {
            AppEntry entry(app < 0 ? "global" : AppPath(app), "app");
            for (int i = 0; i < ActionsPerApp - (app < 0 ? 1 : 0); ++i)
                entry.addAction(MakeAction("action", Ctrl | ('0' + i), {Alt | 'V', Alt | 'E'}));
            table.add(entry);
        }
        system.foregroundPath = AppPath(apps - 1);
        engine.SetHooks(true);
        Report(0x11, 0x1D);  // left Ctrl held for the whole run
    }
    bool Report(unsigned vk, unsigned scan)
    {
        const std::uint32_t flags = KeyFlags::Down(static_cast<std::uint8_t>(scan)).word();
        return engine.OnKeyEvent(KeyReport{vk, &flags, sizeof flags});
    }
};

// NoMatch: Ctrl+F12 is nowhere, so "global", the table and the application are searched to
// the end. LastApp: the last action of the last application, played (nine injected events).
// Global: the first action of "global", the shortest road to a match.
void BM_Dispatch(benchmark::State& state, unsigned vk, unsigned scan, bool plays)
{
    Bench bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (bench.Report(vk, scan) != plays) state.SkipWithError("the key did not take its road");
        bench.engine.Reenable();
    }
}

BENCHMARK_CAPTURE(BM_Dispatch, NoMatch, 0x7B, 0x58, false)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK_CAPTURE(BM_Dispatch, LastApp, 0x30 + ActionsPerApp - 1, 0x10, true)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK_CAPTURE(BM_Dispatch, Global, 0x30, 0x0B, true)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
