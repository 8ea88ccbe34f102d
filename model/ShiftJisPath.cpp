#include "model/ShiftJisPath.h"

#include "model/AsciiCase.h"

#include <vector>

namespace {

// Start of every character, in order.
std::vector<std::size_t> characterStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); i += shiftJisCharLength(text, i))
        starts.push_back(i);
    return starts;
}

constexpr std::size_t ExeSuffixCharacters = 4;

// Where each of text's characters that is `separator` stands.
std::vector<std::size_t> separatorsIn(std::string_view text, char separator)
{
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < text.size(); i += shiftJisCharLength(text, i)) {
        if (text[i] == separator)
            found.push_back(i);
    }
    return found;
}

// Four numbers of at most five digits, separated by dots: "11.2310.13.0".
bool isPackageVersion(std::string_view text)
{
    int dots = 0;
    std::size_t digits = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9' && digits < 5) {
            ++digits;
        } else if (c == '.' && digits > 0) {
            ++dots;
            digits = 0;
        } else {
            return false;
        }
    }
    return dots == 3 && digits > 0;
}

struct Field {
    std::size_t start = 0, length = 0;
};

// The Version field when the folder name has the package form
// Name_Version_Architecture_ResourceId_PublisherId, where only ResourceId may be empty;
// an empty field otherwise.
Field packageVersionOf(std::string_view folder)
{
    const std::vector<std::size_t> bars = separatorsIn(folder, '_');
    if (bars.size() != 4 || bars[0] == 0 || bars[2] == bars[1] + 1 || bars[3] + 1 == folder.size())
        return {};
    const Field version{bars[0] + 1, bars[1] - bars[0] - 1};
    return isPackageVersion(folder.substr(version.start, version.length)) ? version : Field{};
}

}  // namespace

std::size_t lastBackslash(std::string_view path)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); i += shiftJisCharLength(path, i)) {
        if (path[i] == '\\')
            found = i;
    }
    return found;
}

bool endsWithBackslash(std::string_view path)
{
    return !path.empty() && lastBackslash(path) == path.size() - 1;
}

std::string_view fileNameOf(std::string_view path)
{
    const std::size_t slash = lastBackslash(path);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view parentFolderOf(std::string_view path)
{
    const std::size_t slash = lastBackslash(path);
    if (slash == std::string_view::npos)
        return {};
    return fileNameOf(path.substr(0, slash));
}

std::string applicationPathKey(std::string_view path)
{
    std::string key = foldAsciiCase(path);
    // Nearly every path has no such folder: one search, and the key is the folded path.
    if (key.find("windowsapps\\") == std::string::npos)
        return key;
    const std::vector<std::size_t> slashes = separatorsIn(path, '\\');
    // Version fields are cut from the back, so the positions of those before stay valid.
    for (std::size_t n = slashes.size(); n >= 2; --n) {
        const std::size_t appsStart = n >= 3 ? slashes[n - 3] + 1 : 0;
        const std::size_t folderStart = slashes[n - 2] + 1, folderEnd = slashes[n - 1];
        if (!equalsIgnoringAsciiCase(path.substr(appsStart, folderStart - 1 - appsStart), "WindowsApps"))
            continue;
        const Field version = packageVersionOf(path.substr(folderStart, folderEnd - folderStart));
        // '*' cannot be part of a file name: no folder outside a package gets this key.
        if (version.length > 0)
            key.replace(folderStart + version.start, version.length, "*");
    }
    return key;
}

bool sameApplicationPath(std::string_view a, std::string_view b)
{
    return applicationPathKey(a) == applicationPathKey(b);
}

bool hasExeSuffix(std::string_view path)
{
    const std::vector<std::size_t> starts = characterStarts(path);
    if (starts.size() < ExeSuffixCharacters)
        return false;
    const std::size_t from = starts[starts.size() - ExeSuffixCharacters];
    // Four characters in four bytes: all of them single-byte.
    return path.size() - from == ExeSuffixCharacters && equalsIgnoringAsciiCase(path.substr(from), ".exe");
}

std::string nameFromPath(std::string_view path)
{
    const std::string_view file = fileNameOf(path);
    const std::vector<std::size_t> starts = characterStarts(file);
    if (starts.size() <= ExeSuffixCharacters)
        return {};
    return std::string(file.substr(0, starts[starts.size() - ExeSuffixCharacters]));
}

std::string distinctNameFromPath(std::string_view path, const std::function<bool(const std::string&)>& taken)
{
    const std::string name = nameFromPath(path);
    if (!taken(name))
        return name;
    const std::string_view folder = parentFolderOf(path);
    if (!folder.empty()) {
        const std::string withFolder = name + " (" + std::string(folder) + ")";
        if (!taken(withFolder))
            return withFolder;
    }
    for (int number = 2;; ++number) {
        const std::string numbered = name + " (" + std::to_string(number) + ")";
        if (!taken(numbered))
            return numbered;
    }
}
