#include "engine/KeyEngine.h"

#include "contract/HookContract.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr unsigned LastVirtualKey = 255;

constexpr std::uint8_t VK_SHIFT_ = 0x10, VK_CONTROL_ = 0x11, VK_MENU_ = 0x12;
constexpr std::uint8_t VK_LWIN_ = 0x5B, VK_RWIN_ = 0x5C;
constexpr std::uint8_t VK_LSHIFT_ = 0xA0, VK_RSHIFT_ = 0xA1;
constexpr std::uint8_t VK_LCONTROL_ = 0xA2, VK_RCONTROL_ = 0xA3;
constexpr std::uint8_t VK_LMENU_ = 0xA4, VK_RMENU_ = 0xA5;

// The four modifiers in the order playback changes them: Shift, Win, Ctrl, Alt.
struct Modifier {
    std::uint8_t KeyStroke::*held;
    std::uint8_t KeyState::*right;
    std::uint8_t vk;  // side-neutral code; the Windows keys go by their own codes
    std::uint8_t leftVk, rightVk;
    KeyLedger::ModifierSide left;
};
constexpr Modifier Modifiers[] = {
    {&KeyStroke::shift, &KeyState::rightShift, VK_SHIFT_, VK_LSHIFT_, VK_RSHIFT_, KeyLedger::LeftShift},
    {&KeyStroke::win, &KeyState::rightWin, 0, VK_LWIN_, VK_RWIN_, KeyLedger::LeftWin},
    {&KeyStroke::ctrl, &KeyState::rightCtrl, VK_CONTROL_, VK_LCONTROL_, VK_RCONTROL_, KeyLedger::LeftCtrl},
    {&KeyStroke::alt, &KeyState::rightAlt, VK_MENU_, VK_LMENU_, VK_RMENU_, KeyLedger::LeftAlt},
};

KeyLedger::ModifierSide Side(KeyLedger::ModifierSide left, bool right)
{
    return static_cast<KeyLedger::ModifierSide>(left + (right ? 1 : 0));
}

}  // namespace

KeyEngine::KeyEngine(ShortcutTable& table, Settings& settings, KeySystem system)
    : table_(table), settings_(settings), system_(system), ledger_(system.keyboard)
{}

bool KeyEngine::SetHooks(bool on)
{
    if (!on) {
        ledger_.GiveUpOwnKeys(false);  // nothing is reported back once the hooks are out
        if (keyboardHook_ != 0) {
            system_.hooks.unhook(keyboardHook_);
            keyboardHook_ = 0;
        }
        if (messageHook_ != 0) {
            system_.hooks.unhook(messageHook_);
            messageHook_ = 0;
        }
        return true;
    }
    // On failure whatever is installed stays installed; the next call completes it.
    if (hookLibrary_ == 0) {
        hookLibrary_ = system_.hooks.loadLibrary(HookContract::LibraryName);
        if (hookLibrary_ == 0) {
            system_.shell.tellHooksFailed(HookStep::Library);
            return false;
        }
    }
    if (keyboardHook_ == 0) {
        keyboardHook_ = system_.hooks.setHook(
            KeyboardHookType, system_.hooks.findProc(hookLibrary_, HookContract::KeyboardProcName), hookLibrary_);
        if (keyboardHook_ == 0) {
            system_.shell.tellHooksFailed(HookStep::KeyboardHook);
            return false;
        }
        // Keys pressed or let go while the hooks were out were never reported: start from
        // the system's key state.
        ledger_.ReadKeyState();
    }
    if (messageHook_ == 0) {
        messageHook_ = system_.hooks.setHook(
            MessageHookType, system_.hooks.findProc(hookLibrary_, HookContract::MessageProcName), hookLibrary_);
        if (messageHook_ == 0) {
            system_.shell.tellHooksFailed(HookStep::MessageHook);
            return false;
        }
    }
    return true;
}

void KeyEngine::ResyncHeldKeys()
{
    if (keyboardHook_ == 0)
        return;  // nothing is reported now, and the hooks read the key state when they go in
    ledger_.GiveUpOwnKeys(true);
    ledger_.ReadKeyState();
}

bool KeyEngine::OnKeyEvent(const KeyReport& report)
{
    // Any process may send WM_COPYDATA to our window: a record that cannot be a key event
    // from the hook library changes nothing and passes.
    if (report.lpData == nullptr || report.cbData < sizeof(std::uint32_t) || report.dwData > LastVirtualKey)
        return false;
    // Reports that arrive while our hooks are removed (a dialog is open) come from hooks
    // we no longer own, e.g. those of an earlier instance that was killed: not ours to act on.
    if (keyboardHook_ == 0)
        return false;
    std::uint32_t flags = 0;
    std::memcpy(&flags, report.lpData, sizeof flags);
    const auto vk = static_cast<unsigned>(report.dwData);

    // The hook reports our injected keys back like any other; they are held as the user's
    // are, but they never trigger anything.
    const bool down = !KeyFlags(flags).up();  // auto-repeats count as key-downs
    if (ledger_.Report(vk, flags, SideOf(vk, flags)))
        return false;
    // What is held now; reports handled while an action plays do not change it.
    const KeyState held = ledger_.held();
    if (recorder_ != nullptr) {
        // Only a key newly pressed is recorded: auto-repeat sends the same vk again, a
        // release in between (-1) makes the next press count.
        if (down) {
            if (static_cast<std::int32_t>(held.vk) != lastRecordedKey_ && recorder_->canRecord(held.vk))
                SendRecordedKey(held);
            lastRecordedKey_ = static_cast<std::int32_t>(held.vk);
        } else {
            lastRecordedKey_ = -1;
        }
        return false;
    }
    if (!down)
        return false;
    return Dispatch(held);
}

bool KeyEngine::SetRecordingWindow(KeyRecorder* recorder)
{
    if (recorder == nullptr) {
        recorder_ = nullptr;
        return SetHooks(false);
    }
    recorder_ = recorder;
    const bool installed = SetHooks(true);
    lastRecordedKey_ = 0;
    return installed;
}

void KeyEngine::RememberForegroundWindow()
{
    foregroundWindow_ = system_.desktop.foregroundWindow();
}

std::string KeyEngine::GetForegroundExePath()
{
    foregroundWindow_ = system_.desktop.foregroundWindow();
    return system_.desktop.exePathOfWindow(foregroundWindow_);
}

KeyEngine::ModifierSide KeyEngine::SideOf(unsigned vk, std::uint32_t flags)
{
    // The scan code with its extended bit tells the left key from the right one, which
    // the side-neutral VK_SHIFT/VK_CONTROL/VK_MENU of the report do not.
    switch (system_.keyboard.mapVirtualKey((flags >> 16) & 0x3FF, MapScanToVkEx)) {
    case VK_LSHIFT_:
        return KeyLedger::LeftShift;
    case VK_LCONTROL_:
        return KeyLedger::LeftCtrl;
    case VK_LMENU_:
        return KeyLedger::LeftAlt;
    default:
        break;
    }
    switch (vk) {
    case VK_SHIFT_:
        return KeyLedger::RightShift;
    case VK_CONTROL_:
        return KeyLedger::RightCtrl;
    case VK_MENU_:
        return KeyLedger::RightAlt;
    case VK_LWIN_:
        return KeyLedger::LeftWin;
    case VK_RWIN_:
        return KeyLedger::RightWin;
    default:
        return KeyLedger::NoModifier;
    }
}

bool KeyEngine::Dispatch(const KeyState& held)
{
    const bool hotKey = settings_.useHotKey && settings_.hotKey.toCode() == held.toCode();
    if (!enabled_) {
        // The pause after an action: an auto-repeat of a held trigger, or a quick second
        // press, must not reach the application raw, so whatever would act is swallowed.
        return hotKey || FindAction(GlobalPath, held) != nullptr || FindAction(GetForegroundExePath(), held) != nullptr;
    }
    if (hotKey) {
        RememberForegroundWindow();
        system_.shell.openSettingsForWindowInFront();
        // The modifiers stay held: keys typed before the settings window opens still need
        // them, and when the hooks go back in the key state is read afresh.
        return true;
    }
    if (const Action* action = FindAction(GlobalPath, held)) {
        PlayAction(*action, held);
        return true;
    }
    if (const Action* action = FindAction(GetForegroundExePath(), held)) {
        PlayAction(*action, held);
        return true;
    }
    return false;
}

const Action* KeyEngine::FindAction(const std::string& path, const KeyState& held) const
{
    // The first entry with that path only; later entries with the same path are not searched.
    const AppEntry* entry = std::as_const(table_).at(table_.findByPath(path));
    return entry == nullptr ? nullptr : entry->findActionByInput(held.toCode());
}

void KeyEngine::PlayAction(const Action& action, const KeyState& physical)
{
    // From here: opening the Start menu lets other sent messages (key reports) in,
    // and a trigger among them must not start a playback inside this one.
    enabled_ = false;
    ledger_.LookAtUser();
    KeyState current = physical;
    bool changed[std::size(Modifiers)] = {};
    for (int i = 0; i < action.outputCount(); ++i) {
        KeyState target(action.outputAt(i));
        if (target.toCode() == StartMenuKeyCode) {
            system_.desktop.openStartMenu();
            continue;
        }
        SyncModifiers(target, current);
        for (std::size_t m = 0; m < std::size(Modifiers); ++m) {
            const Modifier& modifier = Modifiers[m];
            if (target.*modifier.held != current.*modifier.held)
                changed[m] = true;
            else if (target.*modifier.held)
                target.*modifier.right = current.*modifier.right;  // still the key that is down
        }
        if (target.vk != 0) {
            const auto vk = static_cast<std::uint8_t>(target.vk);
            ledger_.Inject(vk, 0, KeyEventExtended, KeyLedger::NoModifier);
            ledger_.Inject(vk, 0, KeyEventExtended | KeyEventUp, KeyLedger::NoModifier);
        }
        current = target;
    }
    // Back to what the user holds now, for the modifiers the outputs changed; the others
    // are as the user left them. The reports lag behind: a modifier let go before or during
    // the playback, whose release is queued before our events, is not pressed again.
    KeyState back = current;
    for (std::size_t m = 0; m < std::size(Modifiers); ++m) {
        if (changed[m]) {
            const Modifier& modifier = Modifiers[m];
            const auto right = static_cast<ModifierSide>(modifier.left + 1);
            const bool leftHeld = ledger_.UserHolds(modifier.left);
            const bool rightHeld = ledger_.UserHolds(right);
            KeyState::SetSides(back.*modifier.held, back.*modifier.right, leftHeld, rightHeld);
        }
    }
    SyncModifiers(back, current, true);
    // The hook library swallowed the trigger's key-down; the application gets its key-up.
    // A trigger of modifiers alone (a hand-edited file may hold one) has no key of its own:
    // its modifier was pressed back above, and a key-up of key code 0 is no key at all.
    if (physical.vk != 0)
        ledger_.Inject(static_cast<std::uint8_t>(physical.vk), 0, KeyEventUp, KeyLedger::NoModifier);

    // The pause after an action: for `timer` ms a key that would act is swallowed. Our own
    // keys are told apart by the queue above, so the pause is not what keeps a playback
    // from feeding itself.
    const auto pause = static_cast<unsigned>(std::clamp<std::int32_t>(settings_.timer, 1, LongestPauseMs));
    if (!system_.shell.startPause(pause))
        enabled_ = true;  // without the timer nothing would ever switch the engine on again
}

void KeyEngine::SyncModifiers(const KeyState& target, const KeyState& current, bool sided)
{
    const auto inject = [this](const Modifier& m, bool right, bool up) {
        const ModifierSide side = Side(m.left, right);
        const std::uint8_t sidedVk = right ? m.rightVk : m.leftVk;
        if (m.vk == 0) {
            ledger_.Inject(sidedVk, 0, up ? KeyEventUp : 0, side);  // the Windows keys: no scan code
            return;
        }
        const auto scan = static_cast<std::uint8_t>(system_.keyboard.mapVirtualKey(sidedVk, MapVkToScan));
        ledger_.Inject(m.vk, scan, (up ? KeyEventUp : 0) | (right ? KeyEventExtended : 0), side);
    };
    // A press takes its side from the target, a release from the current state, so the
    // key released is the one that was pressed.
    for (const Modifier& m : Modifiers) {
        const bool want = target.*m.held, have = current.*m.held;
        const bool wantRight = target.*m.right, haveRight = current.*m.right;
        const bool release = have && (!want || (sided && wantRight != haveRight));
        const bool press = want && (!have || (sided && wantRight != haveRight));
        if (release)
            inject(m, haveRight, true);
        if (press)
            inject(m, wantRight, false);
    }
}

void KeyEngine::SendRecordedKey(const KeyState& held)
{
    if (held.vk != 0)
        recorder_->recordKey(held.toCode());
}
