// One key with its modifier keys, and its packed integer form (the key code) that both
// settings files store and every comparison of keys uses.
#pragma once
#include <cstdint>

struct KeyStroke {
    std::uint32_t vk = 0;  // virtual-key code 0..255; 0 means no key
    std::uint8_t ctrl = 0, alt = 0, shift = 0, win = 0;

    static constexpr int CtrlBit = 0x100;
    static constexpr int AltBit = 0x200;
    static constexpr int ShiftBit = 0x400;
    static constexpr int WinBit = 0x800;

    // Bits 12 and above are ignored.
    void fromCode(int code);
    // vk | 256 ctrl | 512 alt | 1024 shift | 2048 win; any nonzero flag byte counts as 1.
    int toCode() const;
    void clear();

    static KeyStroke ofCode(int code);

    bool operator==(const KeyStroke& other) const { return toCode() == other.toCode(); }
    bool operator!=(const KeyStroke& other) const { return !(*this == other); }
};
