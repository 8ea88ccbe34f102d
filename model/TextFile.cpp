#include "model/TextFile.h"

#include <climits>
#include <cstdint>

namespace textfile {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

LineReader::LineReader(std::string_view bytes) : bytes_(bytes)
{
    if (bytes_.substr(0, ByteOrderMark.size()) == ByteOrderMark)
        position_ = ByteOrderMark.size();
}

bool LineReader::readLine(std::string& line)
{
    line.clear();
    // One byte beyond the limit is kept, so that a line of exactly MaxLineLength bytes
    // ending in CR LF is not taken for an over-long one.
    bool sawAnything = false;
    bool overflow = false;
    while (position_ < bytes_.size()) {
        const char c = bytes_[position_++];
        sawAnything = true;
        if (c == '\n')
            break;
        if (line.size() < LineBufferSize)
            line.push_back(c);
        else
            overflow = true;
    }
    if (!sawAnything)
        return false;
    if (!overflow && !line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() > MaxLineLength)
        line.resize(MaxLineLength);
    return true;
}

int readNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t limit = static_cast<std::int64_t>(INT_MAX) + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

namespace {

FileResult described(ModelSystem& system, const char* name, FileResult result)
{
    result.file = name;
    result.folder = system.settingsFolder();
    return result;
}

}  // namespace

FileResult readFile(ModelSystem& system, const char* name, std::string& bytes)
{
    return described(system, name, system.readFile(name, MaxFileSize, bytes));
}

FileResult writeFile(ModelSystem& system, const char* name, const std::string& bytes)
{
    return described(system, name, system.writeFile(name, bytes));
}

FileResult failure(ModelSystem& system, const char* name, FileError error)
{
    return described(system, name, FileResult::of(error));
}

}  // namespace textfile
