// property.ini: "UseHotKey=yes|no", "HotKeyCode=<key code>", "Timer=<ms>", CR LF line ends.
#include "model/Settings.h"
#include "model/FileReaders.h"
#include "model/TextFile.h"

#include <new>
#include <string>
#include <string_view>

namespace {

constexpr const char* SettingsFileName = "property.ini";
constexpr std::string_view UseHotKeyPrefix = "UseHotKey=";
constexpr std::string_view HotKeyCodePrefix = "HotKeyCode=";
constexpr std::string_view TimerPrefix = "Timer=";
constexpr int DefaultHotKey = KeyStroke::WinBit + 0x0D;  // Win+Enter
constexpr std::int32_t DefaultTimer = 100;

bool startsWith(const std::string& line, std::string_view prefix)
{
    return line.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool Settings::setDefaults()
{
    useHotKey = true;
    hotKey.fromCode(DefaultHotKey);
    timer = DefaultTimer;
    return true;
}

void ReadSettingsLines(Settings& settings, textfile::LineReader& reader)
{
    std::string line;
    while (reader.readLine(line)) {
        if (line.empty())
            continue;
        // Each value starts after the first "=", which ends each prefix.
        if (startsWith(line, UseHotKeyPrefix)) {
            // Only an exact "yes" turns the hotkey on; nothing in the file turns it off.
            if (std::string_view(line).substr(UseHotKeyPrefix.size()) == "yes")
                settings.useHotKey = true;
        } else if (startsWith(line, HotKeyCodePrefix)) {
            settings.hotKey.fromCode(textfile::readNumber(std::string_view(line).substr(HotKeyCodePrefix.size())));
        } else if (startsWith(line, TimerPrefix)) {
            const int value = textfile::readNumber(std::string_view(line).substr(TimerPrefix.size()));
            settings.timer = value < 1 ? DefaultTimer : value;
        }
    }
}

FileResult Settings::load()
{
    try {
        std::string bytes;
        const FileResult result = textfile::readFile(*system_, SettingsFileName, bytes);
        if (!result)
            return result;
        // Read into a copy: these values change only once the whole file is in.
        Settings read = *this;
        auto reader = textfile::LineReader::overBytes(bytes);
        ReadSettingsLines(read, reader);
        *this = read;
        return result;
    } catch (const std::bad_alloc&) {
        return textfile::failure(*system_, SettingsFileName, FileError::OutOfMemory);
    }
}

FileResult Settings::save() const
{
    try {
        std::string out;
        out.append(UseHotKeyPrefix).append(useHotKey ? "yes" : "no").append(textfile::LineEnd);
        out.append(HotKeyCodePrefix).append(std::to_string(hotKey.toCode())).append(textfile::LineEnd);
        out.append(TimerPrefix).append(std::to_string(timer)).append(textfile::LineEnd);
        return textfile::writeFile(*system_, SettingsFileName, out);
    } catch (const std::bad_alloc&) {
        return textfile::failure(*system_, SettingsFileName, FileError::OutOfMemory);
    }
}
