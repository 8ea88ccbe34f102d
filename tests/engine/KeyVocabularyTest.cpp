// Key names, combination texts and the picker's key list.
#include "ui/KeyVocabulary.h"

#include <gtest/gtest.h>

#include <set>

namespace {

KeyStroke Stroke(unsigned vk, bool ctrl, bool alt, bool shift, bool win)
{
    KeyStroke stroke;
    stroke.vk = vk;
    stroke.ctrl = ctrl;
    stroke.alt = alt;
    stroke.shift = shift;
    stroke.win = win;
    return stroke;
}

TEST(KeyName, NamesAreShiftJisBytes)
{
    EXPECT_EQ(KeyName(93), "\xB1\xCC\xDF\xD8\xB9\xB0\xBC\xAE\xDD\xB7\xB0");  // half-width katakana
    EXPECT_EQ(KeyName(1), "\x8D\xB6\x83\x4E\x83\x8A\x83\x62\x83\x4E");       // left click
    EXPECT_EQ(KeyName(37), "\x81\xA9");
    EXPECT_EQ(KeyName(40), "\x81\xAB");
    EXPECT_EQ(KeyName(226), "\\");
}

TEST(KeyName, SpecialEntries)
{
    EXPECT_EQ(KeyName(0), " ");
    EXPECT_EQ(KeyName(108), "Num-");
    EXPECT_EQ(KeyName(109), "Num-");
    EXPECT_EQ(KeyName(91), "Win");
    EXPECT_EQ(KeyName(92), "Win");
    EXPECT_EQ(KeyName(185), ";");
    EXPECT_EQ(KeyName(187), "");
    EXPECT_EQ(KeyName(144), "NumLock");
    EXPECT_EQ(KeyName(145), "Scroll Lock");
    EXPECT_EQ(KeyName(256), "");
    EXPECT_EQ(KeyName(0xFFFFFFFFu), "");
}

TEST(KeyName, RangesAndCount)
{
    for (unsigned d = 0; d < 10; ++d) {
        EXPECT_EQ(KeyName(48 + d), std::string(1, char('0' + d)));
        EXPECT_EQ(KeyName(96 + d), "Num" + std::to_string(d));
    }
    for (unsigned c = 0; c < 26; ++c)
        EXPECT_EQ(KeyName(65 + c), std::string(1, char('A' + c)));
    for (unsigned f = 0; f < 12; ++f)
        EXPECT_EQ(KeyName(112 + f), "F" + std::to_string(f + 1));

    int named = 0;
    for (unsigned vk = 0; vk < 256; ++vk)
        named += HasKeyName(vk);
    EXPECT_EQ(named, 109);
    EXPECT_FALSE(HasKeyName(124));  // F13
    EXPECT_TRUE(HasKeyName(0));
}

TEST(FormatKeyStroke, ModifiersInFixedOrderThenName)
{
    EXPECT_EQ(FormatKeyStroke(Stroke(112, true, true, true, true), true), "Ctrl + Alt + Shift + Win + F1");
    EXPECT_EQ(FormatKeyStroke(Stroke(65, true, false, true, false), true), "Ctrl + Shift + A");
    EXPECT_EQ(FormatKeyStroke(Stroke(0, false, true, false, false), true), "Alt");
    EXPECT_EQ(FormatKeyStroke(Stroke(37, false, false, false, false), true), "\x81\xA9");
    EXPECT_EQ(FormatKeyStroke(Stroke(17, true, false, false, false), true), "Ctrl + Ctrl");
    EXPECT_EQ(FormatKeyStroke(Stroke(109, false, false, false, true), true), "Win + Num-");
}

TEST(FormatKeyStroke, EmptyCases)
{
    EXPECT_EQ(FormatKeyStroke(Stroke(0, false, false, false, false), true), "");  // the " " of vk 0 is not used
    EXPECT_EQ(FormatKeyStroke(Stroke(187, false, false, false, false), true), "");
    EXPECT_EQ(FormatKeyStroke(Stroke(187, true, false, false, false), true), "Ctrl");
    EXPECT_EQ(FormatKeyStroke(Stroke(65, false, false, false, false), false), "");
    EXPECT_EQ(FormatKeyStroke(Stroke(65, false, true, false, true), false), "Alt + Win");
}

TEST(KeyChoiceList, FullListInOrder)
{
    std::string names;
    for (unsigned vk : KeyChoiceList())
        names += KeyName(vk) + ",";
    EXPECT_EQ(names,
              " ,BS,Enter,ESC,TAB,Caps,Space,\x81\xA9,\x81\xAA,\x81\xA8,\x81\xAB,Insert,DEL,Home,End,"
              "Page Up,Page Down,PrintScreen,Scroll Lock,Pause,"
              "0,1,2,3,4,5,6,7,8,9,A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T,U,V,W,X,Y,Z,"
              "\xB1\xCC\xDF\xD8\xB9\xB0\xBC\xAE\xDD\xB7\xB0,"
              "Num0,Num1,Num2,Num3,Num4,Num5,Num6,Num7,Num8,Num9,Num*,Num+,Num-,Num-,Num.,Num/,"
              "F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12,NumLock,"
              "<,>,/,\\,:,;,@,=,^,|,[,],");
}

TEST(KeyChoiceList, NumLockAtPosition86AndEveryEntryNamedOnce)
{
    const auto& list = KeyChoiceList();
    EXPECT_EQ(list[85], 144u);
    EXPECT_EQ(list[18], 145u);
    std::set<unsigned> seen;
    for (unsigned vk : list) {
        EXPECT_TRUE(HasKeyName(vk)) << vk;
        EXPECT_TRUE(seen.insert(vk).second) << vk;
    }
    // Named but never offered by a picker.
    for (unsigned vk : {1u, 2u, 12u, 16u, 17u, 18u, 41u, 43u, 47u, 91u, 92u})
        EXPECT_EQ(seen.count(vk), 0u) << vk;
}

}  // namespace
