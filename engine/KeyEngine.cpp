#include "engine/KeyEngine.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t KeyUpBit = 0x80000000u;  // transition bit of the flags word
constexpr unsigned LastVirtualKey = 255;

constexpr std::uint8_t VK_SHIFT_ = 0x10, VK_CONTROL_ = 0x11, VK_MENU_ = 0x12;
constexpr std::uint8_t VK_LWIN_ = 0x5B, VK_RWIN_ = 0x5C;
constexpr std::uint8_t VK_LSHIFT_ = 0xA0, VK_RSHIFT_ = 0xA1;
constexpr std::uint8_t VK_LCONTROL_ = 0xA2, VK_RCONTROL_ = 0xA3;
constexpr std::uint8_t VK_LMENU_ = 0xA4, VK_RMENU_ = 0xA5;

constexpr const char* HookLibraryName = "varokint";
constexpr const char* HookErrorCaption = "Error";

}  // namespace

KeyEngine::KeyEngine(ShortcutTable& table, Settings& settings, WindowId mainWindow, KeySystem& system)
    : table_(table), settings_(settings), mainWindow_(mainWindow), system_(system)
{
}

bool KeyEngine::SetHooks(bool on)
{
    if (!on) {
        if (keyboardHook_ != 0) {
            system_.unhook(keyboardHook_);
            keyboardHook_ = 0;
        }
        if (messageHook_ != 0) {
            system_.unhook(messageHook_);
            messageHook_ = 0;
        }
        return true;
    }
    // On failure whatever is installed stays installed; the next call completes it.
    if (hookLibrary_ == 0) {
        hookLibrary_ = system_.loadLibrary(HookLibraryName);
        if (hookLibrary_ == 0) {
            system_.showMessage("DLLファイルの読みとりに失敗", HookErrorCaption);
            return false;
        }
    }
    if (keyboardHook_ == 0) {
        keyboardHook_ = system_.setHook(KeyboardHookType, system_.findProc(hookLibrary_, "VRKeyboardProc"),
                                        hookLibrary_);
        if (keyboardHook_ == 0) {
            system_.showMessage("フック登録に失敗", HookErrorCaption);
            return false;
        }
    }
    if (messageHook_ == 0) {
        messageHook_ = system_.setHook(MessageHookType, system_.findProc(hookLibrary_, "VRMsgProc"), hookLibrary_);
        if (messageHook_ == 0) {
            system_.showMessage("メッセージフック登録に失敗", HookErrorCaption);
            return false;
        }
    }
    return true;
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

    const bool down = UpdateHeldKeys(static_cast<unsigned>(report.dwData), flags);
    if (recordingWindow_ != 0) {
        // Only a key newly pressed is recorded: auto-repeat sends the same vk again, a
        // release in between (-1) makes the next press count.
        if (down) {
            if (static_cast<std::int32_t>(held_.vk) != lastRecordedKey_ && !system_.loadKeyName(held_.vk).empty())
                SendRecordedKey();
            lastRecordedKey_ = static_cast<std::int32_t>(held_.vk);
        } else {
            lastRecordedKey_ = -1;
        }
        return false;
    }
    if (!down)
        return false;
    return Dispatch(held_);
}

bool KeyEngine::SetRecordingWindow(WindowId window)
{
    if (window == 0) {
        recordingWindow_ = 0;
        return SetHooks(false);
    }
    recordingWindow_ = window;
    const bool installed = SetHooks(true);
    lastRecordedKey_ = 0;
    return installed;
}

void KeyEngine::RememberForegroundWindow()
{
    foregroundWindow_ = system_.foregroundWindow();
}

std::string KeyEngine::GetForegroundExePath()
{
    foregroundWindow_ = system_.foregroundWindow();
    return system_.exePathOfWindow(foregroundWindow_);
}

bool KeyEngine::UpdateHeldKeys(unsigned vk, std::uint32_t flags)
{
    const bool down = (flags & KeyUpBit) == 0;  // auto-repeats count as key-downs
    const std::uint8_t state = down ? 1 : 0;
    held_.vk = 0;

    // The scan code with its extended bit tells the left key from the right one, which
    // the side-neutral VK_SHIFT/VK_CONTROL/VK_MENU of the report do not.
    switch (system_.mapVirtualKey((flags >> 16) & 0x3FF, MapScanToVkEx)) {
    case VK_LSHIFT_:
        held_.shift = state;
        held_.rightShift = 0;
        return down;
    case VK_LCONTROL_:
        held_.ctrl = state;
        held_.rightCtrl = 0;
        return down;
    case VK_LMENU_:
        held_.alt = state;
        held_.rightAlt = 0;
        return down;
    default:
        break;
    }
    switch (vk) {
    case VK_SHIFT_:
        held_.shift = held_.rightShift = state;
        break;
    case VK_CONTROL_:
        held_.ctrl = held_.rightCtrl = state;
        break;
    case VK_MENU_:
        held_.alt = held_.rightAlt = state;
        break;
    case VK_LWIN_:
        held_.win = state;
        held_.rightWin = 0;
        break;
    case VK_RWIN_:
        held_.win = held_.rightWin = state;
        break;
    default:
        held_.vk = vk;
        break;
    }
    return down;
}

bool KeyEngine::Dispatch(KeyState& held)
{
    if (!enabled_)
        return false;
    if (settings_.useHotKey && settings_.hotKey.toCode() == held.toCode()) {
        RememberForegroundWindow();
        // Posted, so the hook library gets its reply before the settings window opens.
        system_.postMessage(mainWindow_, CommandMessage, IDM_SHORTCUT_SETTINGS, 0);
        // The hooks are off while the settings window is open, so the releases of these
        // modifiers are never seen.
        held.clearModifiers();
        return true;
    }
    if (TryApplication("global", held))
        return true;
    return TryApplication(GetForegroundExePath(), held);
}

bool KeyEngine::TryApplication(const std::string& path, const KeyState& held)
{
    AppEntry* entry = table_.at(table_.findByPath(path));
    if (entry == nullptr)
        return false;
    const Action* action = entry->findActionByInput(held.toCode());
    if (action == nullptr)
        return false;
    PlayAction(*action, held);
    return true;
}

void KeyEngine::PlayAction(const Action& action, const KeyState& trigger)
{
    // A copy: sending the taskbar message lets other sent messages (key reports) in,
    // which change held_.
    const KeyState physical = trigger;
    const KeyState restore = StillHeld(physical);
    KeyState current = physical;
    for (int i = 0; i < action.outputCount(); ++i) {
        const KeyState target(action.outputAt(i));
        if (target.toCode() == StartMenuKeyCode) {
            system_.sendMessage(system_.findWindow("Shell_TrayWnd", nullptr), TaskbarMessage, 0, 0);
            continue;
        }
        SyncModifiers(target, current);
        if (target.vk != 0) {
            const auto vk = static_cast<std::uint8_t>(target.vk);
            system_.keybdEvent(vk, 0, KeyEventExtended);
            system_.keybdEvent(vk, 0, KeyEventExtended | KeyEventUp);
        }
        current = target;
    }
    SyncModifiers(restore, current);
    // The hook library swallowed the trigger's key-down; the application gets its key-up.
    system_.keybdEvent(static_cast<std::uint8_t>(physical.vk), 0, KeyEventUp);

    // The pause after an action: keys reported in the next `timer` ms pass on untouched.
    // The keys just injected come back through the hook after this reply, so they cannot
    // trigger actions themselves: an action whose outputs contain its own input plays
    // once per physical press. The price is that an auto-repeating trigger plays at most
    // once per `timer` ms.
    enabled_ = false;
    const unsigned pause = static_cast<unsigned>(std::max<std::int32_t>(settings_.timer, 1));
    if (!system_.setTimer(mainWindow_, IDT_REENABLE, pause))
        enabled_ = true;  // without the timer nothing would ever switch the engine on again
}

KeyState KeyEngine::StillHeld(const KeyState& physical)
{
    // The reported state lags behind the keyboard: a fast typist (or a script) may already
    // have let go of a modifier whose release is queued behind the trigger key. Pressing it
    // again after the outputs would come after that release and leave it stuck down.
    KeyState held = physical;
    if (held.shift && !system_.isKeyDown(VK_SHIFT_))
        held.shift = held.rightShift = 0;
    if (held.ctrl && !system_.isKeyDown(VK_CONTROL_))
        held.ctrl = held.rightCtrl = 0;
    if (held.alt && !system_.isKeyDown(VK_MENU_))
        held.alt = held.rightAlt = 0;
    if (held.win && !system_.isKeyDown(held.rightWin ? VK_RWIN_ : VK_LWIN_))
        held.win = held.rightWin = 0;
    return held;
}

void KeyEngine::SyncSidedModifier(bool press, bool release, std::uint8_t vk, std::uint8_t leftVk,
                                  std::uint8_t rightVk, bool targetRight, bool currentRight)
{
    // A press takes its side from the target, a release from the current state, so the
    // key released is the one that was pressed.
    if (press) {
        const auto scan = static_cast<std::uint8_t>(system_.mapVirtualKey(targetRight ? rightVk : leftVk, MapVkToScan));
        system_.keybdEvent(vk, scan, targetRight ? KeyEventExtended : 0);
    } else if (release) {
        const auto scan = static_cast<std::uint8_t>(system_.mapVirtualKey(currentRight ? rightVk : leftVk, MapVkToScan));
        system_.keybdEvent(vk, scan, KeyEventUp | (currentRight ? KeyEventExtended : 0));
    }
}

void KeyEngine::SyncModifiers(const KeyState& target, const KeyState& current)
{
    SyncSidedModifier(target.shift && !current.shift, !target.shift && current.shift, VK_SHIFT_, VK_LSHIFT_,
                      VK_RSHIFT_, target.rightShift, current.rightShift);
    if (target.win && !current.win)
        system_.keybdEvent(target.rightWin ? VK_RWIN_ : VK_LWIN_, 0, 0);
    else if (!target.win && current.win)
        system_.keybdEvent(current.rightWin ? VK_RWIN_ : VK_LWIN_, 0, KeyEventUp);
    SyncSidedModifier(target.ctrl && !current.ctrl, !target.ctrl && current.ctrl, VK_CONTROL_, VK_LCONTROL_,
                      VK_RCONTROL_, target.rightCtrl, current.rightCtrl);
    SyncSidedModifier(target.alt && !current.alt, !target.alt && current.alt, VK_MENU_, VK_LMENU_, VK_RMENU_,
                      target.rightAlt, current.rightAlt);
}

void KeyEngine::SendRecordedKey()
{
    if (held_.vk != 0)
        system_.sendMessage(recordingWindow_, WM_KEY_RECORDED, static_cast<std::uintptr_t>(held_.toCode()), 0);
}
