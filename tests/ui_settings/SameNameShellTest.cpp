// Two programs of the same file name in different folders, each registered through the
// hotkey with an action of its own, under the real program: each opens its own entry, and
// each plays its own action.
#include "tests/support/DialogDriver.h"
#include "tests/support/ProgramDriver.h"
#include "ui/KeyVocabulary.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace wt;

namespace {

using Lines = std::vector<std::string>;

constexpr char SettingsTitle[] = "ショートカット設定";

long CountKeyDowns(const Lines& lines, const char* vk)
{
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.rfind(std::string("WM_KEYDOWN vk=") + vk + " ", 0) == 0;
    });
}

class SameFileName : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallProgram(dir);
        for (const char* folder : {"c", "d"}) ASSERT_TRUE(CreateDirectoryA(dir.file(folder).c_str(), nullptr));
        ASSERT_TRUE(c.start(dir.file("c"), "probeB.exe"));
        ASSERT_TRUE(d.start(dir.file("d"), "probeB.exe"));
        // Side by side, so that a click on one never lands on the other.
        SetWindowPos(d.window(), nullptr, 520, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        WriteBytes(dir.file("keycfg.ini"), "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n\r\n");
        WriteBytes(dir.file("property.ini"), "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n");
        mainWindow = StartProgram(program, dir);
        ASSERT_NE(mainWindow, nullptr);
    }
    void TearDown() override { ExitProgram(program, mainWindow); }

    HWND WaitForDialog(const char* title)
    {
        HWND found = nullptr;
        PumpUntil([&] { return (found = FindTopWindow(program.id(), "#32770", title, true)) != nullptr; });
        return found;
    }

    // Win+Enter on the target, then 新規 with Ctrl+Q playing `key`; returns the name and
    // path the window showed.
    std::string RegisterWithAction(KeyTarget& target, const char* name, unsigned key)
    {
        if (!target.focus() || !Xdotool("key super+Return")) return "no hotkey";
        HWND settings = WaitForDialog(SettingsTitle);
        if (settings == nullptr) return "no settings window";
        const std::string shown = ControlText(settings, 1002) + "|" + ControlText(settings, 1004);
        Press(settings, 5);
        HWND editor = WaitForDialog("アクション設定");
        if (editor == nullptr) return "no editor";
        SendDlgItemMessageA(editor, 1020, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
        SendDlgItemMessageA(editor, 1009, BM_SETCHECK, BST_CHECKED, 0);
        ChooseKey(editor, 'Q');
        Press(editor, 1014);
        HWND keyDialog = WaitForDialog("送信キー設定");
        if (keyDialog == nullptr) return "no key dialog";
        ChooseKey(keyDialog, key);
        Press(keyDialog, IDOK);
        PumpUntil([&] { return !IsWindow(keyDialog); });
        Press(editor, IDOK);
        PumpUntil([&] { return !IsWindow(editor); });
        Press(settings, IDOK);
        PumpUntil([&] { return !IsWindow(settings); });
        return shown;
    }

    TempDir dir;
    KeyTarget c, d;
    Process program;
    HWND mainWindow = nullptr;
};

TEST_F(SameFileName, EachOpensItsOwnEntry_EachPlaysItsOwnAction)
{
    const std::string pathC = c.process.imagePath(), pathD = d.process.imagePath();
    EXPECT_EQ(RegisterWithAction(c, "c", 'A'), "probeB|" + pathC);
    EXPECT_EQ(RegisterWithAction(d, "d", 'B'), "probeB (d)|" + pathD);
    EXPECT_EQ(ReadBytes(dir.file("keycfg.ini")), "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n\r\n'" + pathC +
                                                     "\r\nname=probeB\r\n337.send=65\r\n337.name=c\r\n\r\n'" + pathD +
                                                     "\r\nname=probeB (d)\r\n337.send=66\r\n337.name=d\r\n\r\n");

    struct Case {
        KeyTarget& typedIn;
        KeyTarget& other;
        const char* played;
        const char* notPlayed;
    };
    const Case cases[] = {{c, d, "0x41", "0x42"}, {d, c, "0x42", "0x41"}};
    for (const Case& k : cases) {
        ASSERT_TRUE(k.typedIn.focus());
        k.other.newLines();
        const Lines seen = k.typedIn.type("keydown ctrl keydown q sleep 0.2 keyup ctrl keyup q", 6);
        EXPECT_EQ(CountKeyDowns(seen, k.played), 1) << Dump(seen);
        EXPECT_EQ(CountKeyDowns(seen, k.notPlayed), 0) << Dump(seen);
        EXPECT_EQ(CountKeyDowns(seen, "0x51"), 0) << Dump(seen);
        EXPECT_TRUE(k.other.newLines().empty());
    }
}

}  // namespace
