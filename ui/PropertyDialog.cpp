#include "ui/PropertyDialog.h"

#include "app/HelpLauncher.h"
#include "res/resource.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int TextBufferSize = 65000;
constexpr char HelpPage[] = "property.htm";
constexpr char BadTimerText[] = "１以上の整数を入力してください。";
constexpr char BadTimerCaption[] = "警告";

// Leading blanks and a sign are taken, the digits up to the first other character are the
// number, and no digits give 0. Too many digits give the largest value (long is 32 bits here).
long DecimalValue(const char* text) { return std::strtol(text, nullptr, 10); }

}  // namespace

PropertyDialog::PropertyDialog(Settings& settings, HINSTANCE instance)
    : KeyPicker(settings.hotKey, instance), settings_(settings)
{
}

INT_PTR PropertyDialog::Run(HWND owner)
{
    return DialogBinding<PropertyDialog>::Run(instance(), "PROPERTY", owner, *this);
}

INT_PTR PropertyDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(window);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            Confirm();
            return TRUE;
        case IDCANCEL:
            EndDialog(window, 0);
            return TRUE;
        case IDC_HELP_BUTTON:
            OpenHelpPage(window, HelpPage);
            return TRUE;
        case IDC_USE_HOTKEY:
            ApplyEnabling();
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        keyCombo_ = ctrlBox_ = altBox_ = shiftBox_ = winBox_ = plusStatic_ = timerEdit_ = nullptr;
        ForgetWindow();
        return FALSE;
    }
    return FALSE;
}

void PropertyDialog::OnInitDialog(HWND window)
{
    keyCombo_ = GetDlgItem(window, IDC_KEY_COMBO);
    ctrlBox_ = GetDlgItem(window, IDC_CHECK_CTRL);
    altBox_ = GetDlgItem(window, IDC_CHECK_ALT);
    shiftBox_ = GetDlgItem(window, IDC_CHECK_SHIFT);
    winBox_ = GetDlgItem(window, IDC_CHECK_WIN);
    plusStatic_ = GetDlgItem(window, IDC_PLUS_STATIC);
    timerEdit_ = GetDlgItem(window, IDC_TIMER_EDIT);

    InitPicker(window);
    CheckDlgButton(window, IDC_USE_HOTKEY, settings_.useHotKey ? BST_CHECKED : BST_UNCHECKED);
    ApplyEnabling();
    char timer[16];
    std::snprintf(timer, sizeof timer, "%d", static_cast<int>(settings_.timer));
    SetWindowTextA(timerEdit_, timer);
}

void PropertyDialog::ApplyEnabling()
{
    const BOOL on = IsDlgButtonChecked(window(), IDC_USE_HOTKEY) == BST_CHECKED;
    for (HWND control : {ctrlBox_, altBox_, shiftBox_, winBox_, keyCombo_, plusStatic_}) {
        EnableWindow(control, on);
    }
}

void PropertyDialog::Confirm()
{
    std::string text(TextBufferSize, '\0');
    GetWindowTextA(timerEdit_, text.data(), TextBufferSize);
    const long timer = DecimalValue(text.c_str());
    if (timer <= 0) {
        MessageBoxA(window(), BadTimerText, BadTimerCaption, MB_OK);
        return;
    }
    // An empty picker leaves the hotkey as it was; it is stored even when not in use.
    StorePicker();
    settings_.useHotKey = IsDlgButtonChecked(window(), IDC_USE_HOTKEY) == BST_CHECKED;
    settings_.timer = static_cast<std::int32_t>(timer);
    settings_.save();
    EndDialog(window(), 1);
}
