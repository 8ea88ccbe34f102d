// SoakDriver.exe [PRESSES]: many presses of one action of `global` (Ctrl+Q played as A, B),
// injected with SendInput from this process into KeyTarget while varokint.exe runs. Each
// press goes in once the target has logged what the press before it brought. Ends with one
// line (progress goes to stderr):
//   soak: S sent, D delivered, L leaked, K stuck, RSS A -> B kB
// sent: presses injected; delivered: presses for which the target got exactly A down, A up,
// B down, B up, with no modifier; leaked: presses whose Q key-down reached the target;
// stuck: modifier keys (each side of Shift, Ctrl, Alt, Win) down once it is over; RSS:
// varokint.exe's resident set before the first press and after the last.
// Exits with 0 only when every press was delivered and nothing leaked or stuck.
#include "tests/support/ProgramDriver.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

const Lines Outputs = {
    "WM_KEYDOWN vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    "WM_KEYUP vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    "WM_KEYDOWN vk=0x42 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    "WM_KEYUP vk=0x42 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
};
const char* const CtrlUp = "WM_KEYUP vk=0x11 shift=0 ctrl=0 alt=0 lwin=0 rwin=0";
constexpr DWORD PressTimeoutMs = 2000;
// The engine swallows presses for `Timer` ms after an action (1 ms here); its timer fires
// no sooner than the system's 10 ms timer minimum.
constexpr DWORD GapMs = 20;
constexpr int SideModifiers[] = {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN};

// A key as a keyboard sends it: the left-hand scan code for Ctrl. True when it went in.
bool Send(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk == VK_CONTROL ? VK_LCONTROL : vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return SendInput(1, &input, sizeof input) == 1;
}

unsigned long ResidentKb(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize / 1024 : 0;
}

bool StartsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }
bool Logged(const Lines& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
bool Leaked(const Lines& lines)
{
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string& line) { return StartsWith(line, "WM_KEYDOWN vk=0x51"); });
}

// The key lines of the outputs: modifiers, characters and the trigger's key-ups (ours and
// the one the program sends after playing) left out.
Lines OutputKeys(const Lines& lines)
{
    Lines keys;
    for (const std::string& line : lines) {
        const size_t at = line.find(" vk=0x");
        if (at == std::string::npos || StartsWith(line, "WM_CHAR") || StartsWith(line, "WM_KEYUP vk=0x51")) continue;
        const unsigned long vk = std::strtoul(line.c_str() + at + 6, nullptr, 16);
        const bool modifier =
            (vk >= VK_SHIFT && vk <= VK_MENU) || (vk >= VK_LSHIFT && vk <= VK_RMENU) || vk == VK_LWIN || vk == VK_RWIN;
        if (!modifier) keys.push_back(line);
    }
    return keys;
}

}  // namespace

int main(int argc, char** argv)
{
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    TempDir dir;
    InstallProgram(dir);
    WriteBytes(dir.file("keycfg.ini"), "'global\r\nname=all\r\n337.send=65,66\r\n\r\n");  // Ctrl+Q -> A, B
    WriteBytes(dir.file("property.ini"), "UseHotKey=no\r\nHotKeyCode=2061\r\nTimer=1\r\n");
    KeyTarget target;
    Process program;
    HWND mainWindow = nullptr;
    if (!target.start(dir) || (mainWindow = StartProgram(program, dir)) == nullptr || !target.focus()) {
        std::printf("soak: could not start varokint.exe and KeyTarget.exe\n");
        ExitProgram(program, mainWindow);
        return 1;
    }
    target.newLines();
    const unsigned long rssBefore = ResidentKb(program.handle());

    int sent = 0, delivered = 0, leaked = 0;
    for (int n = 0; n < presses; ++n) {
        Lines seen;
        auto collect = [&](const std::function<bool()>& done, DWORD timeoutMs) {
            return PumpUntil(
                [&] {
                const Lines added = target.newLines();
                seen.insert(seen.end(), added.begin(), added.end());
                return done();
                },
                timeoutMs, 1);
        };
        const bool ctrlDown = Send(VK_CONTROL, false);
        if (Send('Q', false) && ctrlDown) ++sent;
        const bool played = collect([&] { return Logged(seen, Outputs.back()) || Leaked(seen); }, PressTimeoutMs);
        Send('Q', true);
        Send(VK_CONTROL, true);
        const bool released = collect([&] { return !seen.empty() && seen.back() == CtrlUp; }, PressTimeoutMs);
        // What a late press still brings belongs to it, not to the next one.
        if (!played || !released) collect([] { return false; }, 500);
        if (OutputKeys(seen) == Outputs) ++delivered;
        if (Leaked(seen)) ++leaked;
        PumpFor(GapMs);
        if ((n + 1) % 1000 == 0)
            std::fprintf(stderr, "soak: %d of %d pressed, %d delivered\n", n + 1, presses, delivered);
    }

    PumpFor(500);
    int stuck = 0;
    for (const int vk : SideModifiers)
        if (GetAsyncKeyState(vk) & 0x8000) ++stuck;
    const unsigned long rssAfter = ResidentKb(program.handle());
    ExitProgram(program, mainWindow);
    std::printf("soak: %d sent, %d delivered, %d leaked, %d stuck, RSS %lu -> %lu kB\n", sent, delivered, leaked, stuck,
                rssBefore, rssAfter);
    std::fflush(stdout);
    return delivered == sent && leaked == 0 && stuck == 0 ? 0 : 1;
}
