// A day at the keyboard, played from a seed: three copies of KeyTarget side by side, two of
// them registered with actions of their own and one not, beside actions of `global`; the
// window in front changes at random between plain and shifted keys, triggers pressed and
// held, visits to the settings window, and the program killed and started again. After
// every step each key is where it belongs: the action's output, or the key itself, in the
// window in front, the trigger never raw, nothing in another window, nothing left held.
//
// VR_DAY_STEPS (default 50) and VR_DAY_SEED (default: a new one, printed) choose the day;
// a failure prints the seed and the last steps. `make day` plays a long one. Kills leave
// hooks behind, so this runs in a Wine session of its own (see CMakeLists.txt).
#include "tests/support/DialogDriver.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

constexpr int TargetCount = 3;
const char* const TargetNames[TargetCount] = {"A", "B", "KeyTarget"};  // C is not registered

// A key-down as KeyTarget logs it, from "vk=" on.
std::string Down(unsigned vk, bool shift = false, bool ctrl = false)
{
    char text[64];
    std::snprintf(text, sizeof text, "vk=0x%02X shift=%d ctrl=%d alt=0", vk, shift ? 1 : 0, ctrl ? 1 : 0);
    return text;
}

// The key-downs that arrived, modifiers left out: what the user would see typed.
Lines KeyDowns(const Lines& lines)
{
    Lines downs;
    for (const std::string& line : lines) {
        if (line.rfind("WM_KEYDOWN ", 0) != 0 && line.rfind("WM_SYSKEYDOWN ", 0) != 0) continue;
        const std::string rest = line.substr(line.find("vk="));
        const unsigned vk = std::stoul(rest.substr(3, 4), nullptr, 16);
        if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_LWIN || vk == VK_RWIN) continue;
        downs.push_back(rest.substr(0, rest.find(" lwin")));
    }
    return downs;
}

bool NothingHeld(const std::string& line)
{
    const std::string idle = "shift=0 ctrl=0 alt=0 lwin=0 rwin=0";
    return line.size() >= idle.size() && line.compare(line.size() - idle.size(), idle.size(), idle) == 0;
}

// A trigger: Ctrl and a letter, and what it gives in each target.
struct Trigger {
    char letter;
    std::string gives[TargetCount];
};

unsigned Vk(char letter) { return static_cast<unsigned>(letter - 'a' + 'A'); }
std::string Upper(char letter) { return std::string(1, static_cast<char>(Vk(letter))); }

class Day : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallProgram(programDir);
        for (int i = 0; i < TargetCount; ++i) {
            ASSERT_TRUE(targets[i].start(targetDirs[i]));
            // Side by side, so that a click on one never lands on another.
            SetWindowPos(targets[i].window(), nullptr, 20 + i * 330, 120, 320, 260, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        keycfg = "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n327.send=74\r\n327.name=J\r\n\r\n"  // Ctrl+G -> J
                 "'" +
                 targets[0].process.imagePath() +
                 "\r\nname=A\r\n"
                 "325.send=88\r\n"                            // Ctrl+E -> X
                 "340.send=1113\r\n340.name=Shift+Y\r\n\r\n"  // Ctrl+T -> Shift+Y
                 "'" +
                 targets[1].process.imagePath() +
                 "\r\nname=B\r\n"
                 "325.send=90\r\n"       // Ctrl+E -> Z
                 "327.send=75\r\n\r\n";  // Ctrl+G -> K, hidden by global
        WriteBytes(programDir.file("keycfg.ini"), keycfg);
        WriteBytes(programDir.file("property.ini"), DefaultPropertyIni);
        mainWindow = StartProgram(program, programDir);
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(targets[front].focus());
    }
    void TearDown() override { ExitProgram(program, mainWindow); }

    // The lines each target logged until the logs have been still for a moment.
    std::vector<Lines> Settle()
    {
        std::vector<Lines> got(TargetCount);
        DWORD quietSince = GetTickCount();
        const DWORD start = quietSince;
        PumpUntil(
            [&] {
            for (int i = 0; i < TargetCount; ++i) {
                Lines added = targets[i].newLines();
                if (!added.empty()) quietSince = GetTickCount();
                got[i].insert(got[i].end(), added.begin(), added.end());
            }
            return GetTickCount() - quietSince >= 300 && GetTickCount() - start >= 400;
            },
            6000);
        return got;
    }

    // Empty when every line went where it belongs: the expected key-downs (all equal and
    // at least one when `repeats`) in the window in front, ending with nothing held, and
    // nothing in the others.
    std::string Check(const std::vector<Lines>& got, const Lines& downs, bool repeats = false)
    {
        std::string fault;
        for (int i = 0; i < TargetCount; ++i) {
            if (i != front && !got[i].empty()) fault += "\nkeys in " + std::string(TargetNames[i]) + Dump(got[i]);
        }
        const Lines seen = KeyDowns(got[front]);
        const bool right = repeats ? !seen.empty() && std::all_of(seen.begin(), seen.end(),
                                                                  [&](const std::string& d) { return d == downs[0]; })
                                   : seen == downs;
        if (!right) fault += "\nexpected" + std::string(repeats ? " repeats of" : "") + Dump(downs);
        if (!downs.empty() && (got[front].empty() || !NothingHeld(got[front].back())))
            fault += "\na modifier is left held";
        if (!fault.empty()) fault += "\nin " + std::string(TargetNames[front]) + Dump(got[front]);
        return fault;
    }

    std::string Press(const std::string& xdotool, const Lines& downs, bool repeats = false)
    {
        if (!Xdotool(xdotool)) return "xdotool " + xdotool + " failed";
        return Check(Settle(), downs, repeats);
    }

    std::string SwitchTo(int target)
    {
        front = target;
        if (!targets[front].focus()) return "could not bring " + std::string(TargetNames[front]) + " to the front";
        return Check(Settle(), {});
    }

    std::string VisitSettings()
    {
        if (!Xdotool("keydown super keydown Return sleep 0.2 keyup super keyup Return")) return "xdotool failed";
        HWND settings = nullptr;
        if (!PumpUntil([&] {
                return (settings = FindTopWindow(program.id(), "#32770", "ショートカット設定", true)) != nullptr;
            }))
            return "Win+Enter opened no settings window";
        std::string fault;
        if (ControlText(settings, 1002) != TargetNames[front])
            fault += "\nthe settings window shows " + ControlText(settings, 1002);
        PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
        if (!PumpUntil([&] { return !IsWindow(settings); })) return fault + "\nthe settings window stays open";
        if (!PumpUntil([&] { return GetForegroundWindow() == targets[front].window(); }))
            fault += "\nthe keyboard did not go back to " + std::string(TargetNames[front]);
        // Where the Windows key's release lands depends on when the window opened; the
        // Enter that opened it must not arrive anywhere.
        for (const Lines& lines : Settle()) {
            for (const std::string& line : lines) {
                if (line.rfind("WM_KEYDOWN vk=0x0D", 0) == 0) fault += "\nEnter arrived raw: " + line;
            }
        }
        if (ReadBytes(programDir.file("keycfg.ini")) != keycfg) fault += "\nkeycfg.ini changed";
        return fault;
    }

    std::string KillAndRestart()
    {
        TerminateProcess(program.handle(), 9);
        DWORD exitCode = 0;
        if (!program.waitExit(DefaultWaitMs, exitCode)) return "the program did not end";
        mainWindow = StartProgram(program, programDir);
        if (mainWindow == nullptr) return "the program did not start again";
        return Check(Settle(), {});
    }

    TempDir programDir;
    TempDir targetDirs[TargetCount];
    KeyTarget targets[TargetCount];
    Process program;
    HWND mainWindow = nullptr;
    std::string keycfg;
    int front = 0;
};

TEST_F(Day, EveryKeyLandsWhereItBelongs)
{
    const char* stepsText = std::getenv("VR_DAY_STEPS");
    const char* seedText = std::getenv("VR_DAY_SEED");
    const int steps = stepsText != nullptr ? std::atoi(stepsText) : 50;
    const unsigned seed = seedText != nullptr ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                                              : static_cast<unsigned>(GetTickCount() ^ (GetCurrentProcessId() << 16));
    std::printf("[ day      ] seed %u, %d steps\n", seed, steps);
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

    const std::string X = Down('X'), Z = Down('Z'), J = Down('J'), ShiftY = Down('Y', true);
    const Trigger triggers[] = {
        {'e', {X, Z, Down('E', false, true)}},
        {'t', {ShiftY, Down('T', false, true), Down('T', false, true)}},
        {'g', {J, J, J}},
    };
    const std::string letters = "abcdfhkmnpsuwz";

    std::deque<std::string> recent;
    for (int step = 1; step <= steps; ++step) {
        std::string what, fault;
        const int roll = pick(100);
        if (step == steps / 2 || roll < 4) {
            what = "kill the program and start it again";
            fault = KillAndRestart();
        } else if (step == steps / 3 || roll < 9) {
            what = "Win+Enter in " + std::string(TargetNames[front]) + ", then close the settings window";
            fault = VisitSettings();
        } else if (roll < 30) {
            const int to = (front + 1 + pick(TargetCount - 1)) % TargetCount;
            what = "click " + std::string(TargetNames[to]);
            fault = SwitchTo(to);
        } else if (roll < 48) {
            const char letter = letters[pick(static_cast<int>(letters.size()))];
            what = std::string("key ") + letter + " in " + TargetNames[front];
            fault = Press(std::string("key ") + letter, {Down(Vk(letter))});
        } else if (roll < 62) {
            const char letter = letters[pick(static_cast<int>(letters.size()))];
            what = std::string("key shift+") + letter + " in " + TargetNames[front];
            fault = Press(std::string("key shift+") + letter, {Down(Vk(letter), true)});
        } else if (roll < 90) {
            const Trigger& t = triggers[pick(3)];
            what = "Ctrl+" + Upper(t.letter) + " in " + TargetNames[front];
            fault = Press(std::string("keydown ctrl keydown ") + t.letter + " sleep 0.2 keyup ctrl keyup " + t.letter,
                          {t.gives[front]});
        } else {
            const Trigger& t = triggers[pick(3)];
            what = "Ctrl+" + Upper(t.letter) + " held in " + TargetNames[front];
            fault =
                Press(std::string("keydown ctrl keydown ") + t.letter + " sleep 0.7 keyup " + t.letter + " keyup ctrl",
                      {t.gives[front]}, true);
        }
        recent.push_back(std::to_string(step) + ": " + what);
        if (recent.size() > 8) recent.pop_front();
        if (!fault.empty()) {
            std::string last;
            for (const std::string& line : recent) last += "\n  " + line;
            FAIL() << "seed " << seed << ", step " << step << " of " << steps << ": " << what << fault
                   << "\nlast steps:" << last;
        }
    }

    // The end of the day: nothing held anywhere, and the shortcuts as they were.
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN})
        EXPECT_EQ(GetAsyncKeyState(vk) & 0x8000, 0) << "seed " << seed << ": key 0x" << std::hex << vk << " is down";
    EXPECT_EQ(Press("key a", {Down('A')}), "") << "seed " << seed;
    EXPECT_EQ(ReadBytes(programDir.file("keycfg.ini")), keycfg) << "seed " << seed;
}

}  // namespace
