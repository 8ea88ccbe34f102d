// One file, whatever path names it: volume serial number and file index (8.3 names and
// SUBST drives spell one file differently). How the hook library and the start-up tell
// Varokinto's own varokint.exe from any other program. Header-only and free of any runtime,
// since varokint.dll includes it.
#pragma once
#include <windows.h>

struct FileIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
};

inline bool IdentifyFile(const wchar_t* path, FileIdentity& identity)
{
    const HANDLE file = CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information;
    const BOOL known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    if (!known) return false;
    identity.volume = information.dwVolumeSerialNumber;
    identity.indexHigh = information.nFileIndexHigh;
    identity.indexLow = information.nFileIndexLow;
    return true;
}

inline bool SameFile(const FileIdentity& a, const FileIdentity& b)
{
    return a.volume == b.volume && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
}
