// Any property.ini loads without fault, exactly as the same bytes read from memory, and the
// values it gives are written and read back equal; a read error halfway changes nothing.
#include "model/FileReaders.h"
#include "model/Settings.h"
#include "tests/model/ModelTestSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchDirectory scratch;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    WriteBytes("property.ini", bytes);
    FakeModelSystem system;
    Settings settings(system), fromMemory(system), again(system);
    auto reader = textfile::LineReader::overBytes(bytes);
    ReadSettingsLines(fromMemory, reader);
    if (!settings.load() || settings.timer < 1 || settings.hotKey.toCode() > 4095 || !settings.save() || !again.load())
        std::abort();
    if (fromMemory.useHotKey != settings.useHotKey || fromMemory.hotKey != settings.hotKey ||
        fromMemory.timer != settings.timer)
        std::abort();
    if (again.useHotKey != settings.useHotKey || again.hotKey != settings.hotKey || again.timer != settings.timer)
        std::abort();
    WriteBytes("property.ini", bytes);
    system.readErrorAt = size / 2;
    const Settings before = again;
    if ((size > 0 && again.load()) || again.useHotKey != before.useHotKey || again.hotKey != before.hotKey ||
        again.timer != before.timer)
        std::abort();
    return 0;
}
