// Plumbing shared by keycfg.ini and property.ini: the whole file read and written through
// the system, the line reader over its bytes and the number reader.
#pragma once
#include "model/ModelSystem.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace textfile {

// Both files are read through a line buffer of this size, so a line holds at most
// LineBufferSize - 1 bytes.
constexpr std::size_t LineBufferSize = 65000;
constexpr std::size_t MaxLineLength = LineBufferSize - 1;
constexpr const char* LineEnd = "\r\n";
// Neither file is read past this size, far beyond any set of shortcuts a person keeps
// (100,000 applications of 5 actions take 24 MB): the whole file is held while it is read.
constexpr std::size_t MaxFileSize = 64u * 1024 * 1024;

// The file of the settings folder, whole, and the result naming the file and the folder.
FileResult readFile(ModelSystem& system, const char* name, std::string& bytes);
FileResult writeFile(ModelSystem& system, const char* name, const std::string& bytes);
// A failure of the program's own while reading or writing the file.
FileResult failure(ModelSystem& system, const char* name, FileError error);

// Reads the bytes of a whole file line by line. A CR before the LF is dropped, so CR LF
// and bare LF files read the same. A longer line than MaxLineLength is cut there and the
// rest of it, up to its line end, is skipped.
// A UTF-8 byte-order mark at the very start, which some editors put in front of a file
// they save, is not part of the first line; every other byte is read as it stands.
class LineReader {
public:
    // The bytes must outlive the reader.
    static LineReader overBytes(std::string_view bytes) { return LineReader(bytes); }

    // False at the end of the bytes.
    bool readLine(std::string& line);

private:
    explicit LineReader(std::string_view bytes);

    std::string_view bytes_;
    std::size_t position_ = 0;
};

// Leading blanks, an optional sign, then decimal digits up to the first non-digit;
// 0 without digits. Values beyond the range of int are held at its limits.
int readNumber(std::string_view text);

}  // namespace textfile
