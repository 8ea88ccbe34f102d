#include "win32/SystemLibrary.h"

#include <string>

HMODULE LoadSystemLibrary(const char* name)
{
    if (HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    // Windows 7 without its loader update does not know the flag; the full path in the
    // system directory says the same.
    if (GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return LoadLibraryExA((std::string(folder, length) + "\\" + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
