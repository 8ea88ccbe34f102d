// The string table in the program's resources holds exactly the names of the vocabulary.
#include "engine/win32/Win32KeySystem.h"
#include "ui/KeyVocabulary.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyNamesResource, EveryIdLoadsTheVocabularyName)
{
    Win32KeySystem system(GetModuleHandleA(nullptr));
    for (unsigned vk = 0; vk < 256; ++vk)
        EXPECT_EQ(system.loadKeyName(vk), KeyName(vk)) << "vk " << vk;
}

TEST(KeyNamesResource, ShiftJisBytesOfTheTrickyNames)
{
    Win32KeySystem system(GetModuleHandleA(nullptr));
    EXPECT_EQ(system.loadKeyName(226), "\\");
    EXPECT_EQ(system.loadKeyName(93), "\xB1\xCC\xDF\xD8\xB9\xB0\xBC\xAE\xDD\xB7\xB0");
    EXPECT_EQ(system.loadKeyName(2), "\x89\x45\x83\x4E\x83\x8A\x83\x62\x83\x4E");  // right click
    EXPECT_EQ(system.loadKeyName(39), "\x81\xA8");
    EXPECT_EQ(system.loadKeyName(0), " ");
    EXPECT_EQ(system.loadKeyName(124), "");
}

}  // namespace
