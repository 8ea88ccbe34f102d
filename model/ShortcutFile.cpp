// keycfg.ini: one application line per entry ('path), its display-name line, then per
// action a send line and, for a named action, an action-name line; a blank line ends
// each entry. Lines end in CR LF; names and paths are written byte for byte.
#include "model/FileReaders.h"
#include "model/ShortcutTable.h"
#include "model/TextFile.h"

#include <new>
#include <string>
#include <string_view>

namespace {

constexpr const char* ShortcutFileName = "keycfg.ini";
constexpr std::string_view DisplayNamePrefix = "name=";

// What the table takes in memory, measured on the 64-bit build, beyond the bytes of its
// names and paths. The file's size alone does not bound it: short application lines take
// 69 times their size (an entry and its place in the path index, about 345 bytes, for a
// line of 5), actions 13 times.
constexpr std::size_t EntryBytes = 352;
constexpr std::size_t ActionBytes = 160;
constexpr std::size_t OutputBytes = 8;
// A file that would need more is refused as too large. At the budget the table takes about
// 490 MB: with the file's own bytes, well under a gigabyte.
constexpr std::size_t TableBudget = 512u * 1024 * 1024;

void readOutputs(Action& action, const std::string& value)
{
    // A piece before a "," is kept even when it reads as 0; the last piece only when it
    // is not 0. A "," at the very start makes the whole value one piece.
    std::size_t start = 0;
    std::size_t comma;
    while ((comma = value.find(',', start)) != std::string::npos && comma > 0) {
        const int code = textfile::readNumber(std::string_view(value).substr(start, comma - start));
        action.insertOutput(KeyStroke::ofCode(code), action.outputCount());
        start = comma + 1;
    }
    const int last = textfile::readNumber(std::string_view(value).substr(start));
    if (last != 0)
        action.insertOutput(KeyStroke::ofCode(last), action.outputCount());
}

// Returns the memory the line added to the entry, as the table's budget counts it.
std::size_t readEntryLine(AppEntry& entry, const std::string& line)
{
    // A bare "name=" is not a display-name line; it falls through to the key lines below
    // as key code 0 with the keyword "name".
    if (line.size() > DisplayNamePrefix.size() && line.compare(0, DisplayNamePrefix.size(), DisplayNamePrefix) == 0) {
        entry.setName(line.substr(DisplayNamePrefix.size()));
        return line.size();
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos)
        return 0;
    // "<key code>.<keyword>=<value>". Without a "." before the "=", the key text and the
    // keyword are both the text before the "=", whose number is then 0 for "name" or "send".
    const std::size_t dot = line.find('.');
    const bool hasDot = dot != std::string::npos && dot < equals;
    const std::string_view whole(line);
    const std::string_view keyText = whole.substr(0, hasDot ? dot : equals);
    const std::string_view keyword = hasDot ? whole.substr(dot + 1, equals - dot - 1) : keyText;
    const std::string value = line.substr(equals + 1);
    const int keyCode = textfile::readNumber(keyText);

    if (keyword == "send") {
        Action action;
        action.setInput(KeyStroke::ofCode(keyCode));
        readOutputs(action, value);
        // A second send line for the same input is dropped.
        if (entry.addAction(action))
            return ActionBytes + static_cast<std::size_t>(action.outputCount()) * OutputBytes;
    } else if (keyword == "name") {
        if (Action* action = entry.findActionByInput(keyCode)) {
            action->setName(value);
            return value.size();
        }
    }
    return 0;
}

std::string formatTable(const ShortcutTable& table)
{
    std::string out;
    for (int i = 0; i < table.count(); ++i) {
        const AppEntry& entry = *table.at(i);
        out.append("'").append(entry.path()).append(textfile::LineEnd);
        out.append(DisplayNamePrefix).append(entry.name()).append(textfile::LineEnd);
        for (int a = 0; a < entry.actionCount(); ++a) {
            const Action& action = entry.actionAt(a);
            const std::string input = std::to_string(action.input().toCode());
            out.append(input).append(".send=");
            for (int k = 0; k < action.outputCount(); ++k) {
                if (k > 0)
                    out.append(",");
                out.append(std::to_string(action.outputAt(k).toCode()));
            }
            out.append(textfile::LineEnd);
            if (!action.name().empty())
                out.append(input).append(".name=").append(action.name()).append(textfile::LineEnd);
        }
        out.append(textfile::LineEnd);
    }
    return out;
}

}  // namespace

bool ReadShortcutLines(ShortcutTable& table, textfile::LineReader& reader)
{
    table.clear();
    // Lines before the first application line, and after a rejected duplicate one up to
    // the next, have no entry (index out of range or -1) and are dropped.
    int current = 0;
    std::size_t memory = 0;
    std::string line;
    while (reader.readLine(line)) {
        if (line.empty())
            continue;
        if (line[0] == '\'') {
            current = table.add(AppEntry(line.substr(1), {}));
            if (current >= 0)
                memory += EntryBytes + line.size();
        } else if (AppEntry* entry = table.at(current)) {
            memory += readEntryLine(*entry, line);
        }
        if (memory > TableBudget)
            return false;
    }
    return true;
}

FileResult ShortcutTable::load()
{
    // What was allocated for the file is freed again on the way out, so the result can
    // still be made.
    try {
        std::string bytes;
        const FileResult result = textfile::readFile(system_, ShortcutFileName, bytes);
        if (!result)
            return result;
        // Read into a table of its own: this one changes only once the whole file is in.
        ShortcutTable read(system_);
        auto reader = textfile::LineReader::overBytes(bytes);
        if (!ReadShortcutLines(read, reader))
            return textfile::failure(system_, ShortcutFileName, FileError::TooLarge);
        swapEntries(read);
        return result;
    } catch (const std::bad_alloc&) {
        return textfile::failure(system_, ShortcutFileName, FileError::OutOfMemory);
    }
}

FileResult ShortcutTable::save() const
{
    try {
        return textfile::writeFile(system_, ShortcutFileName, formatTable(*this));
    } catch (const std::bad_alloc&) {
        return textfile::failure(system_, ShortcutFileName, FileError::OutOfMemory);
    }
}
