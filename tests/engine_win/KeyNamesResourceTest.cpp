// The string table in the program's resources holds exactly the names of the vocabulary.
#include "engine/win32/Win32KeySystem.h"
#include "ui/KeyVocabulary.h"

#include <gtest/gtest.h>

TEST(KeyNamesResource, EveryIdLoadsTheVocabularyName)
{
    Win32KeySystem system(GetModuleHandleA(nullptr));
    for (unsigned vk = 0; vk < 256; ++vk)
        EXPECT_EQ(system.loadKeyName(vk), KeyName(vk)) << "vk " << vk;
    EXPECT_EQ(system.loadKeyName(39), "\x81\xA8");  // Shift-JIS, not UTF-8, at run time
}
