// Folders and names taken from Shift-JIS paths, split at characters: 表 is 95 5C and ソ is
// 83 5C, whose second byte is the backslash.
#include "model/ShiftJisPath.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ShiftJisPathTest, SplitsAtCharacters_AsciiAsBefore)
{
    struct Case {
        const char* path;
        const char* file;
        const char* folder;
        const char* name;
        bool exe;
        bool endsInBackslash;
    };
    const Case cases[] = {
        {"C:\\Tools\\Foo.exe", "Foo.exe", "Tools", "Foo", true, false},
        {"C:\\Tools\\表示.exe", "表示.exe", "Tools", "表示", true, false},
        {"C:\\ソフト\\表.exe", "表.exe", "ソフト", "表", true, false},
        {"C:\\ソ", "ソ", "C:", "", false, false},
        {"C:\\ソ\\", "", "ソ", "", false, true},
        {"C:\\ソ\\probe.EXE", "probe.EXE", "ソ", "probe", true, false},
        {"ソ.exe", "ソ.exe", "", "ソ", true, false},
        {"Foo.exe", "Foo.exe", "", "Foo", true, false},
        {".exe", ".exe", "", "", true, false},
        {"C:\\a\\表示", "表示", "a", "", false, false},  // two characters, four bytes
        {"C:\\a\\表示.txt", "表示.txt", "a", "表示", false, false},
        {"C:\\Tools\\", "", "Tools", "", false, true},
        {"", "", "", "", false, false},
        {"\x83", "\x83", "", "", false, false},  // a lone lead byte is a character of its own
        {"a\x83\\b.exe", "a\x83\\b.exe", "", "a\x83\\b", true, false},  // 83 5C is ソ: no folder here
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fileNameOf(c.path), c.file);
        EXPECT_EQ(parentFolderOf(c.path), c.folder);
        EXPECT_EQ(nameFromPath(c.path), c.name);
        EXPECT_EQ(hasExeSuffix(c.path), c.exe);
        EXPECT_EQ(endsWithBackslash(c.path), c.endsInBackslash);
    }
}

TEST(ShiftJisPathTest, ATakenName_GetsTheFolderThenANumber)
{
    std::set<std::string> names = {"probeB"};
    const auto taken = [&](const std::string& name) {
        return names.count(name) != 0;
    };
    EXPECT_EQ(distinctNameFromPath("C:\\x\\c\\setup.exe", taken), "setup");
    EXPECT_EQ(distinctNameFromPath("C:\\x\\d\\probeB.exe", taken), "probeB (d)");
    names.insert("probeB (d)");
    EXPECT_EQ(distinctNameFromPath("D:\\y\\d\\probeB.exe", taken), "probeB (2)");
    names.insert("probeB (2)");
    EXPECT_EQ(distinctNameFromPath("probeB.exe", taken), "probeB (3)");
    names.insert("表");
    EXPECT_EQ(distinctNameFromPath("C:\\ソフト\\表.exe", taken), "表 (ソフト)");
}

}  // namespace
