#include "model/KeyStroke.h"

void KeyStroke::fromCode(int code)
{
    const unsigned bits = static_cast<unsigned>(code);
    vk = bits & 0xFFu;
    ctrl = (bits & CtrlBit) ? 1 : 0;
    alt = (bits & AltBit) ? 1 : 0;
    shift = (bits & ShiftBit) ? 1 : 0;
    win = (bits & WinBit) ? 1 : 0;
}

int KeyStroke::toCode() const
{
    return static_cast<int>(vk & 0xFFu) | (ctrl ? CtrlBit : 0) | (alt ? AltBit : 0) | (shift ? ShiftBit : 0) |
           (win ? WinBit : 0);
}

void KeyStroke::clear()
{
    *this = KeyStroke();
}

KeyStroke KeyStroke::ofCode(int code)
{
    KeyStroke key;
    key.fromCode(code);
    return key;
}
