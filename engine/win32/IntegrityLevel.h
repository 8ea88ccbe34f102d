// The mandatory integrity level of a process, from its token: 0x2000 medium (a normal
// program and the shell), 0x3000 high (run as administrator), 0x4000 system. Header-only
// and free of any runtime, so that the hook library could share it.
#pragma once
#include <windows.h>

// False when the process or its token cannot be queried.
inline bool ReadIntegrityLevel(HANDLE process, DWORD& level)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return false;
    // The label and the SID it points to, which has at most 15 sub-authorities.
    union {
        TOKEN_MANDATORY_LABEL label;
        BYTE bytes[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
    } buffer;
    DWORD size = 0;
    const BOOL read = GetTokenInformation(token, TokenIntegrityLevel, &buffer, sizeof buffer, &size);
    CloseHandle(token);
    if (!read || !IsValidSid(buffer.label.Label.Sid)) return false;
    const UCHAR count = *GetSidSubAuthorityCount(buffer.label.Label.Sid);
    if (count == 0) return false;
    level = *GetSidSubAuthority(buffer.label.Label.Sid, count - 1u);
    return true;
}

// The level of the process that owns the window, for example the shell's taskbar.
inline bool ReadIntegrityLevelOfWindow(HWND window, DWORD& level)
{
    DWORD processId = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0) return false;
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return false;
    const bool read = ReadIntegrityLevel(process, level);
    CloseHandle(process);
    return read;
}
