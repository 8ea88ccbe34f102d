// The one record of the keyboard behind the engine's decisions: what is held down as
// reported (each modifier key apart, and the last key), which reported events are our own
// injected keys coming back, and what the user holds and let go of while our playback moved
// the same keys.
#pragma once
#include "engine/KeySystem.h"
#include "model/KeyStroke.h"

#include <cstdint>
#include <deque>

// What is held down. The right-hand flags only choose which physical modifier key playback
// presses or releases; key codes and comparisons ignore them.
struct KeyState : KeyStroke {
    std::uint8_t rightWin = 0, rightCtrl = 0, rightAlt = 0, rightShift = 0;

    KeyState() = default;
    explicit KeyState(const KeyStroke& stroke) : KeyStroke(stroke) {}
    // A modifier held on either side; "right" only when the left key is not also down.
    static void SetSides(std::uint8_t& held, std::uint8_t& right, bool leftDown, bool rightDown)
    {
        held = leftDown || rightDown ? 1 : 0;
        right = rightDown && !leftDown ? 1 : 0;
    }
};

class KeyLedger {
public:
    // Our own injected keys that the hook has not reported back after this long never will
    // (the keys went to a window whose process our hook does not reach).
    static constexpr std::uint32_t OwnKeyTimeoutMs = 1000;

    // The eight modifier keys, each side apart: what the user holds and what we inject.
    enum ModifierSide { LeftShift, RightShift, LeftCtrl, RightCtrl, LeftAlt, RightAlt, LeftWin, RightWin, NoModifier };

    explicit KeyLedger(Keyboard& keyboard) : keyboard_(keyboard) {}
    KeyLedger(const KeyLedger&) = delete;
    KeyLedger& operator=(const KeyLedger&) = delete;

    // One reported event, ours included (the system's key state holds our keys too): it
    // moves what is held, and our own event is taken off the queue of injected keys. True
    // when it was ours.
    bool Report(unsigned vk, std::uint32_t flags, ModifierSide side);
    // keybd_event, remembered so that its report is known as ours.
    void Inject(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, ModifierSide side);
    // Nothing more will come back of what we injected (the hooks go out, or the reports
    // cannot be trusted): a re-press of ours that the user let go of meanwhile, normally
    // undone when its report comes back, is undone now, and the queue is emptied.
    // keepUndo: the undo's own report will come back and is known as ours.
    void GiveUpOwnKeys(bool keepUndo);
    // Every modifier key as the system's key state shows it now.
    void ReadKeyState();

    // The key of the last event reported (0 after a modifier's, so that a modifier alone is
    // no key) and each modifier held on the side that is down; with both keys of a modifier
    // down, letting go of one leaves it held by the other.
    KeyState held() const;
    // Whether the user holds that modifier key, as far as the key state tells it now.
    bool UserHolds(ModifierSide side);
    // Looks at every modifier key before a playback changes them (see UserHolds).
    void LookAtUser();
    // Injected events not yet reported back.
    std::size_t pending() const { return own_.size(); }

private:
    // One event we injected, as the hook will report it back.
    struct OwnKey {
        std::uint8_t vk, scan;
        std::uint32_t flags;
        ModifierSide side;
    };

    // Takes the report off the queue of our own keys when it is the next one of them.
    bool TakeOwnKey(unsigned vk, std::uint32_t flags, ModifierSide side);
    void FollowLetGo(ModifierSide side, bool down, bool isOwn);
    // Updates userHolds_ for that modifier key from the system's key state.
    void LookAtUser(ModifierSide side);
    // The last of our events for that modifier key not yet reported back, if any.
    const OwnKey* LastOwnKey(ModifierSide side) const;
    void ForgetOwnKeys();

    Keyboard& keyboard_;
    // Our injected events in injection order, until the hook reports each back.
    std::deque<OwnKey> own_;
    int ownPending_[NoModifier] = {};  // entries of own_ per modifier key
    std::uint32_t lastOwnTick_ = 0;    // last injection or last own report
    // Modifier keys down as reported, and the last key reported.
    bool keyDown_[NoModifier] = {};
    unsigned lastKey_ = 0;
    // Modifier keys the user holds as far as the system's key state shows, and the state
    // our last injected event gave each (-1: the user's events came after it).
    bool userHolds_[NoModifier] = {};
    int weSet_[NoModifier] = {-1, -1, -1, -1, -1, -1, -1, -1};
    // Per modifier key: the user's last reported event was a release (see FollowLetGo).
    bool letGo_[NoModifier] = {};
    OwnKey lastTaken_{};
};
