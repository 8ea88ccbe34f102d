// Any keycfg.ini loads without fault, exactly as the same bytes read from memory, and what
// it loads is written and read back equal, except for what the format cannot carry: a last
// output key 0 or an over-long line. A read error halfway leaves the table as it was.
#include "model/FileReaders.h"
#include "tests/model/ModelTestSupport.h"

#include <string_view>

namespace {

bool CarriesOver(const ShortcutTable& table)
{
    for (int i = 0; i < table.count(); ++i) {
        const AppEntry& entry = *table.at(i);
        if (entry.path().size() + 1 >= 65000 || entry.name().size() + 5 >= 65000) return false;
        for (int a = 0; a < entry.actionCount(); ++a) {
            const Action& action = entry.actionAt(a);
            if (action.outputCount() > 0 && action.outputAt(action.outputCount() - 1).toCode() == 0) return false;
            if (action.outputCount() * 5 + 10 >= 65000 || action.name().size() + 10 >= 65000) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchDirectory scratch;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    WriteBytes("keycfg.ini", bytes);
    FakeModelSystem system;
    ShortcutTable table(system), fromMemory(system), again(system);
    auto reader = textfile::LineReader::overBytes(bytes);
    if (!table.load() || !ReadShortcutLines(fromMemory, reader) || Describe(table) != Describe(fromMemory))
        std::abort();
    if (!table.save() || !again.load()) std::abort();
    if (CarriesOver(table) && Describe(table) != Describe(again)) std::abort();
    WriteBytes("keycfg.ini", bytes);
    system.readErrorAt = size / 2;
    if ((size > 0 && table.load()) || Describe(table) != Describe(fromMemory)) std::abort();
    return 0;
}
