// The readers of keycfg.ini and property.ini over the bytes of a file: `load` hands them
// the file it read, the fuzzers a byte buffer, so both go through one reading code.
#pragma once
#include "model/TextFile.h"

class Settings;
class ShortcutTable;

// The table is emptied and filled with what the lines give. False, part way, when the
// table would take more memory than the program allows it; `load` then keeps its own.
bool ReadShortcutLines(ShortcutTable& table, textfile::LineReader& reader);
// The lines are applied over the current values.
void ReadSettingsLines(Settings& settings, textfile::LineReader& reader);
