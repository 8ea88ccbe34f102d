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
    static constexpr unsigned IDM_SHORTCUT_SETTINGS = 40002;
    static constexpr unsigned TaskbarMessage = 0x504;  // opens the Start menu
    static constexpr int StartMenuKeyCode = 0x800;     // Win alone, no vk

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
    // End of the pause after an action; the shell calls it on WM_TIMER IDT_REENABLE.
    void Reenable() { enabled_ = true; }

    bool enabled() const { return enabled_; }
    const KeyState& held() const { return held_; }
    bool hooksInstalled() const { return keyboardHook_ != 0 && messageHook_ != 0; }

private:
    // Folds one event into held_; true for a key-down.
    bool UpdateHeldKeys(unsigned vk, std::uint32_t flags);
    bool Dispatch(KeyState& held);
    bool TryApplication(const std::string& path, const KeyState& held);
    void PlayAction(const Action& action, const KeyState& trigger);
    void SyncModifiers(const KeyState& target, const KeyState& current);
    // The trigger's modifiers less those the system already reports released.
    KeyState StillHeld(const KeyState& physical);
    void SendRecordedKey();
    void SyncSidedModifier(bool press, bool release, std::uint8_t vk, std::uint8_t leftVk,
                           std::uint8_t rightVk, bool targetRight, bool currentRight);

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
};
