// Any property.ini loads without fault, and the values it gives are written and read back equal.
#include "FuzzSupport.h"
#include "model/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnterScratchDirectory();
    fuzz::WriteInput("property.ini", data, size);
    fuzz::RenameSystem system;
    Settings settings(system);
    if (!settings.load() || settings.timer < 1 || settings.hotKey.toCode() > 4095)
        std::abort();
    if (!settings.save())
        std::abort();
    Settings again(system);
    if (!again.load() || again.useHotKey != settings.useHotKey || again.hotKey != settings.hotKey ||
        again.timer != settings.timer)
        std::abort();
    return 0;
}
