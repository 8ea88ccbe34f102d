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
    // clang-format off
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
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fileNameOf(c.path), c.file);
        EXPECT_EQ(parentFolderOf(c.path), c.folder);
        EXPECT_EQ(nameFromPath(c.path), c.name);
        EXPECT_EQ(hasExeSuffix(c.path), c.exe);
        EXPECT_EQ(endsWithBackslash(c.path), c.endsInBackslash);
    }
}

TEST(ShiftJisPathTest, PackagedApplications_CompareWithoutTheirVersion_OtherPathsAsBefore)
{
    const std::string apps = "C:\\Program Files\\WindowsApps\\",
                      notepad = apps + "Microsoft.Notepad_11.2310.13.0_x64__8we\\N.exe";
    // clang-format off
    const std::tuple<std::string, std::string, bool> cases[] = {
        {notepad, apps + "Microsoft.Notepad_11.2402.2.0_x64__8we\\N.exe", true},
        {notepad, "c:\\PROGRAM FILES\\windowsapps\\MICROSOFT.Notepad_1.0.0.0_X64__8we\\n.EXE", true},
        {"D:\\WindowsApps\\A_1.0.0.0_neutral_~_k\\a.exe", "D:\\WindowsApps\\A_2.0.0.0_neutral_~_k\\a.exe", true},
        {apps + "ソ_1.0.0.0_x64__k\\a.exe", apps + "ソ_2.0.0.0_x64__k\\a.exe", true},  // ソ is 83 5C
        {notepad, apps + "Microsoft.Paint_11.2310.13.0_x64__8we\\N.exe", false},  // another package
        {"C:\\Tools\\A_1.0.0.0_x64__k\\a.exe", "C:\\Tools\\A_2.0.0.0_x64__k\\a.exe", false},  // not under WindowsApps
        {"C:\\aソWindowsApps\\P_1.0.0.0_x64__k\\a.exe", "C:\\aソWindowsApps\\P_2.0.0.0_x64__k\\a.exe", false},
        {apps + "A_1.0.0_x64__k\\a.exe", apps + "A_1.0.1_x64__k\\a.exe", false},  // not the package form
    };
    // clang-format on
    for (const auto& [a, b, same] : cases) {
        EXPECT_EQ(sameApplicationPath(a, b), same) << a << " | " << b;
        EXPECT_EQ(sameApplicationPath(b, a), same) << b << " | " << a;
    }
    EXPECT_EQ(applicationPathKey(notepad), "c:\\program files\\windowsapps\\microsoft.notepad_*_x64__8we\\n.exe");
}

TEST(ShiftJisPathTest, ATakenName_GetsTheFolderThenANumber)
{
    std::set<std::string> names = {"probeB"};
    const auto taken = [&](const std::string& name) { return names.count(name) != 0; };
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
