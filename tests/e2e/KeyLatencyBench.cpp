// KeyLatencyBench.exe [N]: what Varokinto adds to the time a key takes to arrive.
//
// The program injects N key presses to its own window and times each from keybd_event
// until the window receives the key: with Varokinto not running, running with no action
// for the key, and running with a one-key action (F played as G, so the time runs until
// G arrives); between the first two, with MinimalHost.exe in Varokinto's place: the hook
// library's report and a reply of 0 at once, the cost of the cross-process report alone;
// the running cases once more with the library built without its checks of who receives
// the reports, to show what those checks cost; and once more with a thousand windows of the
// main window's class and title made by another program after Varokinto started. It starts
// the programs itself, in a folder of their own, and ends them through their exit command.
// Prints p50 and p99 per case and their ratio to the first case, then what the library's
// own work costs per key, and what finding Varokinto costs a library loaded afresh.
//
// It acts as Varokinto for the library in its own process, so it runs as a copy named
// varokint.exe (tests/support/StandInWindow.h).
#include "contract/HookContract.h"
#include "tests/support/StandInWindow.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ProgramDriver.h"
#include "win32/Handles.h"
#include "win32/ProgramIdentity.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace wt;

namespace {

constexpr BYTE PlainKey = 'H', TriggerKey = 'F', PlayedKey = 'G';
constexpr DWORD KeyTimeoutMs = 2000;

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Pumps the thread's messages until that key message of vk arrives; false after the timeout.
bool PumpUntilKey(UINT message, BYTE vk, LARGE_INTEGER& arrived)
{
    bool hit = false;
    const DWORD start = GetTickCount();
    while (!hit && GetTickCount() - start < KeyTimeoutMs) {
        MSG msg;
        while (!hit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            hit = msg.message == message && msg.wParam == vk;
            if (hit) QueryPerformanceCounter(&arrived);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!hit) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return hit;
}

// Microseconds from each press to the arrival of the expected key.
std::vector<double> Measure(int presses, BYTE pressed, BYTE expected)
{
    std::vector<double> times;
    for (int i = 0; i < presses; ++i) {
        LARGE_INTEGER sent, arrived;
        QueryPerformanceCounter(&sent);
        keybd_event(pressed, 0, 0, 0);
        const bool got = PumpUntilKey(WM_KEYDOWN, expected, arrived);
        keybd_event(pressed, 0, KEYEVENTF_KEYUP, 0);
        LARGE_INTEGER ignored;
        PumpUntilKey(WM_KEYUP, expected, ignored);
        if (got) times.push_back(Microseconds(sent, arrived));
        if (!got && times.empty() && i >= 3) break;  // the keys do not arrive at all
        // Let the pause that follows an action run out: the engine's timer fires no sooner
        // than the system's 10 ms timer minimum.
        PumpFor(20);
    }
    return times;
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())))];
}

using KeyProc = LRESULT(CALLBACK*)(int, WPARAM, LPARAM);

KeyProc KeyProcOf(HMODULE module)
{
    return reinterpret_cast<KeyProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, HookContract::KeyboardProcName)));
}

double CallMicroseconds(KeyProc procedure)
{
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    procedure(HC_ACTION, PlainKey, static_cast<LPARAM>(KeyFlags::Down(0x23).word()));
    QueryPerformanceCounter(&after);
    return Microseconds(before, after);
}

// The library's own work for one key, called directly in this process as a hooked
// application calls it: finding and checking the main window (here a window of this very
// thread, so the report itself is a plain call) and the pass down the chain. p50 in us.
double LibraryCallMicroseconds(const std::string& library, int calls)
{
    const HMODULE module = LoadLibraryA(library.c_str());
    const KeyProc procedure = KeyProcOf(module);
    if (procedure == nullptr) return 0;
    std::vector<double> times;
    for (int i = 0; i < calls; ++i) times.push_back(CallMicroseconds(procedure));
    FreeLibrary(module);
    return Percentile(times, 0.50);
}

// A library loaded afresh, as in an application started now, called key after key until
// its first report reaches the stand-in: the keys that took, the first key's time and the
// longest key's. Keys 0 when it found nothing within maxKeys.
struct Finding {
    int keys = 0;
    double firstUs = 0, longestUs = 0;
};
Finding FindStandIn(const std::string& library, const StandInMainWindow& window, int maxKeys)
{
    Finding found;
    const HMODULE module = LoadLibraryA(library.c_str());
    const KeyProc procedure = KeyProcOf(module);
    const size_t before = window.reports.size();
    for (int key = 1; procedure != nullptr && key <= maxKeys && window.reports.size() == before; ++key) {
        const double took = CallMicroseconds(procedure);
        if (key == 1) found.firstUs = took;
        found.longestUs = std::max(found.longestUs, took);
        found.keys = key;
    }
    if (window.reports.size() == before) found.keys = 0;
    FreeLibrary(module);
    return found;
}

}  // namespace

int main(int argc, char** argv)
{
    const int copyExit = RunAsVarokinto(argc, argv);
    if (copyExit >= 0) return copyExit;
    const int presses = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    HWND window = CreateWindowExA(0, "STATIC", "KeyLatencyBench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    if (window == nullptr || !PumpUntil([&] { return GetForegroundWindow() == window; }, 3000)) {
        std::printf("KeyLatencyBench: could not bring its window to the front\n");
        return 1;
    }
    // The program twice: with the library as it ships, and with the same library built without
    // its checks of who receives the reports (the only difference between the two folders).
    TempDir checkedDir, trustingDir, hostDir;
    for (const TempDir* dir : {&checkedDir, &trustingDir}) {
        InstallProgram(*dir);
        WriteBytes(dir->file("keycfg.ini"), "'global\r\nname=all\r\n\r\n'" + OwnExePath() + "\r\nname=bench\r\n" +
                                                std::to_string(TriggerKey) + ".send=" + std::to_string(PlayedKey) +
                                                "\r\n\r\n");
        // The shortest pause after an action, so presses can follow each other quickly.
        WriteBytes(dir->file("property.ini"), "UseHotKey=no\r\nHotKeyCode=0\r\nTimer=1\r\n");
    }
    if (!CopyFileA(WinePath(VR_TRUSTING_HOOK_DLL).c_str(), trustingDir.file("varokint.dll").c_str(), FALSE)) {
        std::printf("KeyLatencyBench: no library without checks at %s\n", VR_TRUSTING_HOOK_DLL);
        return 1;
    }

    std::vector<std::pair<const char*, std::vector<double>>> results;
    Measure(20, PlainKey, PlainKey);  // warm-up
    results.emplace_back("Varokinto not running", Measure(presses, PlainKey, PlainKey));
    {
        // Copied as varokint.exe beside the library, so that the library reports to it; no log.
        HostProgram host;
        if (!host.start(hostDir, "varokint.exe", "--log \"\"")) {
            std::printf("KeyLatencyBench: MinimalHost.exe did not start\n");
            return 1;
        }
        SetForegroundWindow(window);
        Measure(20, PlainKey, PlainKey);
        results.emplace_back("minimal host (report, reply 0)", Measure(presses, PlainKey, PlainKey));
    }
    const struct {
        const TempDir* dir;
        const char* plain;
        const char* action;
    } programs[] = {
        {&trustingDir, "no checks: no matching action", "no checks: action F->G"},
        {&checkedDir, "running, no matching action", "running, one-key action F->G"},
    };
    for (const auto& run : programs) {
        results.emplace_back(run.plain, std::vector<double>{});
        results.emplace_back(run.action, std::vector<double>{});
    }
    constexpr size_t FloodRows = 6;
    results.emplace_back("1,000 look-alikes, no action", std::vector<double>{});
    results.emplace_back("1,000 look-alikes, action F->G", std::vector<double>{});
    // What the windows cost Wine itself, with no hook in: the yardstick for the two rows above.
    results.emplace_back("1,000 look-alikes, not running", std::vector<double>{});
    // The two take turns, a share of the presses each time, so that a change in the load of
    // the machine falls on both alike.
    constexpr int Rounds = 8;
    for (int round = 0; round < Rounds; ++round) {
        for (size_t i = 0; i < 2; ++i) {
            Process program;
            HWND mainWindow = StartProgram(program, *programs[i].dir);
            if (mainWindow == nullptr) {
                std::printf("KeyLatencyBench: varokint.exe did not start\n");
                return 1;
            }
            SetForegroundWindow(window);
            Measure(10, PlainKey, PlainKey);
            for (size_t row = 2 + 2 * i, kind = 0; kind < 2; ++row, ++kind) {
                const std::vector<double> times = kind == 0 ? Measure(presses / Rounds, PlainKey, PlainKey)
                                                            : Measure(presses / Rounds, TriggerKey, PlayedKey);
                results[row].second.insert(results[row].second.end(), times.begin(), times.end());
            }
            ExitProgram(program, mainWindow);
        }
    }
    // The shipped program again, with a thousand windows of its main window's class and title
    // made by another program after it started, above its own in the z-order. Fewer rounds:
    // making the windows takes Wine seconds.
    constexpr int FloodRounds = Rounds / 2;
    for (int round = 0; round < FloodRounds; ++round) {
        Process program;
        HWND mainWindow = StartProgram(program, checkedDir);
        HostProgram flood;
        if (mainWindow == nullptr || !flood.start(hostDir, "flood.exe", "--no-hooks --flood 1000 --log \"\"", false)) {
            std::printf("KeyLatencyBench: varokint.exe or the flood did not start\n");
            return 1;
        }
        SetForegroundWindow(window);
        Measure(10, PlainKey, PlainKey);
        for (size_t row = FloodRows, kind = 0; kind < 2; ++row, ++kind) {
            const std::vector<double> times = kind == 0 ? Measure(presses / FloodRounds, PlainKey, PlainKey)
                                                        : Measure(presses / FloodRounds, TriggerKey, PlayedKey);
            results[row].second.insert(results[row].second.end(), times.begin(), times.end());
        }
        ExitProgram(program, mainWindow);
        const std::vector<double> times = Measure(presses / FloodRounds, PlainKey, PlainKey);
        results[FloodRows + 2].second.insert(results[FloodRows + 2].second.end(), times.begin(), times.end());
    }
    {
        // The cross-process report alone with the windows above its receiver: what is left of
        // the rows above once Varokinto's own work is taken out.
        HostProgram host, flood;
        if (!host.start(hostDir, "varokint.exe", "--log \"\"") ||
            !flood.start(hostDir, "flood.exe", "--no-hooks --flood 1000 --log \"\"", false)) {
            std::printf("KeyLatencyBench: MinimalHost.exe or the flood did not start\n");
            return 1;
        }
        SetForegroundWindow(window);
        Measure(20, PlainKey, PlainKey);
        results.emplace_back("1,000 look-alikes, minimal host", Measure(presses, PlainKey, PlainKey));
    }
    DestroyWindow(window);

    // This program acts as Varokinto for the library beside it (it runs as varokint.exe there),
    // with a main window of its own that it publishes as the program does.
    const std::string own = OwnExePath();
    const std::string checked = own.substr(0, own.find_last_of('\\')) + "\\varokint.dll";
    double checkedCall = 0, trustingCall = 0, floodedCall = 0;
    Finding published, searched;
    {
        StandInMainWindow mainWindowHere;
        ProgramIdentity program;
        IdentifyProgram(GetModuleHandleA(nullptr), program);
        OwnedHandle publication(PublishMainWindow(program, mainWindowHere.handle()));
        for (int round = 0; round < 4; ++round) {
            checkedCall += LibraryCallMicroseconds(checked, 2000) / 4;
            trustingCall += LibraryCallMicroseconds(WinePath(VR_TRUSTING_HOOK_DLL), 2000) / 4;
        }
        HostProgram flood;
        if (flood.start(hostDir, "flood.exe", "--no-hooks --flood 1000 --log \"\"", false)) {
            floodedCall = LibraryCallMicroseconds(checked, 2000);
            std::vector<double> firsts;
            for (int trial = 0; trial < 5; ++trial) {
                published = FindStandIn(checked, mainWindowHere, 2000);
                firsts.push_back(published.firstUs);
            }
            published.firstUs = Percentile(firsts, 0.5);
            publication.reset();  // as when another program took the name first
            searched = FindStandIn(checked, mainWindowHere, 5000);
        }
    }
    const double baseP50 = Percentile(results[0].second, 0.50), baseP99 = Percentile(results[0].second, 0.99);
    std::printf("Key latency, keybd_event to WM_KEYDOWN in the same process (%d presses per case)\n", presses);
    std::printf("%-32s %8s %10s %10s %9s %9s\n", "case", "arrived", "p50 (us)", "p99 (us)", "p50 x", "p99 x");
    for (const auto& [name, times] : results) {
        const double p50 = Percentile(times, 0.50), p99 = Percentile(times, 0.99);
        std::printf("%-32s %8zu %10.0f %10.0f %9.2f %9.2f\n", name, times.size(), p50, p99,
                    baseP50 > 0 ? p50 / baseP50 : 0, baseP99 > 0 ? p99 / baseP99 : 0);
    }
    std::printf("library call per key (in process, p50): %.1f us with the checks, %.1f us without (FindWindowA), "
                "%.1f us with the checks and 1,000 look-alike windows above the main window\n",
                checkedCall, trustingCall, floodedCall);
    std::printf("a library loaded afresh, 1,000 look-alike windows above the main window: found at key %d, "
                "first key %.0f us (p50 of 5), through the published window\n",
                published.keys, published.firstUs);
    std::printf("  without the published window (its name taken first): found at key %d, longest key %.0f us\n",
                searched.keys, searched.longestUs);
    // Rows 2 and 3 without the checks, 4 and 5 with them.
    for (int row : {2, 3}) {
        const double without = Percentile(results[row].second, 0.50);
        const double with = Percentile(results[row + 2].second, 0.50);
        std::printf("checks of the receiver, %s: p50 %+.1f%%\n", row == 2 ? "no matching action" : "one-key action",
                    without > 0 ? (with / without - 1) * 100 : 0);
    }
    for (size_t row : {size_t{4}, size_t{5}}) {
        const double without = Percentile(results[row].second, 0.50);
        const double with = Percentile(results[row + 2].second, 0.50);
        std::printf("1,000 look-alike windows, %s: p50 %+.1f%% (%+.0f us)\n",
                    row == 4 ? "no matching action" : "one-key action", without > 0 ? (with / without - 1) * 100 : 0,
                    with - without);
    }
    const double hostP50 = Percentile(results[1].second, 0.50), floodedHost = Percentile(results.back().second, 0.50);
    std::printf("1,000 look-alike windows, minimal host (the report itself): p50 %+.1f%% (%+.0f us)\n",
                hostP50 > 0 ? (floodedHost / hostP50 - 1) * 100 : 0, floodedHost - hostP50);
    const double flooded = Percentile(results[FloodRows + 2].second, 0.50);
    std::printf("1,000 look-alike windows, Varokinto not running (Wine's own share): p50 %+.1f%% (%+.0f us)\n",
                baseP50 > 0 ? (flooded / baseP50 - 1) * 100 : 0, flooded - baseP50);
    return 0;
}
