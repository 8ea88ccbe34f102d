#include "model/AsciiCase.h"

#include "model/ShiftJis.h"

namespace {

unsigned char foldAsciiLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (isShiftJisLeadByte(ca) && i + 1 < a.size()) {
            if (ca != cb || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (foldAsciiLetter(ca) != foldAsciiLetter(cb)) {
            return false;
        }
    }
    return true;
}

std::string foldAsciiCase(std::string_view text)
{
    std::string folded(text);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto c = static_cast<unsigned char>(folded[i]);
        if (isShiftJisLeadByte(c) && i + 1 < folded.size())
            ++i;  // the trail byte stays as it is
        else
            folded[i] = static_cast<char>(foldAsciiLetter(c));
    }
    return folded;
}
