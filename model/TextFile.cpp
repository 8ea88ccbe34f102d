#include "model/TextFile.h"

#include <climits>
#include <cstdint>

namespace textfile {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

LineReader::LineReader(const char* fileName) : file_(std::fopen(fileName, "rb"))
{
    skipByteOrderMark();
}

LineReader::LineReader(std::string_view bytes) : bytes_(bytes), inMemory_(true)
{
    skipByteOrderMark();
}

void LineReader::skipByteOrderMark()
{
    if (inMemory_) {
        if (bytes_.substr(0, ByteOrderMark.size()) == ByteOrderMark)
            position_ = ByteOrderMark.size();
        return;
    }
    if (!file_)
        return;
    char start[3] = {};
    const std::size_t got = std::fread(start, 1, sizeof start, file_);
    // Anything else is content: read it again from the first byte.
    if (std::string_view(start, got) != ByteOrderMark)
        std::rewind(file_);
}

LineReader::~LineReader()
{
    if (file_)
        std::fclose(file_);
}

int LineReader::nextByte()
{
    if (file_)
        return std::getc(file_);
    return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_++]) : EOF;
}

bool LineReader::readLine(std::string& line)
{
    line.clear();
    if (!isOpen())
        return false;
    // One byte beyond the limit is kept, so that a line of exactly MaxLineLength bytes
    // ending in CR LF is not taken for an over-long one.
    bool sawAnything = false;
    bool overflow = false;
    int c;
    while ((c = nextByte()) != EOF) {
        sawAnything = true;
        if (c == '\n')
            break;
        if (line.size() < LineBufferSize)
            line.push_back(static_cast<char>(c));
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

bool writeFileSafely(ModelSystem& system, const std::string& fileName, const std::string& content)
{
    const std::string temporary = fileName + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    ok = ok && system.replaceFile(temporary, fileName);
    if (!ok)
        std::remove(temporary.c_str());
    return ok;
}

} // namespace textfile
