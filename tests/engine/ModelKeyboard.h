// A keyboard that behaves as the system does around the engine: the key state that
// isKeyDown reads (physical presses and releases plus every injected event, each side of a
// modifier apart), the input queue, and the hook reporting every event back in queue order,
// later than the key state changed. The previous-state bit of each report is taken from the
// key state at the moment of the event, so an injected key-down of a key the user holds
// carries it like an auto-repeat. Physical events can be set to arrive in the middle of a
// playback, between two injected events.
#pragma once
#include "StubKeySystem.h"
#include "contract/HookContract.h"
#include "tests/support/TestKeys.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

class ModelKeyboard : public Keyboard, public Desktop, public ShellRequests {
public:
    // Key identities of the key state: a plain key by its vk, a modifier by its side.
    enum : int { LShift = 256, RShift, LCtrl, RCtrl, LAlt, RAlt, LWin, RWin, KeyCount };

    struct Event {
        std::uint8_t vk, scan;
        bool extended, up, injected;
        std::uint32_t flags;  // the keystroke flags word the hook reports
    };

    bool state[KeyCount] = {};
    std::deque<Event> queue;
    long injectedCount = 0;
    long playbacks = 0;  // every playback ends by starting the pause's timer
    bool timerPending = false, hotKeyPosted = false;
    std::uint32_t now = 0;
    WindowId foreground = 0x2000;
    std::map<WindowId, std::string> exePaths;
    // Physical events waiting to happen: each after that many more injected events.
    std::vector<std::pair<int, Event>> during;
    // Called when the engine opens the Start menu: sent messages (key reports) are handled
    // while the message to the taskbar waits.
    std::function<void()> whileSending;

    static int KeyOf(std::uint8_t vk, std::uint8_t scan, bool extended)
    {
        switch (vk) {
        case 0x10:
            return scan == 0x36 ? RShift : LShift;
        case 0x11:
            return extended ? RCtrl : LCtrl;
        case 0x12:
            return extended ? RAlt : LAlt;
        case 0x5B:
            return LWin;
        case 0x5C:
            return RWin;
        default:
            return vk;
        }
    }
    static bool IsModifierKey(int key) { return key >= LShift; }

    // An event enters the queue and changes the key state at once.
    void Enqueue(std::uint8_t vk, std::uint8_t scan, bool extended, bool up, bool injected)
    {
        if (vk == 0x10) extended = false;  // the system drops the extended bit of Shift
        const int key = KeyOf(vk, scan, extended);
        const bool previous = up || state[key];
        state[key] = !up;
        const KeyFlags flags = up ? KeyFlags::Up(scan, extended) : KeyFlags::Down(scan, extended, previous);
        queue.push_back(Event{vk, scan, extended, up, injected, flags.word()});
    }

    void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override
    {
        ++injectedCount;
        Enqueue(vk, scan, (flags & KeyEventExtended) != 0, (flags & KeyEventUp) != 0, true);
        for (std::size_t i = 0; i < during.size();) {
            if (--during[i].first <= 0) {
                const Event e = during[i].second;
                during.erase(during.begin() + static_cast<std::ptrdiff_t>(i));
                Enqueue(e.vk, e.scan, e.extended, e.up, false);
            } else {
                ++i;
            }
        }
    }
    unsigned mapVirtualKey(unsigned code, unsigned mapType) override
    {
        return MapSidedModifier(code, mapType == MapVkToScan);
    }
    void openStartMenu() override
    {
        if (whileSending) whileSending();
    }
    void openSettingsForWindowInFront() override { hotKeyPosted = true; }
    bool startPause(unsigned) override
    {
        ++playbacks;
        return timerPending = true;
    }
    void tellHooksFailed(HookStep) override {}
    bool isKeyDown(std::uint8_t vk) override
    {
        switch (vk) {
        case 0x10:
            return state[LShift] || state[RShift];
        case 0x11:
            return state[LCtrl] || state[RCtrl];
        case 0x12:
            return state[LAlt] || state[RAlt];
        case 0x5B:
            return state[LWin];
        case 0x5C:
            return state[RWin];
        case 0xA0:
        case 0xA1:
        case 0xA2:
        case 0xA3:
        case 0xA4:
        case 0xA5:
            return state[LShift + vk - 0xA0];
        default:
            return state[vk];
        }
    }
    std::uint32_t tickCount() override { return now; }
    WindowId foregroundWindow() override { return foreground; }
    std::string exePathOfWindow(WindowId window) override
    {
        const auto found = exePaths.find(window);
        return found == exePaths.end() ? std::string() : found->second;
    }
    KeySystem keySystem() { return {*this, hooks_, *this, *this}; }

private:
    StubHooks hooks_;
};
