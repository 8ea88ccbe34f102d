#include "ui/KeyVocabulary.h"

namespace {

constexpr unsigned KeyCount = 256;

using NameTable = std::array<const char*, KeyCount>;

NameTable BuildNameTable()
{
    NameTable table{};
#define VR_KEY_NAME(vk, name) table[vk] = name;
#include "ui/KeyNames.inc"
#undef VR_KEY_NAME
    return table;
}

const NameTable& Names()
{
    static const NameTable table = BuildNameTable();
    return table;
}

constexpr const char* Separator = " + ";

void AppendPart(std::string& text, const char* part)
{
    if (!text.empty())
        text += Separator;
    text += part;
}

}  // namespace

std::string KeyName(unsigned vk)
{
    if (vk >= KeyCount || Names()[vk] == nullptr)
        return {};
    return Names()[vk];
}

bool HasKeyName(unsigned vk)
{
    return !KeyName(vk).empty();
}

std::string FormatKeyStroke(const KeyStroke& stroke, bool withKeyName)
{
    std::string text;
    if (stroke.ctrl)
        AppendPart(text, "Ctrl");
    if (stroke.alt)
        AppendPart(text, "Alt");
    if (stroke.shift)
        AppendPart(text, "Shift");
    if (stroke.win)
        AppendPart(text, "Win");
    if (withKeyName && stroke.vk != 0) {
        // A key without a name adds nothing, not even a separator.
        const std::string name = KeyName(stroke.vk);
        if (!name.empty())
            AppendPart(text, name.c_str());
    }
    return text;
}

const std::array<unsigned, KeyChoiceCount>& KeyChoiceList()
{
    // Position 85 (the 86th) offers NumLock: it has a name, and a second Scroll Lock
    // there would leave it out of every picker. ";" is 187, what the key of a Japanese
    // keyboard sends. 変換 and 無変換 come last; the IME's mode keys (半角/全角, カタカナ
    // ひらがな, 英数) are not offered, as the codes they send change with the IME's state.
    static const std::array<unsigned, KeyChoiceCount> list = {
        0,   8,   13,  27,  9,   20,  32,  37,  38,  39,  40,  45,  46,  36,  35,  33,  34,  44,  145, 19,
        48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,
        75,  76,  77,  78,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  93,  96,  97,  98,
        99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118,
        119, 120, 121, 122, 123, 144, 188, 190, 191, 226, 186, 187, 192, 189, 222, 220, 219, 221, 28,  29,
    };
    return list;
}

unsigned OfferedKey(unsigned vk)
{
    constexpr unsigned OldSemicolon = 185, Semicolon = 187;
    return vk == OldSemicolon ? Semicolon : vk;
}
