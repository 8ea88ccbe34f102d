// Any property.ini loads without fault, and the values it gives are written and read back equal.
#include "model/Settings.h"
#include "tests/model/ModelTestSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchDirectory scratch;
    WriteBytes("property.ini", std::string(reinterpret_cast<const char*>(data), size));
    FakeModelSystem system;
    Settings settings(system), again(system);
    if (!settings.load() || settings.timer < 1 || settings.hotKey.toCode() > 4095 || !settings.save() ||
        !again.load())
        std::abort();
    if (again.useHotKey != settings.useHotKey || again.hotKey != settings.hotKey || again.timer != settings.timer)
        std::abort();
    return 0;
}
