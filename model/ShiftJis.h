// Characters of code page 932 (Shift-JIS), the program's text: a lead byte and the byte
// after it make one double-byte character. The one place that says which bytes those are.
#pragma once
#include <cstddef>
#include <string_view>

inline bool isShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
inline bool isShiftJisTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Length in bytes of the character at `at`: 2 for a lead byte followed by a byte that can
// follow it, 1 otherwise (a lone or cut-off lead byte counts as one character of its own).
inline std::size_t shiftJisCharLength(std::string_view text, std::size_t at)
{
    if (at + 1 < text.size() && isShiftJisLeadByte(static_cast<unsigned char>(text[at])) &&
        isShiftJisTrailByte(static_cast<unsigned char>(text[at + 1])))
        return 2;
    return 1;
}
