// What the user is told when keycfg.ini or property.ini cannot be read or saved: which
// file, which folder, the system's reason, and what happens now. One home for these texts,
// shown by the start-up, the shortcut settings window and the hotkey dialog.
#pragma once
#include "model/ModelSystem.h"

#include <windows.h>

#include <string>

enum class FileNotice {
    NotRead,             // at start-up: the program ends, the file untouched
    BuiltInSetNotSaved,  // first start: the program runs with the built-in set
    DefaultsNotSaved,    // first start: the program runs with the default settings
    ShortcutsNotSaved,   // the settings window closing: OK goes back to it, Cancel closes it
    SettingsNotSaved,    // the hotkey dialog's OK: back to the dialog
};

// A modal message box owned by `owner` (none at start-up); returns the button pressed.
int ShowFileNotice(HWND owner, FileNotice notice, const FileResult& result);
// The system's own text for one of its error codes, with the code: "...（エラー 5）".
std::string SystemReason(unsigned long code);
