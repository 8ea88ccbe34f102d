// The readers of keycfg.ini and property.ini over any line source: `load` hands them the
// file, the fuzzers a byte buffer, so both go through one reading code.
#pragma once
#include "model/TextFile.h"

class Settings;
class ShortcutTable;

// False, with the table unchanged, when the reader is not open; otherwise the table is
// replaced by what the lines give, and the result is true.
bool ReadShortcutLines(ShortcutTable& table, textfile::LineReader& reader);
// False, with the settings unchanged, when the reader is not open; otherwise the lines
// are applied over the current values, and the result is true.
bool ReadSettingsLines(Settings& settings, textfile::LineReader& reader);
