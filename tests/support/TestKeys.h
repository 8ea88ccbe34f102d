// How every test writes keys: key codes as `Ctrl | 'E'`, an action from its codes, and the
// physical keys of a keyboard (vk, scan code, extended) for tests that report key events.
// Portable: native and Windows tests share it.
#pragma once
#include "model/Action.h"
#include "model/KeyStroke.h"

#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

inline constexpr int Ctrl = KeyStroke::CtrlBit, Alt = KeyStroke::AltBit, Shift = KeyStroke::ShiftBit,
                     Win = KeyStroke::WinBit;

inline Action MakeAction(const std::string& name, int input, const std::vector<int>& outputs = {})
{
    Action action(name);
    action.setInput(KeyStroke::ofCode(input));
    for (int code : outputs) action.insertOutput(KeyStroke::ofCode(code), action.outputCount());
    return action;
}

struct PhysicalKey {
    const char* name;
    std::uint8_t vk, scan;
    bool extended;
};

// Both sides of Shift, Ctrl, Alt and Win first; the model check presses the first
// ModelCheckKeys of them, so new keys go at the end.
// clang-format off
inline constexpr PhysicalKey PhysicalKeys[] = {
    {"LShift", 0x10, 0x2A, false}, {"RShift", 0x10, 0x36, false}, {"LCtrl", 0x11, 0x1D, false},
    {"RCtrl", 0x11, 0x1D, true},   {"LAlt", 0x12, 0x38, false},   {"RAlt", 0x12, 0x38, true},
    {"LWin", 0x5B, 0x5B, true},    {"RWin", 0x5C, 0x5C, true},    {"F1", 0x70, 0x3B, false},
    {"F2", 0x71, 0x3C, false},     {"F3", 0x72, 0x3D, false},     {"F4", 0x73, 0x3E, false},
    {"F5", 0x74, 0x3F, false},     {"F6", 0x75, 0x40, false},     {"E", 0x45, 0x12, false},
    {"A", 0x41, 0x1E, false},      {"Enter", 0x0D, 0x1C, false},  {"C", 0x43, 0x2E, false},
    {"F13", 0x7C, 0x64, false},
    // The ";", 変換 and 無変換 keys of a Japanese keyboard.
    {"Semicolon", 0xBB, 0x27, false}, {"Henkan", 0x1C, 0x79, false}, {"Muhenkan", 0x1D, 0x7B, false},
};
// clang-format on
inline constexpr int ModifierKeys = 8;
inline constexpr int ModelCheckKeys = 17;

inline const PhysicalKey& PhysicalKeyNamed(const std::string& name)
{
    for (const PhysicalKey& key : PhysicalKeys)
        if (name == key.name) return key;
    throw std::invalid_argument("no physical key " + name);
}

// MapVirtualKey on a US or Japanese layout for the keys the engine asks about: a sided
// modifier (VK_LSHIFT..VK_RMENU) to its scan code (0xE0 before an extended one), or a scan
// code (0x100 added for an extended one) back to the sided modifier; 0 for any other key.
inline unsigned MapSidedModifier(unsigned code, bool toScan)
{
    static constexpr unsigned Scans[] = {0x2A, 0x36, 0x1D, 0xE01D, 0x38, 0xE038};
    for (unsigned vk = 0xA0; vk <= 0xA5; ++vk) {
        const unsigned scan = Scans[vk - 0xA0];
        if (toScan && code == vk) return scan;
        if (!toScan && code == ((scan & 0xFF) | (scan > 0xFF ? 0x100 : 0))) return vk;
    }
    return 0;
}
