// Start-up with settings files that cannot be read or written, the failures made real: what
// the user is told, whether the program runs, and the bytes left on disk.
#include "contract/HookContract.h"
#include "tests/support/ProgramDriver.h"
#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <functional>

using namespace wt;

namespace {

const std::string Shortcuts = "'global\r\nname=All\r\n321.send=66\r\n\r\n";
const std::string Preferences = "UseHotKey=no\r\nHotKeyCode=0\r\nTimer=250\r\n";
const std::string Planted = "C:\\windows\\system32\\keycfg.ini";

// "%" stands for the program's folder.
std::string Notice(const char* what, const char* file, const char* reason, const char* next)
{
    return std::string(what) + "\n\nファイル: " + file + "\nフォルダー: %\n理由: " + reason + "\n\n" + next;
}
std::vector<std::string> NotRead(const char* reason)
{
    return {
        Notice("設定ファイルを読み込めませんでした。", "keycfg.ini", reason,
               "ファイルは変更していません。Varokinto を終了します。原因を取り除いてから、もう一度起動してください。")};
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
    // clang-format off
    const struct {
        const char* what;
        std::function<void(const TempDir&, std::vector<OwnedHandle>&)> arrange;
        std::vector<std::string> notices;
        bool runs;
        std::string keycfg, property;  // left on disk
    } cases[] = {
        {"a folder in keycfg.ini's place",
         [](auto& dir, auto&) { DeleteFileA(dir.file("keycfg.ini").c_str()), CreateDirectoryA(dir.file("keycfg.ini").c_str(), nullptr); },
         NotRead("アクセスが拒否されました。"), false, "<folder>", Preferences},
        {"keycfg.ini held open by another program, which is us",
         [](auto& dir, auto& held) {
             held.emplace_back(CreateFileA(dir.file("keycfg.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
         },
         NotRead("ほかのプログラムがこのファイルを使用しています。"), false, Shortcuts, Preferences},
        {"keycfg.ini past the size limit", [&](auto& dir, auto&) { WriteBytes(dir.file("keycfg.ini"), tooLarge); },
         NotRead("ファイルが大きすぎます。"), false, tooLarge, Preferences},
        {"started in the system folder, which holds a keycfg.ini",
         [](auto&, auto&) { WriteBytes(Planted, "'planted\r\n\r\n"); }, {}, true, Shortcuts, Preferences},
        {"a first start in a folder where nothing can be saved",
         [](auto& dir, auto&) {
             for (const char* name : {"keycfg.ini", "property.ini"}) {
                 DeleteFileA(dir.file(name).c_str());
                 CreateDirectoryA(dir.file(name + std::string(".tmp")).c_str(), nullptr);
             }
         },
         {Notice("組み込みのショートカットを保存できませんでした。", "keycfg.ini", "アクセスが拒否されました。",
                 "Varokinto は組み込みのショートカットで動作します。ショートカット設定を閉じるときに、もう一度保存します。"),
          Notice("ホットキーの設定を保存できませんでした。", "property.ini", "アクセスが拒否されました。",
                 "Varokinto は初期値の設定で動作します。プロパティーで「OK」を押すと、もう一度保存します。")},
         true, "<none>", "<none>"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        InstallProgram(dir);
        WriteBytes(dir.file("keycfg.ini"), Shortcuts);
        WriteBytes(dir.file("property.ini"), Preferences);
        std::vector<OwnedHandle> held;
        c.arrange(dir, held);
        const bool fromSystemFolder = FileExists(Planted);
        Process program;
        const DWORD started = GetTickCount();
        ASSERT_TRUE(program.start(dir.file("varokint.exe"), fromSystemFolder ? "C:\\windows\\system32" : dir.path()));
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
            EXPECT_TRUE(held.empty() || GetTickCount() - started >= 2000);
        }
        HWND window = nullptr;
        DWORD exitCode = 99;
        if (c.runs) {
            EXPECT_TRUE(PumpUntil(
                [&] { return (window = FindTopWindow(program.id(), HookContract::MainWindowClass)) != nullptr; }));
        } else {
            EXPECT_TRUE(program.waitExit(DefaultWaitMs, exitCode));
            EXPECT_EQ(exitCode, 0u);
        }
        held.clear();
        ExitProgram(program, window);
        EXPECT_EQ(OnDisk(dir.file("keycfg.ini")), c.keycfg);
        EXPECT_EQ(OnDisk(dir.file("property.ini")), c.property);
        if (fromSystemFolder) {
            EXPECT_EQ(OnDisk(Planted), "'planted\r\n\r\n");
            EXPECT_EQ(OnDisk("C:\\windows\\system32\\property.ini"), "<none>");
            DeleteFileA(Planted.c_str());
        }
    }
}

}  // namespace
