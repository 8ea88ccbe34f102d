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
