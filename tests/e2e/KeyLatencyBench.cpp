// KeyLatencyBench.exe [N]: what Varokinto adds to the time a key takes to arrive.
//
// The program injects N key presses to its own window and times each from keybd_event
// until the window receives the key: with Varokinto not running, running with no action
// for the key, and running with a one-key action (F played as G, so the time runs until
// G arrives). It starts varokint.exe itself, in a folder of its own, and ends it through
// its exit command. Prints p50 and p99 per case and their ratio to the first case.
#include "tests/e2e/E2ESupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace e2e;

namespace {

constexpr int DefaultPresses = 200;
constexpr BYTE PlainKey = 'H';
constexpr BYTE TriggerKey = 'F';
constexpr BYTE PlayedKey = 'G';
constexpr DWORD KeyTimeoutMs = 2000;

double Elapsed(LARGE_INTEGER from, LARGE_INTEGER to)
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&frequency);
    }
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Pumps the thread's messages until a WM_KEYDOWN or WM_KEYUP of vk arrives.
bool PumpUntilKey(UINT message, BYTE vk, LARGE_INTEGER& arrived)
{
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < KeyTimeoutMs) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const bool hit = msg.message == message && msg.wParam == vk;
            if (hit) {
                QueryPerformanceCounter(&arrived);
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (hit) {
                return true;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return false;
}

void DrainMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
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
        PumpUntilKey(WM_KEYUP, pressed == expected ? pressed : expected, ignored);
        if (got) {
            times.push_back(Elapsed(sent, arrived));
        } else if (times.empty() && i >= 3) {
            break;  // the keys do not arrive at all; do not wait out every press
        }
        // Let the pause that follows an action run out before the next press: the engine's
        // timer fires no sooner than the system's 10 ms timer minimum.
        Sleep(20);
        DrainMessages();
    }
    return times;
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())));
    return values[index];
}

struct Result {
    const char* name;
    std::vector<double> times;
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateBenchWindow()
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "VRKeyLatencyBench";
    RegisterClassExA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "KeyLatencyBench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500,
                                  100, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(window);
    return window;
}

} // namespace

int main(int argc, char** argv)
{
    const int presses = argc > 1 ? std::max(10, std::atoi(argv[1])) : DefaultPresses;
    HWND window = CreateBenchWindow();
    if (window == nullptr || !WaitUntil([&] { return GetForegroundWindow() == window; }, 3000)) {
        std::printf("KeyLatencyBench: could not bring its window to the front\n");
        return 1;
    }

    TempDir dir;
    InstallProgram(dir);
    char ownPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, ownPath, sizeof ownPath);
    WriteFileBytes(dir.file("keycfg.ini"), std::string("'global\r\nname=all\r\n\r\n'") + ownPath
                                               + "\r\nname=bench\r\n" + std::to_string(TriggerKey) + ".send="
                                               + std::to_string(PlayedKey) + "\r\n\r\n");
    // The shortest pause after an action, so presses can follow each other quickly.
    WriteFileBytes(dir.file("property.ini"), "UseHotKey=no\r\nHotKeyCode=0\r\nTimer=1\r\n");

    std::vector<Result> results;
    Measure(20, PlainKey, PlainKey);  // warm-up
    results.push_back({"Varokinto not running", Measure(presses, PlainKey, PlainKey)});

    Process program;
    HWND mainWindow = StartProgram(program, dir);
    if (mainWindow == nullptr) {
        std::printf("KeyLatencyBench: varokint.exe did not start\n");
        return 1;
    }
    SetForegroundWindow(window);
    Measure(20, PlainKey, PlainKey);
    results.push_back({"running, no matching action", Measure(presses, PlainKey, PlainKey)});
    results.push_back({"running, one-key action F->G", Measure(presses, TriggerKey, PlayedKey)});
    ExitProgram(program, mainWindow);
    DestroyWindow(window);

    const double baseP50 = Percentile(results[0].times, 0.50);
    const double baseP99 = Percentile(results[0].times, 0.99);
    std::printf("Key latency, keybd_event to WM_KEYDOWN in the same process (%d presses per case)\n", presses);
    std::printf("%-32s %8s %10s %10s %9s %9s\n", "case", "arrived", "p50 (us)", "p99 (us)", "p50 x", "p99 x");
    for (const Result& r : results) {
        const double p50 = Percentile(r.times, 0.50);
        const double p99 = Percentile(r.times, 0.99);
        std::printf("%-32s %8zu %10.0f %10.0f %9.2f %9.2f\n", r.name, r.times.size(), p50, p99,
                    baseP50 > 0 ? p50 / baseP50 : 0, baseP99 > 0 ? p99 / baseP99 : 0);
    }
    return 0;
}
