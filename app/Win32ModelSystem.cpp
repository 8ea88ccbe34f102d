#include "app/Win32ModelSystem.h"

#include <windows.h>

#include <vector>

bool Win32ModelSystem::version(Version& out)
{
    static_assert(sizeof(OSVERSIONINFOA) == 148, "the ANSI version structure");
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info))
        return false;
    out.platformId = static_cast<int>(info.dwPlatformId);
    out.major = static_cast<int>(info.dwMajorVersion);
    out.minor = static_cast<int>(info.dwMinorVersion);
    return true;
}

std::string Win32ModelSystem::windowsDirectory()
{
    constexpr UINT BufferSize = 65000;
    std::vector<char> buffer(BufferSize);
    const UINT length = GetWindowsDirectoryA(buffer.data(), BufferSize);
    if (length == 0 || length >= BufferSize)
        return {};
    return std::string(buffer.data(), length);
}

void Win32ModelSystem::showMessage(const std::string& text, const std::string& caption)
{
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
}

bool Win32ModelSystem::replaceFile(const std::string& from, const std::string& to)
{
    // Write-through: the move is on disk before we report the file as saved.
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
