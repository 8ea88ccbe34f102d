// The model on the real system: the Windows directory and version, files in the current
// directory, and the "hoge" box of a failed save, captured and answered by a CBT hook.
#include "app/Win32ModelSystem.h"
#include "model/Settings.h"
#include "model/ShortcutTable.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct CapturedBox {
    std::string caption, text;
    bool hasOk = false, hasCancel = false, hasIcon = false;
};

// Message boxes shown on this thread while it lives: each is recorded when it becomes
// active and answered with OK at once, so a test never waits on one.
class MessageBoxCapture {
public:
    MessageBoxCapture()
    {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, &MessageBoxCapture::cbtProc, nullptr, GetCurrentThreadId());
    }
    ~MessageBoxCapture()
    {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    std::vector<CapturedBox> boxes;

private:
    static LRESULT CALLBACK cbtProc(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE && current_) {
            const HWND box = reinterpret_cast<HWND>(wParam);
            char className[32] = {};
            GetClassNameA(box, className, sizeof className);
            if (std::string(className) == "#32770") {
                CapturedBox captured;
                char buffer[512] = {};
                GetWindowTextA(box, buffer, sizeof buffer);
                captured.caption = buffer;
                constexpr int MessageTextId = 0xFFFF;  // the box's static text control
                buffer[0] = '\0';
                GetDlgItemTextA(box, MessageTextId, buffer, sizeof buffer);
                captured.text = buffer;
                captured.hasOk = GetDlgItem(box, IDOK) != nullptr;
                captured.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
                constexpr int MessageIconId = 0x14;
                captured.hasIcon = GetDlgItem(box, MessageIconId) != nullptr &&
                                   IsWindowVisible(GetDlgItem(box, MessageIconId));
                current_->boxes.push_back(captured);
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline MessageBoxCapture* current_ = nullptr;
    HHOOK hook_;
};

std::string ReadBytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class Win32ModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        static int counter = 0;
        dir_ = fs::path(temp) / ("vr-model-" + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(++counter));
        fs::create_directories(dir_);
        previous_ = fs::current_path();
        ASSERT_TRUE(SetCurrentDirectoryA(dir_.string().c_str()));
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(previous_.string().c_str());
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    fs::path dir_, previous_;
    Win32ModelSystem system_;
};

const std::string DefaultFile =
    "'global\r\n"
    "name=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n"
    "2115.send=2048,83,67\r\n"
    "2115.name=コントロールパネル\r\n"
    "\r\n"
    "'C:\\windows\\explorer.exe\r\n"
    "name=エクスプローラー\r\n"
    "325.send=598,581,591\r\n"
    "325.name=エクスプローラーバー\r\n"
    "305.send=598,583\r\n"
    "305.name=大きいアイコン\r\n"
    "306.send=598,589\r\n"
    "306.name=小さいアイコン\r\n"
    "307.send=598,588\r\n"
    "307.name=一覧\r\n"
    "308.send=598,580\r\n"
    "308.name=詳細\r\n"
    "309.send=598,584\r\n"
    "309.name=縮小版\r\n"
    "\r\n";

TEST_F(Win32ModelTest, ResetToDefaults_UsesTheWindowsDirectoryAndNtVersion)
{
    ModelSystem::Version version;
    ASSERT_TRUE(system_.version(version));
    EXPECT_EQ(version.platformId, 2);
    ShortcutTable table(system_);
    ASSERT_TRUE(table.resetToDefaults());
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.at(1)->path(), "C:\\windows\\explorer.exe");
    EXPECT_EQ(table.at(1)->actionCount(), 6);
}

TEST_F(Win32ModelTest, SaveAndLoad_InTheCurrentDirectory)
{
    MessageBoxCapture capture;
    ShortcutTable table(system_);
    table.resetToDefaults();
    ASSERT_TRUE(table.save());
    EXPECT_EQ(ReadBytes((dir_ / "keycfg.ini").string()), DefaultFile);
    EXPECT_FALSE(fs::exists(dir_ / "keycfg.ini.tmp"));

    ShortcutTable loaded(system_);
    ASSERT_TRUE(loaded.load());
    ASSERT_EQ(loaded.count(), 2);
    EXPECT_EQ(loaded.at(0)->actionAt(0).name(), "コントロールパネル");
    EXPECT_EQ(loaded.at(1)->actionCount(), 6);
    // Saving over an existing file replaces it.
    loaded.remove(1);
    ASSERT_TRUE(loaded.save());
    EXPECT_EQ(ReadBytes("keycfg.ini"), DefaultFile.substr(0, DefaultFile.find("'C:")));

    Settings settings(system_);
    settings.setDefaults();
    ASSERT_TRUE(settings.save());
    EXPECT_EQ(ReadBytes("property.ini"), "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n");
    Settings read(system_);
    ASSERT_TRUE(read.load());
    EXPECT_TRUE(read.useHotKey);
    EXPECT_EQ(read.hotKey.toCode(), 2061);
    EXPECT_TRUE(capture.boxes.empty());
}

TEST_F(Win32ModelTest, FailedSave_ShowsTheHogeBoxAndKeepsTheOldFile)
{
    const std::string old = "'old\r\nname=kept\r\n\r\n";
    WriteBytes("keycfg.ini", old);
    WriteBytes("property.ini", "Timer=5\r\n");
    fs::create_directory(dir_ / "keycfg.ini.tmp");
    fs::create_directory(dir_ / "property.ini.tmp");
    MessageBoxCapture capture;

    ShortcutTable table(system_);
    table.resetToDefaults();
    EXPECT_FALSE(table.save());
    ASSERT_EQ(capture.boxes.size(), 1u);
    EXPECT_EQ(capture.boxes[0].caption, "hoge");
    EXPECT_EQ(capture.boxes[0].text, "hoge");
    EXPECT_TRUE(capture.boxes[0].hasOk);
    EXPECT_FALSE(capture.boxes[0].hasCancel);
    EXPECT_FALSE(capture.boxes[0].hasIcon);
    EXPECT_EQ(ReadBytes("keycfg.ini"), old);

    Settings settings(system_);
    settings.setDefaults();
    EXPECT_FALSE(settings.save());
    EXPECT_EQ(capture.boxes.size(), 1u);  // property.ini fails silently
    EXPECT_EQ(ReadBytes("property.ini"), "Timer=5\r\n");
}

TEST_F(Win32ModelTest, FailedReplace_ShowsTheHogeBoxAndRemovesTheTemporary)
{
    fs::create_directory(dir_ / "keycfg.ini");
    MessageBoxCapture capture;
    ShortcutTable table(system_);
    table.resetToDefaults();
    EXPECT_FALSE(table.save());
    ASSERT_EQ(capture.boxes.size(), 1u);
    EXPECT_EQ(capture.boxes[0].caption, "hoge");
    EXPECT_TRUE(fs::is_directory(dir_ / "keycfg.ini"));
    EXPECT_FALSE(fs::exists(dir_ / "keycfg.ini.tmp"));
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
