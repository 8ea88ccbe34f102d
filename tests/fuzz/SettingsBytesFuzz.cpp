// Any property.ini, read from memory by the file's own line reader, gives settings in
// range: a timer of at least 1 ms and a hotkey code in 0..4095. No file is touched.
#include "model/FileReaders.h"
#include "model/Settings.h"
#include "tests/engine/FakeModelSystem.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FakeModelSystem system;
    Settings settings(system);
    auto reader = textfile::LineReader::overBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    ReadSettingsLines(settings, reader);
    if (settings.timer < 1 || settings.hotKey.toCode() < 0 || settings.hotKey.toCode() > 4095) std::abort();
    return 0;
}
