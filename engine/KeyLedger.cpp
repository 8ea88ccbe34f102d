#include "engine/KeyLedger.h"

#include "contract/HookContract.h"

#include <algorithm>
#include <iterator>

namespace {

// The system's key-state code of each ModifierSide.
constexpr std::uint8_t SidedVk[] = {
    0xA0 /* VK_LSHIFT */, 0xA1 /* VK_RSHIFT */, 0xA2 /* VK_LCONTROL */, 0xA3 /* VK_RCONTROL */,
    0xA4 /* VK_LMENU */,  0xA5 /* VK_RMENU */,  0x5B /* VK_LWIN */,     0x5C /* VK_RWIN */};

}  // namespace

bool KeyLedger::Report(unsigned vk, std::uint32_t flags, ModifierSide side)
{
    const bool down = !KeyFlags(flags).up();
    lastKey_ = side == NoModifier ? vk : 0;
    if (side != NoModifier)
        keyDown_[side] = down;
    const bool isOwn = TakeOwnKey(vk, flags, side);
    if (side != NoModifier)
        FollowLetGo(side, down, isOwn);
    return isOwn;
}

bool KeyLedger::TakeOwnKey(unsigned vk, std::uint32_t flags, ModifierSide side)
{
    if (own_.empty())
        return false;
    const std::uint32_t now = keyboard_.tickCount();
    if (now - lastOwnTick_ > OwnKeyTimeoutMs) {
        ForgetOwnKeys();
        return false;
    }
    // The scan code tells our output keys (scan 0) from the user's, and the side a modifier
    // key (the extended bit is not compared as such: the system drops it for Shift, whose
    // sides differ in scan code).
    const OwnKey& next = own_.front();
    const bool up = KeyFlags(flags).up();
    if (next.vk != vk || next.scan != KeyFlags(flags).scan() || ((next.flags & KeyEventUp) != 0) != up ||
        next.side != side)
        return false;
    lastTaken_ = next;
    own_.pop_front();
    if (lastTaken_.side != NoModifier)
        --ownPending_[lastTaken_.side];
    lastOwnTick_ = now;
    return true;
}

void KeyLedger::Inject(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, ModifierSide side)
{
    own_.push_back(OwnKey{vk, scan, flags, side});
    if (side != NoModifier) {
        ++ownPending_[side];
        LookAtUser(side);
        weSet_[side] = (flags & KeyEventUp) == 0 ? 1 : 0;
    }
    lastOwnTick_ = keyboard_.tickCount();
    keyboard_.keybdEvent(vk, scan, flags);
}

void KeyLedger::FollowLetGo(ModifierSide side, bool down, bool isOwn)
{
    // A user who lets go of a modifier while our playback has it released cannot be seen in
    // the key state (it is up already), only in the reports: that release is reported
    // before our later press. When the last of our events for the key comes back and it is
    // a press made after the user's last reported release, let go of the key again.
    if (!isOwn) {
        letGo_[side] = !down;
        // Newer than what the key state showed while it still held our event. A press is
        // not taken from the reports: one of ours may come back looking like the user's
        // (when the user's identical press was taken for it), and the key state shows the
        // user's presses that matter anyway.
        if (ownPending_[side] == 0) {
            // None of ours can be taken for it: the key state now follows the user's events.
            userHolds_[side] = down;
            weSet_[side] = -1;
        } else if (!down && weSet_[side] >= 0) {
            userHolds_[side] = false;
        }
        return;
    }
    if (down && letGo_[side] && ownPending_[side] == 0) {
        letGo_[side] = false;
        userHolds_[side] = false;
        Inject(lastTaken_.vk, lastTaken_.scan, lastTaken_.flags | KeyEventUp, side);
    }
}

void KeyLedger::GiveUpOwnKeys(bool keepUndo)
{
    OwnKey undo[NoModifier];
    int undoCount = 0;
    for (int side = 0; side < NoModifier; ++side) {
        const auto s = static_cast<ModifierSide>(side);
        const OwnKey* last = LastOwnKey(s);
        if (letGo_[s] && last != nullptr && (last->flags & KeyEventUp) == 0)
            undo[undoCount++] = *last;
    }
    ForgetOwnKeys();
    for (int i = 0; i < undoCount; ++i)
        Inject(undo[i].vk, undo[i].scan, undo[i].flags | KeyEventUp, undo[i].side);
    if (!keepUndo)
        ForgetOwnKeys();
}

void KeyLedger::ReadKeyState()
{
    for (int side = 0; side < NoModifier; ++side)
        keyDown_[side] = keyboard_.isKeyDown(SidedVk[side]);
}

KeyState KeyLedger::held() const
{
    KeyState state;
    state.vk = lastKey_;
    KeyState::SetSides(state.shift, state.rightShift, keyDown_[LeftShift], keyDown_[RightShift]);
    KeyState::SetSides(state.ctrl, state.rightCtrl, keyDown_[LeftCtrl], keyDown_[RightCtrl]);
    KeyState::SetSides(state.alt, state.rightAlt, keyDown_[LeftAlt], keyDown_[RightAlt]);
    KeyState::SetSides(state.win, state.rightWin, keyDown_[LeftWin], keyDown_[RightWin]);
    return state;
}

bool KeyLedger::UserHolds(ModifierSide side)
{
    LookAtUser(side);
    return userHolds_[side];
}

void KeyLedger::LookAtUser()
{
    for (int side = 0; side < NoModifier; ++side)
        LookAtUser(static_cast<ModifierSide>(side));
}

void KeyLedger::LookAtUser(ModifierSide side)
{
    // The system's key state is exact and ahead of the reports, but holds our own events
    // too: while it shows what we last set, the user changed nothing we can see since; once
    // it differs, the user pressed or let go after our event, and that is the user's state.
    const int state = keyboard_.isKeyDown(SidedVk[side]) ? 1 : 0;
    if (weSet_[side] < 0 || state != weSet_[side]) {
        userHolds_[side] = state != 0;
        weSet_[side] = -1;
    }
}

const KeyLedger::OwnKey* KeyLedger::LastOwnKey(ModifierSide side) const
{
    const auto last = std::find_if(own_.rbegin(), own_.rend(), [side](const OwnKey& k) { return k.side == side; });
    return last == own_.rend() ? nullptr : &*last;
}

void KeyLedger::ForgetOwnKeys()
{
    own_.clear();
    std::fill(std::begin(letGo_), std::end(letGo_), false);
    std::fill(std::begin(ownPending_), std::end(ownPending_), 0);
}
