// Key names, the keys the pickers offer, and the text of a key combination. Portable:
// the names come from ui/KeyNames.inc, the same table the program's string resource holds.
#pragma once
#include "model/KeyStroke.h"

#include <array>
#include <cstddef>
#include <string>

// The name of a virtual-key code, or "" when it has none.
std::string KeyName(unsigned vk);
bool HasKeyName(unsigned vk);

// "Ctrl + Alt + Shift + Win + name" for the flags that are set, and the key name only
// when withKeyName is on and vk is not 0.
std::string FormatKeyStroke(const KeyStroke& stroke, bool withKeyName);

constexpr std::size_t KeyChoiceCount = 100;
// The virtual-key codes a key picker offers, by list position.
const std::array<unsigned, KeyChoiceCount>& KeyChoiceList();
// The code a picker offers for vk: 187 for the ";" stored as 185, which no keyboard
// sends; vk itself otherwise.
unsigned OfferedKey(unsigned vk);
