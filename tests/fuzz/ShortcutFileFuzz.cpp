// Any keycfg.ini loads without fault, and what it loads is written and read back equal,
// except for what the format cannot carry: a last output key 0 or an over-long line.
#include "FuzzSupport.h"
#include "model/ShortcutTable.h"

namespace {

bool CarriesOver(const ShortcutTable& table)
{
    for (int i = 0; i < table.count(); ++i) {
        const AppEntry& entry = *table.at(i);
        if (entry.path().size() + 1 >= 65000 || entry.name().size() + 5 >= 65000)
            return false;
        for (int a = 0; a < entry.actionCount(); ++a) {
            const Action& action = entry.actionAt(a);
            if (action.outputCount() > 0 && action.outputAt(action.outputCount() - 1).toCode() == 0)
                return false;
            if (action.outputCount() * 5 + 10 >= 65000 || action.name().size() + 10 >= 65000)
                return false;
        }
    }
    return true;
}

bool SameTable(const ShortcutTable& a, const ShortcutTable& b)
{
    if (a.count() != b.count())
        return false;
    for (int i = 0; i < a.count(); ++i) {
        const AppEntry& x = *a.at(i);
        const AppEntry& y = *b.at(i);
        if (x.path() != y.path() || x.name() != y.name() || x.actionCount() != y.actionCount())
            return false;
        for (int k = 0; k < x.actionCount(); ++k) {
            const Action& p = x.actionAt(k);
            const Action& q = y.actionAt(k);
            if (p.name() != q.name() || p.input() != q.input() || p.outputCount() != q.outputCount())
                return false;
            for (int o = 0; o < p.outputCount(); ++o) {
                if (p.outputAt(o) != q.outputAt(o))
                    return false;
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnterScratchDirectory();
    fuzz::WriteInput("keycfg.ini", data, size);
    fuzz::RenameSystem system;
    ShortcutTable table(system);
    if (!table.load())
        std::abort();
    if (!table.save())
        std::abort();
    ShortcutTable again(system);
    if (!again.load())
        std::abort();
    if (CarriesOver(table) && !SameTable(table, again))
        std::abort();
    return 0;
}
