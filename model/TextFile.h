// Plumbing shared by the readers and writers of keycfg.ini and property.ini: the line
// reader, the number reader and the write that never leaves a half-written file behind.
#pragma once
#include "model/ModelSystem.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace textfile {

// Both files are read through a line buffer of this size, so a line holds at most
// LineBufferSize - 1 bytes.
constexpr std::size_t LineBufferSize = 65000;
constexpr std::size_t MaxLineLength = LineBufferSize - 1;
constexpr const char* LineEnd = "\r\n";

// Reads a file line by line. The file is opened in binary mode and a CR before the LF
// is dropped, so CR LF and bare LF files read the same on every platform. A longer line
// than MaxLineLength is cut there and the rest of it, up to its line end, is skipped.
// A UTF-8 byte-order mark at the very start, which some editors put in front of a file
// they save, is not part of the first line; every other byte is read as it stands.
class LineReader {
public:
    explicit LineReader(const char* fileName);
    // The bytes of a whole file already in memory, read by the same rules; they must
    // outlive the reader. Always open.
    static LineReader overBytes(std::string_view bytes) { return LineReader(bytes); }
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool isOpen() const { return file_ != nullptr || inMemory_; }
    // False at end of file and at the first read error.
    bool readLine(std::string& line);

private:
    explicit LineReader(std::string_view bytes);
    void skipByteOrderMark();
    int nextByte();

    std::FILE* file_ = nullptr;
    std::string_view bytes_;
    std::size_t position_ = 0;
    bool inMemory_ = false;
};

// Leading blanks, an optional sign, then decimal digits up to the first non-digit;
// 0 without digits. Values beyond the range of int are held at its limits.
int readNumber(std::string_view text);

// Writes content to fileName + ".tmp" next to the file, checks every write and the
// close, and only then has the system replace fileName with it. On any failure the
// temporary is removed, the old file stays as it was and the result is false.
bool writeFileSafely(ModelSystem& system, const std::string& fileName, const std::string& content);

} // namespace textfile
