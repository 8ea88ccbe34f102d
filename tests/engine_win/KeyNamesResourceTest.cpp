// The string table in the program's resources holds exactly the names of the vocabulary.
#include "ui/KeyVocabulary.h"

#include <gtest/gtest.h>
#include <windows.h>

static std::string LoadKeyName(unsigned vk)
{
    char name[256] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), vk, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

TEST(KeyNamesResource, EveryIdLoadsTheVocabularyName)
{
    for (unsigned vk = 0; vk < 256; ++vk) EXPECT_EQ(LoadKeyName(vk), KeyName(vk)) << "vk " << vk;
    EXPECT_EQ(LoadKeyName(39), "\x81\xA8");  // Shift-JIS, not UTF-8, at run time
}
