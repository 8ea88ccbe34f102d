// Start-up with settings files that cannot be read or written, the failures made real: what
// the user is told, whether the program runs, and the bytes left on disk.
#include "engine/HookContract.h"
#include "tests/support/ProgramDriver.h"
#include "ui/WinHandles.h"

#include <gtest/gtest.h>

#include <functional>

using namespace wt;

namespace {

const std::string Shortcuts = "'global\r\nname=All\r\n321.send=66\r\n\r\n";
const std::string Preferences = "UseHotKey=no\r\nHotKeyCode=0\r\nTimer=250\r\n";
constexpr char SystemFolder[] = "C:\\windows\\system32";
constexpr char Quits[] =
    "ファイルは変更していません。Varokinto を終了します。原因を取り除いてから、もう一度起動してください。";

std::string Notice(const char* what, const char* file, const std::string& folder, const char* reason, const char* next)
{
    return std::string(what) + "\n\nファイル: " + file + "\nフォルダー: " + folder + "\n理由: " + reason + "\n\n" + next;
}

std::string OnDisk(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return "<none>";
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? "<folder>" : ReadBytes(path);
}

TEST(StartFiles, FilesThatCannotBeReadOrWritten_AreToldAndKept_NothingGoesToTheSystemFolder)
{
    const std::string tooLarge(64 * 1024 * 1024 + 1, ' ');
    const struct {
        const char* what;
        std::function<void(const TempDir&, std::vector<OwnedHandle>&)> arrange;
        bool fromSystemFolder;
        std::vector<std::string> notices;  // "%" stands for the program's folder
        bool runs;
        std::string keycfg, property;
    } cases[] = {
        {"a folder in keycfg.ini's place",
         [](const TempDir& dir, auto&) {
             DeleteFileA(dir.file("keycfg.ini").c_str());
             CreateDirectoryA(dir.file("keycfg.ini").c_str(), nullptr);
         },
         false,
         {Notice("設定ファイルを読み込めませんでした。", "keycfg.ini", "%", "アクセスが拒否されました。", Quits)}, false,
         "<folder>", Preferences},
        {"keycfg.ini held open by another program",
         [](const TempDir& dir, auto& held) {
             held.emplace_back(CreateFileA(dir.file("keycfg.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
         },
         false,
         {Notice("設定ファイルを読み込めませんでした。", "keycfg.ini", "%", "ほかのプログラムがこのファイルを使用しています。", Quits)},
         false, Shortcuts, Preferences},
        {"property.ini held open by another program",
         [](const TempDir& dir, auto& held) {
             held.emplace_back(CreateFileA(dir.file("property.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
         },
         false,
         {Notice("設定ファイルを読み込めませんでした。", "property.ini", "%", "ほかのプログラムがこのファイルを使用しています。", Quits)},
         false, Shortcuts, Preferences},
        {"keycfg.ini past the size limit",
         [&](const TempDir& dir, auto&) { WriteBytes(dir.file("keycfg.ini"), tooLarge); }, false,
         {Notice("設定ファイルを読み込めませんでした。", "keycfg.ini", "%", "ファイルが大きすぎます。", Quits)}, false,
         tooLarge, Preferences},
        {"started in the system folder, which holds a keycfg.ini",
         [](const TempDir&, auto&) { WriteBytes(std::string(SystemFolder) + "\\keycfg.ini", "'planted\r\n\r\n"); }, true,
         {}, true, Shortcuts, Preferences},
        {"a first start in a folder where nothing can be saved",
         [](const TempDir& dir, auto&) {
             DeleteFileA(dir.file("keycfg.ini").c_str()), DeleteFileA(dir.file("property.ini").c_str());
             CreateDirectoryA(dir.file("keycfg.ini.tmp").c_str(), nullptr);
             CreateDirectoryA(dir.file("property.ini.tmp").c_str(), nullptr);
         },
         false,
         {Notice("組み込みのショートカットを保存できませんでした。", "keycfg.ini", "%", "アクセスが拒否されました。",
                 "Varokinto は組み込みのショートカットで動作します。ショートカット設定を閉じるときに、もう一度保存します。"),
          Notice("ホットキーの設定を保存できませんでした。", "property.ini", "%", "アクセスが拒否されました。",
                 "Varokinto は初期値の設定で動作します。プロパティーで「OK」を押すと、もう一度保存します。")},
         true, "<none>", "<none>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        InstallProgram(dir);
        WriteBytes(dir.file("keycfg.ini"), Shortcuts);
        WriteBytes(dir.file("property.ini"), Preferences);
        std::vector<OwnedHandle> held;
        c.arrange(dir, held);
        Process program;
        const DWORD started = GetTickCount();
        ASSERT_TRUE(program.start(dir.file("varokint.exe"), c.fromSystemFolder ? SystemFolder : dir.path()));
        for (std::string expected : c.notices) {
            expected.replace(expected.find('%'), 1, dir.path());
            PumpUntil([&] { return FindTopWindow(program.id(), "#32770", nullptr, true) != nullptr; });
            Snapshot("start-notice");
            const auto box = AnswerMessageBox(program.id());
            ASSERT_TRUE(box.has_value()) << expected;
            EXPECT_EQ(box->caption, "Varokinto");
            EXPECT_EQ(box->text, expected);
            EXPECT_EQ(box->style, static_cast<UINT>(MB_OK | MB_USERICON));  // another process's icon
            // A file held by another program is asked for again for two seconds first.
            if (!held.empty()) {
                EXPECT_GE(GetTickCount() - started, 2000u);
            }
        }
        HWND window = nullptr;
        DWORD exitCode = 99;
        if (c.runs) {
            EXPECT_TRUE(PumpUntil([&] {
                return (window = FindTopWindow(program.id(), HookContract::MainWindowClass)) != nullptr;
            }));
        } else {
            EXPECT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
            EXPECT_EQ(exitCode, 0u);
        }
        held.clear();
        ExitProgram(program, window);
        EXPECT_EQ(OnDisk(dir.file("keycfg.ini")), c.keycfg);
        EXPECT_EQ(OnDisk(dir.file("property.ini")), c.property);
        if (c.fromSystemFolder) {
            EXPECT_EQ(OnDisk(std::string(SystemFolder) + "\\keycfg.ini"), "'planted\r\n\r\n");
            EXPECT_EQ(OnDisk(std::string(SystemFolder) + "\\property.ini"), "<none>");
            DeleteFileA((std::string(SystemFolder) + "\\keycfg.ini").c_str());
        }
    }
}

}  // namespace
