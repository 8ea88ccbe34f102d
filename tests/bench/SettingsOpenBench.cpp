// SettingsOpenBench.exe [APPS...]: how long the program stops answering while the shortcut
// settings window opens and closes, with a generated keycfg.ini of APPS applications each
// (10000 and 100000 by default).
//
// For every size it installs the real program in a folder of its own with the table and a
// KeyTarget beside it, and opens the window by the tray menu and by Win+Enter on the target
// (whose program is not registered, so that the window adds it), closing it once with Esc
// and once with 閉じる (OK). A thread of its own sends WM_NULL to the main window the whole
// time; the longest wait for an answer in each step is the time the program did not answer.
#include "tests/support/ProgramDriver.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace wt;

namespace {

constexpr UINT IdmShortcutSettings = 40002;
constexpr char SettingsTitle[] = "ショートカット設定";

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The longest time one WM_NULL waited for an answer since the last take().
class Pinger {
public:
    explicit Pinger(HWND window) : window_(window), thread_([this] { run(); }) {}
    ~Pinger()
    {
        stop_ = true;
        thread_.join();
    }
    double take() { return longest_.exchange(0); }

private:
    void run()
    {
        while (!stop_) {
            const double start = Now();
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
            const double waited = Now() - start;
            double seen = longest_.load();
            while (waited > seen && !longest_.compare_exchange_weak(seen, waited)) {
            }
            Sleep(1);
        }
    }
    HWND window_;
    std::atomic<bool> stop_{false};
    std::atomic<double> longest_{0};
    std::thread thread_;
};

std::string Table(int apps)
{
    std::string file = "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n2115.send=2048,83,67\r\n\r\n";
    file.reserve(static_cast<size_t>(apps) * 64);
    char entry[160];
    for (int i = 0; i < apps; ++i) {
        // Names out of order, so that the list has sorting to do.
        const int n = static_cast<int>((static_cast<long long>(i) * 7919) % apps);
        std::snprintf(entry, sizeof entry, "'C:\\Apps\\tool%06d.exe\r\nname=Tool %06d\r\n337.send=65\r\n\r\n", i, n);
        file += entry;
    }
    return file;
}

struct Figures {
    double open = 0, closeEsc = 0, closeOk = 0;  // longest unanswered, ms
};

class Bench {
public:
    Bench(Process& program, HWND mainWindow, KeyTarget& target) : program_(program), main_(mainWindow), target_(target)
    {}

    // Opens the window by the tray menu or by Win+Enter, closes it with Esc or OK; the
    // longest waits of the opening and of the closing.
    bool Run(bool hotkey, bool esc, double& open, double& close)
    {
        Pinger pinger(main_);
        if (hotkey) {
            if (!target_.focus()) return false;
            pinger.take();
            if (!Xdotool("key super+Return", 60000)) return false;
        } else {
            if (!ClickTrayIcon() || !PumpUntil([] { return FindTopWindow(0, "#32768", nullptr, true) != nullptr; }))
                return false;
            pinger.take();
            if (!Xdotool("key s", 60000)) return false;
        }
        HWND settings = nullptr;
        if (!PumpUntil(
                [&] { return (settings = FindTopWindow(program_.id(), "#32770", SettingsTitle, true)) != nullptr; },
                60000))
            return false;
        PumpFor(300);
        open = pinger.take();
        if (esc) {
            if (!PumpUntil([&] { return GetForegroundWindow() == settings; }, 5000) || !Xdotool("key Escape", 60000))
                return false;
        } else {
            PostMessageA(settings, WM_COMMAND, IDOK, 0);
        }
        if (!PumpUntil([&] { return !IsWindow(settings); }, 60000)) return false;
        PumpFor(300);
        close = pinger.take();
        return true;
    }

private:
    Process& program_;
    HWND main_;
    KeyTarget& target_;
};

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 100000};
    int failures = 0;
    std::printf("%-10s %-22s %10s %10s\n", "apps", "opened by, closed by", "open ms", "close ms");
    for (const int apps : sizes) {
        TempDir dir;
        InstallProgram(dir);
        WriteBytes(dir.file("keycfg.ini"), Table(apps));
        WriteBytes(dir.file("property.ini"), "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n");
        KeyTarget target;
        Process program;
        HWND mainWindow = nullptr;
        if (!target.start(dir) || (mainWindow = StartProgram(program, dir)) == nullptr) {
            std::printf("%-10d could not start the program\n", apps);
            ++failures;
            continue;
        }
        Bench bench(program, mainWindow, target);
        struct Step {
            bool hotkey, esc;
            const char* what;
        };
        for (const Step& step : {Step{false, false, "tray, OK"}, Step{false, true, "tray, Esc"},
                                 Step{true, false, "Win+Enter, OK"}, Step{true, true, "Win+Enter, Esc"}}) {
            double open = 0, close = 0;
            if (bench.Run(step.hotkey, step.esc, open, close)) {
                std::printf("%-10d %-22s %10.0f %10.0f\n", apps, step.what, open, close);
            } else {
                std::printf("%-10d %-22s failed\n", apps, step.what);
                ++failures;
            }
            std::fflush(stdout);
        }
        ExitProgram(program, mainWindow);
    }
    std::printf("(longest time the main window did not answer while the window opened, and while it closed)\n");
    return failures == 0 ? 0 : 1;
}
