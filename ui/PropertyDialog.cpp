#include "ui/PropertyDialog.h"

#include "res/resource.h"
#include "ui/Controls.h"
#include "ui/FileNotices.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The timer is read from what a buffer of this size holds.
constexpr int TextBufferSize = 65000;
constexpr char HelpPage[] = "property.htm";
constexpr char BadTimerText[] = "１以上の整数を入力してください。";
constexpr char BadTimerCaption[] = "警告";

// Leading blanks and a sign are taken, the digits up to the first other character are the
// number, and no digits give 0. Too many digits give the largest value (long is 32 bits here).
long decimalValue(const char* text)
{
    return std::strtol(text, nullptr, 10);
}

}  // namespace

PropertyDialog::PropertyDialog(Settings& settings, HINSTANCE instance)
    : DialogBase(instance, "PROPERTY", HelpPage), settings_(settings), picker_(settings.hotKey, instance)
{}

INT_PTR PropertyDialog::onMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            confirm();
            return TRUE;
        case IDCANCEL:
            EndDialog(window(), Cancelled);
            return TRUE;
        case IDC_USE_HOTKEY:
            applyEnabling();
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void PropertyDialog::forgetControls()
{
    keyCombo_ = ctrlBox_ = altBox_ = shiftBox_ = winBox_ = plusStatic_ = timerEdit_ = nullptr;
    picker_.Forget();
}

void PropertyDialog::initialise()
{
    keyCombo_ = control(IDC_KEY_COMBO);
    ctrlBox_ = control(IDC_CHECK_CTRL);
    altBox_ = control(IDC_CHECK_ALT);
    shiftBox_ = control(IDC_CHECK_SHIFT);
    winBox_ = control(IDC_CHECK_WIN);
    plusStatic_ = control(IDC_PLUS_STATIC);
    timerEdit_ = control(IDC_TIMER_EDIT);

    picker_.Init(window());
    CheckDlgButton(window(), IDC_USE_HOTKEY, settings_.useHotKey ? BST_CHECKED : BST_UNCHECKED);
    applyEnabling();
    char timer[16];
    std::snprintf(timer, sizeof timer, "%d", static_cast<int>(settings_.timer));
    SetWindowTextA(timerEdit_, timer);
}

void PropertyDialog::applyEnabling()
{
    const BOOL on = IsDlgButtonChecked(window(), IDC_USE_HOTKEY) == BST_CHECKED;
    for (HWND control : {ctrlBox_, altBox_, shiftBox_, winBox_, keyCombo_, plusStatic_}) {
        EnableWindow(control, on);
    }
}

void PropertyDialog::confirm()
{
    const long timer = decimalValue(controlText(timerEdit_, TextBufferSize).c_str());
    if (timer <= 0) {
        MessageBoxA(window(), BadTimerText, BadTimerCaption, MB_OK);
        return;
    }
    // An empty picker leaves the hotkey as it was; it is stored even when not in use.
    const Settings before = settings_;
    picker_.Store();
    settings_.useHotKey = IsDlgButtonChecked(window(), IDC_USE_HOTKEY) == BST_CHECKED;
    settings_.timer = static_cast<std::int32_t>(timer);
    if (const FileResult saved = settings_.save(); !saved) {
        // The values apply only once they are kept; the controls keep what the user chose,
        // for another OK once the cause is gone, or ｷｬﾝｾﾙ.
        settings_ = before;
        ShowFileNotice(window(), FileNotice::SettingsNotSaved, saved);
        return;
    }
    EndDialog(window(), IDOK);
}
