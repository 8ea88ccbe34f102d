// The whole settings road with the real program: Win+Enter with the target in front opens
// the shortcut settings window on it; an action Ctrl+Q -> A, B is added through the action
// editor and the output key dialog; after closing, Ctrl+Q typed into the target gives A and B.
#include "tests/e2e/E2ESupport.h"
#include "ui/KeyVocabulary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>

using namespace e2e;

namespace {

using Lines = std::vector<std::string>;

constexpr int NameEdit = 1020;
constexpr int KeyCombo = 1002;
constexpr int CtrlCheck = 1009;
constexpr int AddButton = 1014;
constexpr int NewButton = 5;

int ChoicePosition(unsigned vk)
{
    const auto& list = KeyChoiceList();
    return static_cast<int>(std::find(list.begin(), list.end(), vk) - list.begin());
}

HWND WaitForDialog(DWORD processId, const char* title)
{
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindProcessWindow(processId, "#32770", title);
        return found != nullptr && IsWindowVisible(found);
    });
    return found;
}

bool WaitClosed(HWND window) { return WaitUntil([&] { return !IsWindow(window); }); }

// Commands are posted: the other process's handler may open a modal dialog and not return.
void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ChooseKey(HWND dialog, unsigned vk)
{
    HWND combo = GetDlgItem(dialog, KeyCombo);
    SendMessageA(combo, CB_SETCURSEL, ChoicePosition(vk), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(KeyCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

std::string TextOf(HWND window)
{
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

class SettingsRoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallProgram(dir);
        ASSERT_TRUE(CopyFileA(ProgramFile(VR_E2E_KEY_TARGET).c_str(), dir.file("KeyTarget.exe").c_str(), FALSE));
        logFile = dir.file("keys.log");
        ASSERT_TRUE(target.start(dir.file("KeyTarget.exe"), dir.path(), "\"" + logFile + "\""));
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(logFile).find("ready") == 0; }));
        targetWindow = FindProcessWindow(target.id(), "VRKeyTarget", "KeyTarget");
        ASSERT_NE(targetWindow, nullptr);
        targetPath = ProcessImagePath(target.handle());
        ASSERT_FALSE(targetPath.empty());

        WriteFileBytes(dir.file("keycfg.ini"), "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n\r\n");
        WriteFileBytes(dir.file("property.ini"), "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n");
        mainWindow = StartProgram(program, dir);
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(ClickWindow(targetWindow));
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == targetWindow; }));
    }
    // Through the exit command: the hooks of a killed program would outlive it under Wine.
    void TearDown() override { ExitProgram(program, mainWindow); }

    Lines ReadLog() const
    {
        Lines lines;
        std::istringstream in(ReadFileBytes(logFile));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line != "ready")
                lines.push_back(line);
        }
        return lines;
    }

    static std::string Dump(const Lines& lines)
    {
        std::string text;
        for (const auto& line : lines)
            text += "\n  " + line;
        return text;
    }

    // One output key through the output key dialog, which the editor opens for 追加(&A).
    void AddOutput(HWND editor, unsigned vk)
    {
        Press(editor, AddButton);
        HWND keyDialog = WaitForDialog(program.id(), "送信キー設定");
        ASSERT_NE(keyDialog, nullptr);
        ChooseKey(keyDialog, vk);
        Press(keyDialog, IDOK);
        ASSERT_TRUE(WaitClosed(keyDialog));
    }

    TempDir dir;
    std::string logFile;
    std::string targetPath;
    Process target;
    Process program;
    HWND targetWindow = nullptr;
    HWND mainWindow = nullptr;
};

TEST_F(SettingsRoad, HotkeyOpensTheTargetsEntry_NewActionCtrlQ_PlaysAThenB)
{
    ASSERT_TRUE(RunX("xdotool key super+Return"));
    HWND settings = WaitForDialog(program.id(), "ショートカット設定");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(settings, 1002)), "KeyTarget");
    EXPECT_EQ(TextOf(GetDlgItem(settings, 1004)), targetPath);

    Press(settings, NewButton);
    HWND editor = WaitForDialog(program.id(), "アクション設定");
    ASSERT_NE(editor, nullptr);
    SendMessageA(GetDlgItem(editor, NameEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("AとB"));
    SendMessageA(GetDlgItem(editor, CtrlCheck), BM_SETCHECK, BST_CHECKED, 0);
    Press(editor, CtrlCheck);
    ChooseKey(editor, 'Q');
    // Each key goes in front of the selected row: B first, then A before it.
    AddOutput(editor, 'B');
    AddOutput(editor, 'A');
    Press(editor, IDOK);
    ASSERT_TRUE(WaitClosed(editor));
    Press(settings, IDOK);
    ASSERT_TRUE(WaitClosed(settings));

    EXPECT_EQ(ReadFileBytes(dir.file("keycfg.ini")),
              "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n\r\n'" + targetPath +
                  "\r\nname=KeyTarget\r\n337.send=65,66\r\n337.name=AとB\r\n\r\n");

    // What the action plays, in order. Where the user's own release of Ctrl and Q falls
    // among these depends on timing between X and the hook, so only the played keys are
    // compared as a sequence; Q itself must never arrive pressed.
    const Lines played = {
        "WM_KEYDOWN vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_CHAR vk=0x61 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_KEYUP vk=0x41 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_KEYDOWN vk=0x42 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_CHAR vk=0x62 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
        "WM_KEYUP vk=0x42 shift=0 ctrl=0 alt=0 lwin=0 rwin=0",
    };
    constexpr size_t expectedLines = 12;  // played keys, Ctrl around them, both key-ups of Q
    ASSERT_TRUE(ClickWindow(targetWindow));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == targetWindow; }));
    const size_t before = ReadLog().size();
    ASSERT_TRUE(RunX("xdotool key ctrl+q"));
    WaitUntil([&] { return ReadLog().size() >= before + expectedLines; });
    Sleep(300);
    const Lines all = ReadLog();
    const Lines seen(all.begin() + static_cast<long>(std::min(before, all.size())), all.end());
    Lines keys;
    std::copy_if(seen.begin(), seen.end(), std::back_inserter(keys), [](const std::string& line) {
        return line.find("vk=0x41 ") != std::string::npos || line.find("vk=0x42 ") != std::string::npos ||
               line.find("vk=0x61 ") != std::string::npos || line.find("vk=0x62 ") != std::string::npos;
    });
    EXPECT_EQ(keys, played) << Dump(seen);
    EXPECT_EQ(std::count_if(seen.begin(), seen.end(),
                            [](const std::string& line) { return line.rfind("WM_KEYDOWN vk=0x51 ", 0) == 0; }),
              0)
        << Dump(seen);
    ASSERT_FALSE(seen.empty());
    EXPECT_NE(seen.back().find("ctrl=0"), std::string::npos) << Dump(seen);
}

}  // namespace
