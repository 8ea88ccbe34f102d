// Seeded random sequences of physical key events against the engine on the modelled
// keyboard, including keys the hooks never report (typed on another desktop, or into a
// window whose process the hooks do not reach) and the points where the engine reads the
// key state again (back on our desktop, another window in front). No action plays for a
// key the application would not take as its trigger, and after each sequence, with every
// physical key released and every report handled: no modifier is down in the key state, no
// trigger reached the application as a raw key-down, and the engine injected a bounded
// number of events. A failing sequence is
// shrunk to the shortest one that still fails and printed with its seed.
//
// VR_MODEL_SEQUENCES sets the number of sequences (default 10,000), VR_MODEL_SEED the first
// seed (default 1).
#include "FakeModelSystem.h"
#include "ModelKeyboard.h"
#include "engine/KeyEngine.h"
#include "tests/support/TestKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <sstream>

namespace {

using MK = ModelKeyboard;

// Both sides of Shift, Ctrl, Alt and Win, the trigger keys, and Enter of the hotkey.
constexpr const PhysicalKey* Keys = PhysicalKeys;
constexpr int KeyCount = ModelCheckKeys;
constexpr int Modifiers = ModifierKeys;  // the first keys, in the order of ModelKeyboard's

constexpr const char* App = "C:\\Apps\\Editor.exe";
constexpr WindowId AppWindow = 0x2000, OtherWindow = 0x3000;
// An elevated window: the hooks do not reach its process.
constexpr WindowId BlindWindow = 0x4000;
constexpr WindowId Windows[] = {AppWindow, OtherWindow, BlindWindow};

enum class Op { Press, Release, Deliver, Timer, During, Clock, Dialog, Foreground, Away };

struct Step {
    Op op;
    int key = 0;      // Press, Release, During: index into Keys; Foreground: into Windows
    int count = 0;    // Deliver: reports; During: injected events before it; Clock: ms
    bool up = false;  // During: a release
};

std::string Describe(const Step& s)
{
    switch (s.op) {
    case Op::Press:
        return std::string("press ") + Keys[s.key].name;
    case Op::Release:
        return std::string("release ") + Keys[s.key].name;
    case Op::Deliver:
        return "deliver " + std::to_string(s.count);
    case Op::Timer:
        return "timer fires";
    case Op::During:
        return std::string(s.up ? "release " : "press ") + Keys[s.key].name + " after " + std::to_string(s.count) +
               " injected";
    case Op::Clock:
        return "clock +" + std::to_string(s.count) + " ms";
    case Op::Dialog:
        return "settings window opens or closes";
    case Op::Foreground:
        return s.key == 2   ? "a window the hooks do not reach in front"
               : s.key == 1 ? "other window in front"
                            : "app in front";
    case Op::Away:
        return "the input goes to another desktop, or comes back";
    }
    return {};
}

struct Outcome {
    std::string failure;  // empty when every check holds
};

// One run of a sequence on a fresh engine.
class Run {
public:
    explicit Run(bool hotKeyOn)
    {
        keyboard_.exePaths[AppWindow] = App;
        keyboard_.exePaths[OtherWindow] = "C:\\Apps\\Other.exe";
        settings_.useHotKey = hotKeyOn;
        settings_.hotKey = KeyStroke::ofCode(Win | 0x0D);
        AppEntry global("global", "all");
        global.addAction(MakeAction("one key", 0x70, {'A'}));
        global.addAction(MakeAction("several", Ctrl | 0x71, {Shift | 'B', 'C', Alt | 'D', Ctrl | Win | 'E'}));
        global.addAction(MakeAction("start menu", Win | 0x72, {Win, 'S'}));
        global.addAction(MakeAction("nothing", 0x73, {}));
        global.addAction(MakeAction("itself", Shift | 0x74, {Shift | 0x74, 'A'}));
        AppEntry app(App, "editor");
        app.addAction(MakeAction("alt v", Ctrl | 'E', {Alt | 'V'}));
        app.addAction(MakeAction("itself", 'E', {'E', 'A'}));
        app.addAction(MakeAction("global's trigger", Alt | 0x70, {0x70}));
        std::vector<int> longAction;
        for (int i = 0; i < 40; ++i)
            longAction.push_back((i % 5 == 0 ? Ctrl : 0) | (i % 7 == 0 ? Shift : 0) | (i % 11 == 0 ? Alt : 0) |
                                 ('A' + i % 26));
        app.addAction(MakeAction("long", 0x75, longAction));
        table_.add(global);
        table_.add(app);
        engine_.SetHooks(true);
        keyboard_.whileSending = [this] {
            if (deliverWhileSending_ > 0) Deliver(deliverWhileSending_);
        };
    }

    Outcome Play(const std::vector<Step>& steps)
    {
        for (const Step& s : steps) {
            Apply(s);
            if (!failure_.empty()) return {failure_};
        }
        Finish();
        return {failure_};
    }

private:
    // Physical events waiting for a playback happen at the latest before the user's next one.
    void FlushDuring()
    {
        for (auto& [after, e] : keyboard_.during) keyboard_.Enqueue(e.vk, e.scan, e.extended, e.up, false);
        keyboard_.during.clear();
    }

    void Physical(int key, bool up)
    {
        FlushDuring();
        const auto& k = Keys[key];
        physicalHeld_[key] = !up;
        ++physicalEvents_;
        if (away_) {
            // On another desktop: the key state follows, our desktop's queue never sees it.
            const int sided = MK::KeyOf(k.vk, k.scan, k.extended);
            keyboard_.state[sided] = queueState_[sided] = !up;
            return;
        }
        keyboard_.Enqueue(k.vk, k.scan, k.extended, up, false);
    }

    void Apply(const Step& s)
    {
        switch (s.op) {
        case Op::Press:
            Physical(s.key, false);
            break;  // a second press is an auto-repeat
        case Op::Release:
            if (physicalHeld_[s.key]) Physical(s.key, true);
            break;
        case Op::Deliver:
            Deliver(s.count);
            break;
        case Op::Timer:
            FireTimer();
            break;
        case Op::During: {
            if (away_) {
                Apply(Step{s.up ? Op::Release : Op::Press, s.key});
                break;
            }
            const auto& k = Keys[s.key];
            if (s.up ? !physicalHeld_[s.key] : false) break;
            physicalHeld_[s.key] = !s.up;
            ++physicalEvents_;
            int after = s.count;  // the user's events keep their order
            for (const auto& pending : keyboard_.during) after = std::max(after, pending.first);
            keyboard_.during.push_back({after, MK::Event{k.vk, k.scan, k.extended, s.up, false, 0}});
            break;
        }
        case Op::Clock:
            // Reports come back within milliseconds; a long wait only while none is due (a
            // report lost for good is the unit tests' case).
            keyboard_.now += static_cast<std::uint32_t>(keyboard_.queue.empty() ? s.count : std::min(s.count, 30));
            break;
        case Op::Dialog:
            // The shell removes the hooks while the settings window is open and puts them
            // back, ending the pause, when it closes.
            if (dialogOpen_) {
                // Open for a human's time: what was typed meanwhile went to it.
                FlushDuring();
                Deliver(1 << 20);
                dialogOpen_ = false;
                engine_.SetHooks(true);
                engine_.Reenable();
                keyboard_.timerPending = false;
            } else if (keyboard_.hotKeyPosted) {
                keyboard_.hotKeyPosted = false;
                dialogOpen_ = true;
                engine_.SetHooks(false);
            }
            break;
        case Op::Foreground:
            // What was typed before the switch has reached the old window by the time the
            // engine hears of the new one.
            FlushDuring();
            Deliver(1 << 20);
            keyboard_.foreground = Windows[s.key];
            engine_.ResyncHeldKeys();
            break;
        case Op::Away:
            // Win+L, Ctrl+Alt+Del or a UAC prompt: the input goes to a desktop of its own,
            // and comes back with whatever the user did there.
            FlushDuring();
            Deliver(1 << 20);
            away_ = !away_;
            if (!away_) engine_.ResyncHeldKeys();
            break;
        }
    }

    void FireTimer()
    {
        if (keyboard_.timerPending) {
            keyboard_.timerPending = false;
            engine_.Reenable();
        }
    }

    // The app's view of the modifiers: every event folded in queue order.
    int AppModifiers() const
    {
        const bool* s = queueState_;
        return (s[MK::LShift] || s[MK::RShift] ? Shift : 0) | (s[MK::LCtrl] || s[MK::RCtrl] ? Ctrl : 0) |
               (s[MK::LAlt] || s[MK::RAlt] ? Alt : 0) | (s[MK::LWin] || s[MK::RWin] ? Win : 0);
    }

    bool IsTrigger(int code)
    {
        if (settings_.useHotKey && code == settings_.hotKey.toCode()) return true;
        const std::string path = keyboard_.exePathOfWindow(keyboard_.foreground);
        for (const char* p : {"global", path.c_str()}) {
            const AppEntry* entry = table_.at(table_.findByPath(p));
            if (entry && entry->findActionByInput(code)) return true;
        }
        return false;
    }

    void Deliver(int count)
    {
        for (; count > 0 && !keyboard_.queue.empty() && failure_.empty(); --count) {
            const MK::Event e = keyboard_.queue.front();
            keyboard_.queue.pop_front();
            const int key = MK::KeyOf(e.vk, e.scan, e.extended);
            queueState_[key] = !e.up;
            if (++deliveries_ > 200000) {
                failure_ = "the reports never end (a playback feeds itself)";
                return;
            }
            if (!engine_.hooksInstalled() || keyboard_.foreground == BlindWindow)
                continue;  // it goes to the settings window, or to a process the hooks do not reach
            const std::uint32_t flags = e.flags;
            const int appKey = AppModifiers() | e.vk;
            const long playedBefore = keyboard_.playbacks;
            const bool swallowed = engine_.OnKeyEvent(KeyReport{e.vk, &flags, sizeof flags});
            if (keyboard_.playbacks != playedBefore &&
                (e.injected || e.up || MK::IsModifierKey(key) || !IsTrigger(appKey))) {
                std::ostringstream text;
                text << "an action played for " << (e.injected ? "our own " : "") << "vk " << std::hex << int(e.vk)
                     << (e.up ? " up" : "") << ", which the application sees with modifiers " << (appKey & ~0xFF);
                failure_ = text.str();
            }
            if (!swallowed && !e.injected && !e.up && !MK::IsModifierKey(key) && IsTrigger(AppModifiers() | e.vk)) {
                std::ostringstream text;
                text << "a trigger reached the application raw: vk " << std::hex << int(e.vk) << " with modifiers "
                     << AppModifiers();
                failure_ = text.str();
            }
        }
    }

    void Finish()
    {
        if (dialogOpen_) Apply(Step{Op::Dialog});
        if (away_) Apply(Step{Op::Away});
        FlushDuring();
        for (int key = 0; key < KeyCount; ++key) {
            if (physicalHeld_[key]) Physical(key, true);
        }
        for (int round = 0; round < 1000 && failure_.empty() && !keyboard_.queue.empty(); ++round) {
            Deliver(1000);
            FireTimer();
            keyboard_.now += 5;
        }
        if (!failure_.empty()) return;
        if (!keyboard_.queue.empty()) {
            failure_ = "the reports never end";
            return;
        }
        for (int m = 0; m < Modifiers; ++m) {
            if (keyboard_.state[MK::LShift + m]) {
                failure_ = std::string(Keys[m].name) + " is still down";
                return;
            }
        }
        // Per physical key-down at most one playback (the long action: 40 outputs, each at most
        // four modifier changes and a key-down and -up) and per physical event one correction.
        const long bound = physicalEvents_ * (40 * 6 + 10) + 16;
        if (keyboard_.injectedCount > bound)
            failure_ =
                "injected " + std::to_string(keyboard_.injectedCount) + " events, more than " + std::to_string(bound);
    }

    FakeModelSystem model_;
    ShortcutTable table_{model_};
    Settings settings_{model_};
    ModelKeyboard keyboard_;
    KeyEngine engine_{table_, settings_, keyboard_.keySystem()};
    bool physicalHeld_[KeyCount] = {};
    bool queueState_[MK::KeyCount] = {};
    bool dialogOpen_ = false, away_ = false;
    long physicalEvents_ = 0, deliveries_ = 0;
    int deliverWhileSending_ = 2;
    std::string failure_;
};

std::vector<Step> RandomSequence(std::mt19937& random)
{
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::vector<Step> steps;
    const int length = 5 + pick(40);
    for (int i = 0; i < length; ++i) {
        const int r = pick(100);
        // Modifiers more often than trigger keys, so that triggers are held with them.
        const int key = pick(2) ? pick(Modifiers) : Modifiers + pick(KeyCount - Modifiers);
        if (r < 30)
            steps.push_back({Op::Press, key});
        else if (r < 50)
            steps.push_back({Op::Release, key});
        else if (r < 72)
            steps.push_back({Op::Deliver, 0, 1 + pick(pick(4) == 0 ? 200 : 6)});
        else if (r < 80)
            steps.push_back({Op::Timer});
        else if (r < 90)
            steps.push_back({Op::During, pick(Modifiers) + (pick(4) == 0 ? pick(KeyCount - Modifiers) : 0),
                             1 + pick(pick(3) == 0 ? 150 : 8), pick(3) != 0});
        else if (r < 94)
            steps.push_back({Op::Clock, 0, pick(10) == 0 ? 1500 : 1 + pick(30)});
        else if (r < 96)
            steps.push_back({Op::Dialog});
        else if (r < 98)
            steps.push_back({Op::Foreground, pick(3)});
        else
            steps.push_back({Op::Away});
    }
    return steps;
}

std::string Check(const std::vector<Step>& steps, bool hotKeyOn) { return Run(hotKeyOn).Play(steps).failure; }

// Drops steps one at a time as long as the sequence still fails.
std::vector<Step> Shrink(std::vector<Step> steps, bool hotKeyOn)
{
    for (bool smaller = true; smaller;) {
        smaller = false;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            std::vector<Step> shorter = steps;
            shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(i));
            if (!Check(shorter, hotKeyOn).empty()) {
                steps = shorter;
                smaller = true;
                --i;
            }
        }
    }
    return steps;
}

long EnvNumber(const char* name, long fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::atol(text) : fallback;
}

TEST(ModelCheck, NoModifierSticksNoTriggerLeaksNoPlaybackFeedsItself)
{
    const long sequences = EnvNumber("VR_MODEL_SEQUENCES", 10000);
    const long first = EnvNumber("VR_MODEL_SEED", 1);
    for (long seed = first; seed < first + sequences; ++seed) {
        std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
        const bool hotKeyOn = random() % 2 == 0;
        const std::vector<Step> steps = RandomSequence(random);
        const std::string failure = Check(steps, hotKeyOn);
        if (failure.empty()) continue;
        const std::vector<Step> shortest = Shrink(steps, hotKeyOn);
        std::string text;
        for (const Step& s : shortest) text += "  " + Describe(s) + "\n";
        FAIL() << "seed " << seed << (hotKeyOn ? " (hotkey on)" : "") << ": " << failure
               << "\nshortest sequence (then every key released and every report handled):\n"
               << text << "which gives: " << Check(shortest, hotKeyOn);
    }
}

}  // namespace
