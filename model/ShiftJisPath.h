// Paths and names as the program stores them: Shift-JIS (code page 932) bytes, walked by
// characters. The second byte of a double-byte character may be 0x5C, the backslash, as
// in 表 (95 5C) or ソ (83 5C): a search byte by byte would split such a character and take
// its second half for a folder separator.
#pragma once
#include "model/ShiftJis.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Position of the last backslash that is a character of its own, or npos.
std::size_t lastBackslash(std::string_view path);
bool endsWithBackslash(std::string_view path);
// What follows the last backslash (the whole path when there is none).
std::string_view fileNameOf(std::string_view path);
// The name of the folder that holds the file ("c" for C:\a\c\x.exe); empty when none.
std::string_view parentFolderOf(std::string_view path);
// The form under which application paths compare: ASCII letter case folded, and for a
// program of a packaged application, in a folder under WindowsApps named
// Name_Version_Architecture_ResourceId_PublisherId, the Version left out: every update
// moves the program into the new version's folder. Equal keys: the same application.
std::string applicationPathKey(std::string_view path);
bool sameApplicationPath(std::string_view a, std::string_view b);

// True when the last four characters are ".exe", letter case ignored.
bool hasExeSuffix(std::string_view path);

// The name an application gets from its path: the file name without its last four
// characters ("Foo" for C:\Tools\Foo.exe); empty for a file name of four characters or fewer.
std::string nameFromPath(std::string_view path);
// nameFromPath, made distinct from the names `taken` reports: first with the folder
// that holds the file, "probe (d)", then with a number, "probe (2)", "probe (3)"...
std::string distinctNameFromPath(std::string_view path, const std::function<bool(const std::string&)>& taken);
