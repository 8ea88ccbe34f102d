// property.ini: its reader rules, as "hotkey on/off, key code, timer" after a load, and
// the exact bytes it is written with.
#include "ModelTestSupport.h"
#include "model/Settings.h"

#include <gtest/gtest.h>

namespace {

std::string Values(const Settings& s)
{
    return std::string(s.useHotKey ? "on " : "off ") + std::to_string(s.hotKey.toCode()) + " " +
           std::to_string(s.timer);
}

class SettingsTest : public ::testing::Test {
protected:
    ScratchDirectory scratch_;
    FakeModelSystem system_;
};

TEST_F(SettingsTest, Load_LineRules)
{
    // clang-format off
    const struct {
        std::string file;
        const char* values;
    } cases[] = {
        {"", "off 0 100"},  // what a new object holds
        {"usehotkey=yes\r\nTimer 5\r\n Timer=5\r\nfoo\r\n\r\n", "off 0 100"},
        {"UseHotKey=Yes\r\nUseHotKey=yes \r\nUseHotKey= yes\r\nUseHotKey=y\r\n", "off 0 100"},
        {"UseHotKey=yes", "on 0 100"},
        {"UseHotKey=yes\nUseHotKey=no\n", "on 0 100"},  // nothing turns it off again
        {"HotKeyCode=6157\r\n", "off 2061 100"},         // bits 12 and up are dropped
        {"HotKeyCode=x\r\n", "off 0 100"},
        {"Timer=0\r\n", "off 0 100"},  // below 1 gives 100
        {"Timer=-5\r\n", "off 0 100"},
        {"Timer=abc\r\n", "off 0 100"},
        {"Timer=20abc\r\n", "off 0 20"},
        {"Timer=  +3\r\n", "off 0 3"},
        {"Timer=1\r\n", "off 0 1"},
        {"Timer=99999999999\r\n", "off 0 2147483647"},
        {"Timer=50\r\nHotKeyCode=325\r\n\r\nTimer=60\nHotKeyCode=326\r\nTimer=0\r\n", "off 326 100"},
        {"Timer=" + std::string(70000, '5') + "\r\nHotKeyCode=2061\r\nUseHotKey=yes\r\n", "on 2061 2147483647"},
        // A UTF-8 byte-order mark in front is not part of the first line; anywhere else,
        // or cut short, its bytes are the line's.
        {"\xEF\xBB\xBFUseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n", "on 2061 100"},
        {"\xEF\xBB\xBF\xEF\xBB\xBFUseHotKey=yes\r\n", "off 0 100"},
        {"\xEF\xBBUseHotKey=yes\r\n", "off 0 100"},
        {"Timer=5\r\n\xEF\xBB\xBFTimer=7\r\n", "off 0 5"},
    };
    // clang-format on
    for (const auto& c : cases) {
        WriteBytes("property.ini", c.file);
        Settings settings(system_);
        EXPECT_TRUE(settings.load());
        EXPECT_EQ(Values(settings), c.values) << c.file.substr(0, 60);
    }
}

TEST_F(SettingsTest, Load_MissingFileFailsAndChangesNothing)
{
    Settings settings(system_);
    settings.setDefaults();
    settings.timer = 7;
    EXPECT_FALSE(settings.load());
    EXPECT_EQ(Values(settings), "on 2061 7");
}

TEST_F(SettingsTest, Save_WritesExactlyThreeLinesThatLoadBack)
{
    Settings settings(system_);
    EXPECT_TRUE(settings.setDefaults());
    EXPECT_TRUE(settings.save());
    EXPECT_EQ(ReadBytes("property.ini"), "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n");
    EXPECT_FALSE(std::filesystem::exists("property.ini.tmp"));

    settings.useHotKey = false;
    settings.hotKey = KeyStroke::ofCode(0x545);
    settings.timer = -5;
    EXPECT_TRUE(settings.save());
    EXPECT_EQ(ReadBytes("property.ini"), "UseHotKey=no\r\nHotKeyCode=1349\r\nTimer=-5\r\n");

    Settings edited(system_);  // a dialog assigns its edited copy back
    edited.setDefaults();
    edited.hotKey = KeyStroke::ofCode(0xF7B);
    edited.timer = 2500;
    settings = edited;
    EXPECT_TRUE(settings.save());
    Settings loaded(system_);
    EXPECT_TRUE(loaded.load());
    EXPECT_EQ(Values(loaded), "on 3963 2500");
}

}  // namespace
