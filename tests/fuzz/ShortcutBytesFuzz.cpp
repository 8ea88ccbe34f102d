// Any keycfg.ini, read from memory by the file's own line reader, gives a table the rest
// of the program can rely on: paths unique byte for byte, input keys unique per entry,
// every key code in 0..4095, no name or path longer than a line. No file is touched, so
// this entry runs many times faster than the round trip through the disk.
#include "model/FileReaders.h"
#include "model/ShortcutTable.h"
#include "tests/engine/FakeModelSystem.h"

#include <cstdlib>
#include <set>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FakeModelSystem system;
    ShortcutTable table(system);
    auto reader = textfile::LineReader::overBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!ReadShortcutLines(table, reader)) std::abort();
    std::set<std::string> paths;
    for (int i = 0; i < table.count(); ++i) {
        const AppEntry& entry = *table.at(i);
        if (!paths.insert(entry.path()).second || entry.path().size() > textfile::MaxLineLength ||
            entry.name().size() > textfile::MaxLineLength)
            std::abort();
        std::set<int> inputs;
        for (int a = 0; a < entry.actionCount(); ++a) {
            const Action& action = entry.actionAt(a);
            const int input = action.input().toCode();
            if (input < 0 || input > 4095 || !inputs.insert(input).second ||
                action.name().size() > textfile::MaxLineLength)
                std::abort();
            for (int k = 0; k < action.outputCount(); ++k) {
                const int output = action.outputAt(k).toCode();
                if (output < 0 || output > 4095) std::abort();
            }
        }
    }
    return 0;
}
