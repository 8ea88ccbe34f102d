// Decides for every reported key whether it is the settings hotkey, an action of "global"
// or of the application in front, plays the action's keys in its place, and hands keys
// to the action editor while it records.
#pragma once
#include "engine/KeyLedger.h"
#include "engine/KeySystem.h"
#include "model/Action.h"
#include "model/KeyStroke.h"
#include "model/Settings.h"
#include "model/ShortcutTable.h"

#include <cstdint>
#include <string>

class KeyEngine {
public:
    static constexpr int StartMenuKeyCode = 0x800;  // Win alone, no vk
    // The longest pause after an action, whatever the settings say: a hand-edited hour
    // (or the int limit, 24.8 days) would switch remapping and the hotkey off for that long.
    static constexpr std::int32_t LongestPauseMs = 10000;
    static constexpr std::uint32_t OwnKeyTimeoutMs = KeyLedger::OwnKeyTimeoutMs;

    KeyEngine(ShortcutTable& table, Settings& settings, KeySystem system);
    KeyEngine(const KeyEngine&) = delete;
    KeyEngine& operator=(const KeyEngine&) = delete;

    bool SetHooks(bool on);
    // The reply to the hook library's WM_COPYDATA: true (1) when the key was acted on.
    bool OnKeyEvent(const KeyReport& report);
    // Starts handing the keys pressed to the recording window (installing the hooks), or
    // stops with null.
    bool SetRecordingWindow(KeyRecorder* recorder);
    void RememberForegroundWindow();
    std::string GetForegroundExePath();
    WindowId foregroundWindow() const { return foregroundWindow_; }
    // End of the pause after an action; the shell calls it when the pause it started is
    // over, and when a framed dialog closes.
    void Reenable() { enabled_ = true; }
    // The reports may have missed keys: the session was locked, the input went to another
    // desktop (the secure one of Ctrl+Alt+Del and of UAC prompts), or the window in front
    // changed, perhaps to or from one whose process the hooks do not reach. The modifiers
    // are read again from the system's key state, and our injected keys that have not come
    // back are forgotten. Between such points the reports alone move what is held.
    void ResyncHeldKeys();

    bool enabled() const { return enabled_; }
    KeyState held() const { return ledger_.held(); }
    bool hooksInstalled() const { return keyboardHook_ != 0 && messageHook_ != 0; }
    // Injected events not yet reported back.
    std::size_t ownKeysPending() const { return ledger_.pending(); }

    using ModifierSide = KeyLedger::ModifierSide;

private:
    // The modifier key an event is, if any, told by its scan code where the vk is side-neutral.
    ModifierSide SideOf(unsigned vk, std::uint32_t flags);
    bool Dispatch(const KeyState& held);
    const Action* FindAction(const std::string& path, const KeyState& held) const;
    // physical: what was held when the trigger was reported.
    void PlayAction(const Action& action, const KeyState& physical);
    // Brings the modifiers of current to those of target; sided also changes a modifier held
    // on the other side than the target's.
    void SyncModifiers(const KeyState& target, const KeyState& current, bool sided = false);
    void SendRecordedKey(const KeyState& held);

    ShortcutTable& table_;
    Settings& settings_;
    WindowId foregroundWindow_ = 0;
    KeyRecorder* recorder_ = nullptr;
    HookId keyboardHook_ = 0;
    HookId messageHook_ = 0;
    ModuleId hookLibrary_ = 0;
    KeySystem system_;
    std::int32_t lastRecordedKey_ = 0;
    bool enabled_ = true;

    KeyLedger ledger_;
};
