// Key names, combination texts and the picker's key list.
#include "ui/KeyVocabulary.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(KeyName, ShiftJisBytesAndEdgeEntries)
{
    // clang-format off
    const std::pair<unsigned, const char*> cases[] = {
        {93, "\xB1\xCC\xDF\xD8\xB9\xB0\xBC\xAE\xDD\xB7\xB0"},  // half-width katakana
        {1, "\x8D\xB6\x83\x4E\x83\x8A\x83\x62\x83\x4E"},       // left click
        {37, "\x81\xA9"}, {226, "\\"}, {0, " "}, {108, "Num-"}, {109, "Num-"}, {91, "Win"}, {92, "Win"},
        {185, ";"}, {187, ";"}, {124, ""}, {144, "NumLock"}, {145, "Scroll Lock"}, {256, ""}, {0xFFFFFFFFu, ""},
        {28, "\x95\xCF\x8A\xB7"}, {29, "\x96\xB3\x95\xCF\x8A\xB7"},  // 変換, 無変換
        {0x19, ""}, {0xF0, ""}, {0xF2, ""}, {0xF3, ""}, {0xF4, ""},       // the IME's mode keys
    };
    // clang-format on
    for (const auto& [vk, name] : cases) EXPECT_EQ(KeyName(vk), name) << vk;
    int named = 0;
    for (unsigned vk = 0; vk < 256; ++vk) named += HasKeyName(vk);
    EXPECT_EQ(named, 112);
}

TEST(FormatKeyStroke, ModifiersInFixedOrderThenTheNameIfAny)
{
    // clang-format off
    const struct {
        int code;
        bool withKeyName;
        const char* text;
    } cases[] = {
        {0xF70, true, "Ctrl + Alt + Shift + Win + F1"}, {0x541, true, "Ctrl + Shift + A"}, {0x200, true, "Alt"},
        {37, true, "\x81\xA9"}, {0x111, true, "Ctrl + Ctrl"}, {0x86D, true, "Win + Num-"},
        {0, true, ""},  // the " " of vk 0 is not used
        {124, true, ""}, {0x17C, true, "Ctrl"}, {65, false, ""}, {0xA41, false, "Alt + Win"},
        {0x1BB, true, "Ctrl + ;"}, {0x1B9, true, "Ctrl + ;"}, {0x41D, true, "Shift + \x96\xB3\x95\xCF\x8A\xB7"},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(FormatKeyStroke(KeyStroke::ofCode(c.code), c.withKeyName), c.text) << c.code;
}

TEST(KeyChoiceList, AllHundredInOrderEachOnceWithNumLockAtPosition86AndTheJisKeysLast)
{
    std::string names;
    std::set<unsigned> seen;
    for (unsigned vk : KeyChoiceList()) {
        names += KeyName(vk) + ",";
        EXPECT_TRUE(seen.insert(vk).second) << vk;
    }
    EXPECT_EQ(names, " ,BS,Enter,ESC,TAB,Caps,Space,\x81\xA9,\x81\xAA,\x81\xA8,\x81\xAB,Insert,DEL,Home,End,"
                     "Page Up,Page Down,PrintScreen,Scroll Lock,Pause,"
                     "0,1,2,3,4,5,6,7,8,9,A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T,U,V,W,X,Y,Z,"
                     "\xB1\xCC\xDF\xD8\xB9\xB0\xBC\xAE\xDD\xB7\xB0,"
                     "Num0,Num1,Num2,Num3,Num4,Num5,Num6,Num7,Num8,Num9,Num*,Num+,Num-,Num-,Num.,Num/,"
                     "F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12,NumLock,"
                     "<,>,/,\\,:,;,@,=,^,|,[,],\x95\xCF\x8A\xB7,\x96\xB3\x95\xCF\x8A\xB7,");
    EXPECT_EQ(KeyChoiceList()[85], 144u);
    EXPECT_EQ(KeyChoiceList()[91], 187u);  // what the ";" key of a Japanese keyboard sends
    EXPECT_EQ(OfferedKey(185), 187u);
    EXPECT_EQ(OfferedKey(186), 186u);
}

}  // namespace
