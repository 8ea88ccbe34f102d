// Decides for every reported key whether it is the settings hotkey, an action of "global"
// or of the application in front, plays the action's keys in its place, and hands keys
// to the action editor while it records.
#pragma once
#include "engine/KeySystem.h"
#include "model/Action.h"
#include "model/KeyStroke.h"
#include "model/Settings.h"
#include "model/ShortcutTable.h"

#include <cstdint>
#include <deque>
#include <string>

// What the engine believes is held down. The right-hand flags only choose which physical
// modifier key playback presses or releases; key codes and comparisons ignore them.
struct KeyState : KeyStroke {
    std::uint8_t rightWin = 0, rightCtrl = 0, rightAlt = 0, rightShift = 0;

    KeyState() = default;
    explicit KeyState(const KeyStroke& stroke) : KeyStroke(stroke) {}
    void clearModifiers() { ctrl = alt = shift = win = rightWin = rightCtrl = rightAlt = rightShift = 0; }
};

class KeyEngine {
public:
    static constexpr unsigned TaskbarMessage = 0x504;  // opens the Start menu
    static constexpr int StartMenuKeyCode = 0x800;     // Win alone, no vk
    // The longest pause after an action, whatever the settings say: a hand-edited hour
    // (or the int limit, 24.8 days) would switch remapping and the hotkey off for that long.
    static constexpr std::int32_t LongestPauseMs = 10000;
    // Our own injected keys that the hook has not reported back after this long never will
    // (the keys went to a window whose process our hook does not reach).
    static constexpr std::uint32_t OwnKeyTimeoutMs = 1000;

    KeyEngine(ShortcutTable& table, Settings& settings, WindowId mainWindow, KeySystem& system);
    KeyEngine(const KeyEngine&) = delete;
    KeyEngine& operator=(const KeyEngine&) = delete;

    bool SetHooks(bool on);
    // The reply to the hook library's WM_COPYDATA: true (1) when the key was acted on.
    bool OnKeyEvent(const KeyReport& report);
    // Starts recording into that window (installing the hooks), or stops with 0.
    bool SetRecordingWindow(WindowId window);
    void RememberForegroundWindow();
    std::string GetForegroundExePath();
    WindowId foregroundWindow() const { return foregroundWindow_; }
    // End of the pause after an action; the shell calls it on WM_TIMER IDT_REENABLE and
    // when a framed dialog closes.
    void Reenable() { enabled_ = true; }

    bool enabled() const { return enabled_; }
    const KeyState& held() const { return held_; }
    bool hooksInstalled() const { return keyboardHook_ != 0 && messageHook_ != 0; }
    // Injected events not yet reported back.
    std::size_t ownKeysPending() const { return own_.size(); }

    // The eight modifier keys, each side apart: what the user holds and what we inject.
    enum ModifierSide { LeftShift, RightShift, LeftCtrl, RightCtrl, LeftAlt, RightAlt, LeftWin, RightWin, NoModifier };

private:
    // One event we injected, as the hook will report it back.
    struct OwnKey {
        std::uint8_t vk, scan;
        std::uint32_t flags;
        ModifierSide side;
    };

    // Folds one event into held_; true for a key-down. side: the modifier key it is, if any.
    bool UpdateHeldKeys(unsigned vk, std::uint32_t flags, ModifierSide& side);
    // Takes the report off the queue of our own keys when it is the next one of them.
    bool TakeOwnKey(unsigned vk, std::uint32_t flags, ModifierSide side);
    void FollowLetGo(ModifierSide side, bool down, bool isOwn);
    // Updates userHolds_ for that modifier key from the system's key state.
    void LookAtUser(ModifierSide side);
    bool Dispatch(KeyState& held);
    const Action* FindAction(const std::string& path, const KeyState& held) const;
    void PlayAction(const Action& action, const KeyState& trigger);
    // Brings the modifiers of current to those of target; sided also changes a modifier held
    // on the other side than the target's.
    void SyncModifiers(const KeyState& target, const KeyState& current, bool sided = false);
    void SendRecordedKey();
    void Inject(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, ModifierSide side);
    // The last of our events for that modifier key not yet reported back, if any.
    const OwnKey* LastOwnKey(ModifierSide side) const;
    void ForgetOwnKeys();

    ShortcutTable& table_;
    Settings& settings_;
    WindowId foregroundWindow_ = 0;
    WindowId mainWindow_;
    WindowId recordingWindow_ = 0;
    HookId keyboardHook_ = 0;
    HookId messageHook_ = 0;
    ModuleId hookLibrary_ = 0;
    KeySystem& system_;
    KeyState held_;
    std::int32_t lastRecordedKey_ = 0;
    bool enabled_ = true;

    // Our injected events in injection order, until the hook reports each back.
    std::deque<OwnKey> own_;
    int ownPending_[NoModifier] = {};  // entries of own_ per modifier key
    std::uint32_t lastOwnTick_ = 0;    // last injection or last own report
    // Modifier keys down as reported (ours included), from which held_ takes its modifiers.
    bool keyDown_[NoModifier] = {};
    // Modifier keys the user holds as far as the system's key state shows, and the state
    // our last injected event gave each (-1: the user's events came after it).
    bool userHolds_[NoModifier] = {};
    int weSet_[NoModifier] = {-1, -1, -1, -1, -1, -1, -1, -1};
    // Per modifier key: the user's last reported event was a release (see FollowLetGo).
    bool letGo_[NoModifier] = {};
    OwnKey lastTaken_{};
};
