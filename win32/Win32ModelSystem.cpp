#include "win32/Win32ModelSystem.h"

#include "win32/Handles.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <vector>

namespace {

constexpr DWORD ReadChunk = 64 * 1024;

FileError ErrorOf(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FileError::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return FileError::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FileError::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileError::DiskFull;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return FileError::OutOfMemory;
    default:
        return FileError::Other;
    }
}

FileResult LastError()
{
    const DWORD code = GetLastError();
    return FileResult::of(ErrorOf(code), code);
}

// A file held open by another program cannot be replaced, but the system calls that a
// denied access; asked for the file itself, it tells which.
FileResult ReplaceError(const std::wstring& path)
{
    const FileResult failed = LastError();
    if (failed.error != FileError::AccessDenied)
        return failed;
    const HANDLE probe = CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return failed;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION ? LastError() : failed;
}

std::wstring CurrentDirectory()
{
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

std::wstring Joined(const std::wstring& folder, const std::wstring& name)
{
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

bool Holds(const std::wstring& folder, const wchar_t* name)
{
    if (GetFileAttributesW(Joined(folder, name).c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    // Something there that cannot even be looked at is still there.
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// One file or folder, whatever path names it: volume serial number and file index.
struct FileIdentity {
    DWORD volume = 0, indexHigh = 0, indexLow = 0;
    bool operator==(const FileIdentity& other) const
    {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

bool IdentifyFile(const wchar_t* path, FileIdentity& identity)
{
    const HANDLE opened =
        CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return false;
    const OwnedHandle file(opened);
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file.get(), &information))
        return false;
    identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
    return true;
}

// Compared as files, so that another spelling of the same folder (8.3 names, a SUBST
// drive) is caught as well.
bool InsideWindowsFolder(const std::wstring& folder)
{
    wchar_t windows[MAX_PATH] = {};
    FileIdentity windowsFolder;
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !IdentifyFile(windows, windowsFolder))
        return false;
    for (std::wstring at = folder; !at.empty();) {
        FileIdentity identity;
        if (IdentifyFile(at.c_str(), identity) && identity == windowsFolder)
            return true;
        const std::size_t cut = at.find_last_of(L'\\', at.size() - (at.back() == L'\\' ? 2 : 1));
        if (cut == std::wstring::npos || cut < 2)
            break;
        at.resize(cut == 2 ? 3 : cut);  // "C:\" keeps its backslash
    }
    return false;
}

}  // namespace

std::string AnsiText(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(), length, nullptr, nullptr);
    return ansi;
}

Win32ModelSystem::Win32ModelSystem()
{
    useFolder(CurrentDirectory());
}

std::wstring Win32ModelSystem::ChooseSettingsFolder()
{
    const std::wstring current = CurrentDirectory();
    if (Holds(current, L"keycfg.ini") && !InsideWindowsFolder(current))
        return current;
    return ProgramFolder();
}

std::wstring Win32ModelSystem::ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut == 2 ? 3 : cut);
}

void Win32ModelSystem::useFolder(std::wstring folder)
{
    folder_ = std::move(folder);
    refusesWrites_ = InsideWindowsFolder(folder_);
}

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

std::string Win32ModelSystem::settingsFolder()
{
    return AnsiText(folder_);
}

std::wstring Win32ModelSystem::pathOf(const std::string& name) const
{
    return Joined(folder_, std::wstring(name.begin(), name.end()));  // the names are ASCII
}

FileResult Win32ModelSystem::readFile(const std::string& name, std::size_t limit, std::string& bytes)
{
    bytes.clear();
    // Others may read it meanwhile, nobody may write it: what is read is one version of it.
    const HANDLE opened = CreateFileW(pathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return LastError();
    const OwnedHandle file(opened);
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size))
        return LastError();
    if (static_cast<unsigned long long>(size.QuadPart) > limit)
        return FileResult::of(FileError::TooLarge);
    try {
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
        std::vector<char> chunk(ReadChunk);
        for (DWORD got = 0;; bytes.append(chunk.data(), got)) {
            if (!ReadFile(file.get(), chunk.data(), ReadChunk, &got, nullptr)) {
                const FileResult failed = LastError();
                bytes.clear();
                return failed;
            }
            if (got == 0)
                return {};
            if (bytes.size() + got > limit) {  // it grew while being read
                bytes.clear();
                return FileResult::of(FileError::TooLarge);
            }
        }
    } catch (const std::bad_alloc&) {
        bytes = std::string();
        return FileResult::of(FileError::OutOfMemory);
    }
}

FileResult Win32ModelSystem::writeFile(const std::string& name, const std::string& bytes)
{
    if (refusesWrites_)
        return FileResult::of(FileError::FolderRefused);
    const std::wstring path = pathOf(name);
    const std::wstring temporary = path + L".tmp";
    const HANDLE created =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE)
        return LastError();  // nothing of ours to remove: whatever is there stays
    FileResult result;
    {
        const OwnedHandle file(created);
        for (std::size_t written = 0; result && written < bytes.size();) {
            const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
            DWORD done = 0;
            if (!WriteFile(file.get(), bytes.data() + written, part, &done, nullptr) || done == 0)
                result = LastError();
            written += done;
        }
        // On disk before it takes the old file's place, so a crash cannot leave an empty file.
        if (result && !FlushFileBuffers(file.get()))
            result = LastError();
    }
    if (result && !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = ReplaceError(path);
    if (!result)
        DeleteFileW(temporary.c_str());
    return result;
}
