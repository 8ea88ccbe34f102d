#include "model/Settings.h"
#include "ModelTestSupport.h"

namespace {

class SettingsTest : public TempDirTest {
protected:
    // Loads property.ini written with these bytes into a freshly constructed object.
    Settings Load(const std::string& bytes)
    {
        WriteBytes("property.ini", bytes);
        Settings settings(system_);
        EXPECT_TRUE(settings.load());
        return settings;
    }
};

TEST_F(SettingsTest, Construction_HotKeyOffNoKeyHundredMs)
{
    Settings settings(system_);
    EXPECT_FALSE(settings.useHotKey);
    EXPECT_EQ(settings.hotKey.toCode(), 0);
    EXPECT_EQ(settings.timer, 100);
}

TEST_F(SettingsTest, SaveAfterSetDefaults_WritesExactlyThreeLines)
{
    Settings settings(system_);
    EXPECT_TRUE(settings.setDefaults());
    EXPECT_TRUE(settings.save());
    EXPECT_EQ(ReadBytes("property.ini"), "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n");
    EXPECT_FALSE(std::filesystem::exists("property.ini.tmp"));
}

TEST_F(SettingsTest, Save_WritesNoAndNegativeTimer)
{
    Settings settings(system_);
    settings.hotKey = KeyStroke::ofCode(0x545);
    settings.timer = -5;
    EXPECT_TRUE(settings.save());
    EXPECT_EQ(ReadBytes("property.ini"), "UseHotKey=no\r\nHotKeyCode=1349\r\nTimer=-5\r\n");
}

TEST_F(SettingsTest, Load_MissingFileFailsAndChangesNothing)
{
    Settings settings(system_);
    settings.setDefaults();
    settings.timer = 7;
    EXPECT_FALSE(settings.load());
    EXPECT_TRUE(settings.useHotKey);
    EXPECT_EQ(settings.hotKey.toCode(), 2061);
    EXPECT_EQ(settings.timer, 7);
}

TEST_F(SettingsTest, Load_EmptyOrUnknownLinesKeepConstructionValues)
{
    for (const char* bytes : {"", "\r\n\r\n", "usehotkey=yes\r\nTimer 5\r\n Timer=5\r\nfoo\r\n"}) {
        const Settings s = Load(bytes);
        EXPECT_FALSE(s.useHotKey) << bytes;
        EXPECT_EQ(s.hotKey.toCode(), 0) << bytes;
        EXPECT_EQ(s.timer, 100) << bytes;
    }
}

TEST_F(SettingsTest, Load_OnlyExactYesTurnsTheHotKeyOn)
{
    for (const char* value : {"Yes", "YES", "yes ", " yes", "no", "", "y"})
        EXPECT_FALSE(Load(std::string("UseHotKey=") + value + "\r\n").useHotKey) << value;
    EXPECT_TRUE(Load("UseHotKey=yes\r\n").useHotKey);
    EXPECT_TRUE(Load("UseHotKey=yes\n").useHotKey);
    EXPECT_TRUE(Load("UseHotKey=yes").useHotKey);
    EXPECT_TRUE(Load("UseHotKey=yes\r\nUseHotKey=no\r\n").useHotKey);
}

TEST_F(SettingsTest, Load_TimerBelowOneGivesHundred)
{
    const std::pair<const char*, int> cases[] = {
        {"0", 100}, {"-5", 100}, {"abc", 100}, {"", 100}, {"20abc", 20},
        {"  7", 7}, {"+3", 3}, {"1", 1}, {"99999999999", 2147483647},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(Load(std::string("Timer=") + value + "\r\n").timer, expected) << value;
}

TEST_F(SettingsTest, Load_HotKeyCodeIgnoresHighBitsAndWritesBackClean)
{
    Settings settings = Load("HotKeyCode=6157\r\n");
    EXPECT_EQ(settings.hotKey, KeyStroke::ofCode(2061));
    EXPECT_EQ(settings.hotKey.vk, 0x0Du);
    EXPECT_EQ(settings.hotKey.win, 1);
    EXPECT_TRUE(settings.save());
    EXPECT_EQ(ReadBytes("property.ini"), "UseHotKey=no\r\nHotKeyCode=2061\r\nTimer=100\r\n");
    EXPECT_EQ(Load("HotKeyCode=x\r\n").hotKey.toCode(), 0);
}

TEST_F(SettingsTest, Load_LaterLinesOverride)
{
    const Settings s = Load("Timer=50\r\nHotKeyCode=325\r\n\r\nTimer=60\nHotKeyCode=326\r\nTimer=0\r\n");
    EXPECT_EQ(s.hotKey.toCode(), 326);
    EXPECT_EQ(s.timer, 100);
}

TEST_F(SettingsTest, Load_OverLongLineDoesNotStopTheRest)
{
    const Settings s = Load("Timer=" + std::string(70000, '5') + "\r\nHotKeyCode=2061\r\nUseHotKey=yes\r\n");
    EXPECT_EQ(s.timer, 2147483647);
    EXPECT_EQ(s.hotKey.toCode(), 2061);
    EXPECT_TRUE(s.useHotKey);
}

TEST_F(SettingsTest, SaveThenLoad_GivesTheSameValues)
{
    Settings settings(system_);
    settings.useHotKey = true;
    settings.hotKey = KeyStroke::ofCode(0xF7B);
    settings.timer = 2500;
    ASSERT_TRUE(settings.save());
    Settings loaded(system_);
    ASSERT_TRUE(loaded.load());
    EXPECT_TRUE(loaded.useHotKey);
    EXPECT_EQ(loaded.hotKey, settings.hotKey);
    EXPECT_EQ(loaded.timer, 2500);
}

} // namespace

namespace {

TEST_F(SettingsTest, Assignment_CopiesTheValues)
{
    Settings edited(system_);
    edited.setDefaults();
    edited.timer = 300;
    Settings live(system_);
    live = edited;
    EXPECT_TRUE(live.useHotKey);
    EXPECT_EQ(live.timer, 300);
    EXPECT_TRUE(live.save());
    EXPECT_EQ(ReadBytes("property.ini"), "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=300\r\n");
}

} // namespace
