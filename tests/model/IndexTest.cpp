// The look-up indexes of the table and of an entry answer exactly as a scan from index 0
// would, through every editing operation, including edits made through handed-out objects.
#include "ModelTestSupport.h"
#include "model/AsciiCase.h"
#include "model/ShiftJisPath.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Few, short paths over letters of both cases, a Shift-JIS character whose trail byte is
// 'A' (0x83 0x41) or 'a' (0x83 0x61), and two versions of a packaged application's folder,
// so that keys collide often.
std::string RandomPath(std::mt19937& random)
{
    static const std::vector<std::string> pieces = {"a",
                                                    "A",
                                                    "b",
                                                    "\x83\x41",
                                                    "\x83\x61",
                                                    "\\",
                                                    "WindowsApps\\P_1.0.0.0_x64__k\\",
                                                    "windowsapps\\p_2.0.0.0_X64__k\\"};
    std::string path;
    for (int n = static_cast<int>(random() % 3); n >= 0; --n) path += pieces[random() % pieces.size()];
    return path;
}

int ScanByPath(const ShortcutTable& table, const std::string& path)
{
    for (int i = 0; i < table.count(); ++i) {
        if (sameApplicationPath(table.at(i)->path(), path)) return i;
    }
    return -1;
}

int ScanByInput(const AppEntry& entry, int code, int except = -2)
{
    for (int i = 0; i < entry.actionCount(); ++i) {
        if (i != except && entry.actionAt(i).input().toCode() == code) return i;
    }
    return -1;
}

TEST(IndexTest, RandomEditsKeepLookUpsEqualToAScan)
{
    FakeModelSystem system;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        ShortcutTable table(system);
        for (int step = 0; step < 200; ++step) {
            const std::string path = RandomPath(random);
            const int index = table.count() ? static_cast<int>(random() % static_cast<unsigned>(table.count())) : -1;
            const int code = static_cast<int>(random() % 6) * 0x101;
            switch (random() % 9) {
            case 0: {
                bool exact = false;
                for (int i = 0; i < table.count(); ++i) exact = exact || table.at(i)->path() == path;
                const int expected = exact ? -1 : table.count();
                ASSERT_EQ(table.add(AppEntry(path, "n")), expected) << seed;
                break;
            }
            case 1:
                table.remove(index);
                break;
            case 2:
                if (index >= 0) table.at(index)->setPath(path);
                break;
            case 3:
                if (index >= 0) table.at(index)->addAction(MakeAction("", code));
                break;
            case 4:
                if (index >= 0) table.at(index)->removeAction(static_cast<int>(random() % 4));
                break;
            case 5:  // editing an action in place, as the settings window does
                if (index >= 0 && table.at(index)->actionCount() > 0)
                    table.at(index)->actionAt(0) = MakeAction("x", code);
                break;
            case 6:
                if (index >= 0)
                    if (Action* action = table.at(index)->findActionByInput(code))
                        action->setInput(KeyStroke::ofCode(code + 1));
                break;
            case 7:
                if (random() % 20 == 0) table.clear();
                break;
            default: {
                AppEntry copy = index >= 0 ? *table.at(index) : AppEntry("", "");
                copy.addAction(MakeAction("", code));
                for (int c = 0; c < 6 * 0x101; c += 0x101) {
                    ASSERT_EQ(copy.findActionByInput(c)
                                  ? copy.findActionByInput(c) - &copy.actionAt(ScanByInput(copy, c))
                                  : 0,
                              0);
                }
            }
            }
            ASSERT_EQ(table.findByPath(path), ScanByPath(table, path)) << "seed " << seed << " step " << step;
            if (index >= 0 && index < table.count()) {
                const AppEntry& entry = *static_cast<const ShortcutTable&>(table).at(index);
                const Action* found = entry.findActionByInput(code);
                const int scanned = ScanByInput(entry, code);
                ASSERT_EQ(found, scanned < 0 ? nullptr : &entry.actionAt(scanned))
                    << "seed " << seed << " step " << step;
                for (int except = -1; except < entry.actionCount(); ++except)
                    ASSERT_EQ(entry.isInputFree(KeyStroke::ofCode(code), except), ScanByInput(entry, code, except) < 0)
                        << "seed " << seed << " step " << step;
            }
        }
    }
}

TEST(IndexTest, FoldKeepsTrailBytesAndAgreesWithTheComparison)
{
    EXPECT_EQ(foldAsciiCase("C:\\WINDOWS\\Explorer.EXE"), "c:\\windows\\explorer.exe");
    EXPECT_EQ(foldAsciiCase("\x83\x41"
                            "A"),
              "\x83\x41"
              "a");                              // trail byte 'A' stays, the letter folds
    EXPECT_EQ(foldAsciiCase("A\x83"), "a\x83");  // a lead byte at the end is a byte like others
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        const std::string a = RandomPath(random), b = RandomPath(random);
        ASSERT_EQ(equalsIgnoringAsciiCase(a, b), foldAsciiCase(a) == foldAsciiCase(b)) << a << " " << b;
    }
}

}  // namespace
