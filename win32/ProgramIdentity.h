// Which program runs a window: the one check that tells Varokinto's main window from any
// other window of its class and title, made by the hook library before it reports a key and
// by the start-up before it leaves for a running copy. A window counts when its process runs
// varokint.exe from the library's folder (compared as the system names both files, never by
// opening a file another program chose), as the same user, in the same session, at an
// integrity level at least the asking process's own (contract/ReceiverRule.h). The same token
// reader tells the start-up whether it runs above the shell.
//
// Header-only and free of any runtime, since varokint.dll includes it: no heap, nothing
// constructed at load, buffers on the stack below a page.
#pragma once
#include "contract/HookContract.h"
#include "contract/ReceiverRule.h"

#include <windows.h>
#include <psapi.h>

#include <cstdint>

// Room for the program's path in the system's native form (\Device\HarddiskVolume3\...).
// The system loads a library only from a path shorter than MAX_PATH, and a device name in
// place of the drive adds a few dozen characters; a path that would not fit is refused at
// start-up.
constexpr DWORD ProgramPathRoom = 1024;

// The program the hook library reports to, and the facts of the asking process that a
// receiver must match. Worked out once per process.
struct ProgramIdentity {
    wchar_t path[ProgramPathRoom];  // varokint.exe beside the library, native form
    DWORD length;
    BYTE user[SECURITY_MAX_SID_SIZE];
    BYTE owner[SECURITY_MAX_SID_SIZE];  // the default owner of what this process creates
    DWORD session;
    DWORD integrity;
    wchar_t publication[ReceiverRule::PublicationNameLength + 1];
};

enum class IdentityStatus { Known, PathTooLong, Unreadable };

namespace ProgramIdentityDetail {

inline DWORD LastPart(PSID sid)
{
    return *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u);
}

// The facts of a process's token that a receiver is judged by.
struct TokenFacts {
    union {
        TOKEN_USER user;
        BYTE userRoom[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    };
    union {
        TOKEN_OWNER owner;
        BYTE ownerRoom[sizeof(TOKEN_OWNER) + SECURITY_MAX_SID_SIZE];
    };
    union {
        TOKEN_MANDATORY_LABEL label;
        BYTE labelRoom[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
    };
    DWORD session;
};

inline bool ReadToken(HANDLE process, TokenFacts& facts)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return false;
    DWORD size = 0;
    const bool read = GetTokenInformation(token, TokenUser, facts.userRoom, sizeof facts.userRoom, &size) &&
                      GetTokenInformation(token, TokenOwner, facts.ownerRoom, sizeof facts.ownerRoom, &size) &&
                      GetTokenInformation(token, TokenIntegrityLevel, facts.labelRoom, sizeof facts.labelRoom, &size) &&
                      GetTokenInformation(token, TokenSessionId, &facts.session, sizeof facts.session, &size);
    CloseHandle(token);
    return read;
}

// The module's file in the native form in which the system also names a process's program
// file. Wine gives modules a drive-letter form (\??\Z:\...); the drive is replaced by the
// device it stands for. 0 when it cannot be read, room when it does not fit.
inline DWORD NativeModulePath(HMODULE module, wchar_t* path, DWORD room)
{
    const DWORD length = GetMappedFileNameW(GetCurrentProcess(), module, path, room);
    if (length == 0)
        return 0;
    if (length >= room - 1)
        return room;
    const bool driveForm =
        length > 6 && path[0] == L'\\' && path[1] == L'?' && path[2] == L'?' && path[3] == L'\\' && path[5] == L':';
    if (!driveForm)
        return length;
    const wchar_t drive[] = {path[4], L':', L'\0'};
    wchar_t device[MAX_PATH];
    if (QueryDosDeviceW(drive, device, MAX_PATH) == 0)
        return 0;
    const DWORD deviceLength = static_cast<DWORD>(lstrlenW(device));
    const DWORD rest = length - 6;
    if (deviceLength + rest >= room)
        return room;
    // Moved from the end, since the device name is longer than "\??\X:".
    for (DWORD i = rest; i-- > 0;)
        path[deviceLength + i] = path[6 + i];
    for (DWORD i = 0; i < deviceLength; ++i)
        path[i] = device[i];
    return deviceLength + rest;
}

inline ReceiverRule::Fact SameImage(HANDLE process, const ProgramIdentity& program)
{
    wchar_t image[ProgramPathRoom];
    DWORD length = ProgramPathRoom;
    if (!QueryFullProcessImageNameW(process, PROCESS_NAME_NATIVE, image, &length)) {
        // Longer than the program's path, which fits.
        return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? ReceiverRule::Fact::Different
                                                           : ReceiverRule::Fact::Unknown;
    }
    return CompareStringOrdinal(image, static_cast<int>(length), program.path, static_cast<int>(program.length),
                                TRUE) == CSTR_EQUAL
               ? ReceiverRule::Fact::Same
               : ReceiverRule::Fact::Different;
}

}  // namespace ProgramIdentityDetail

// varokint.exe in the folder of that module (the hook library, or the program itself), and
// the facts of this process.
inline IdentityStatus IdentifyProgram(HMODULE besideModule, ProgramIdentity& program)
{
    using namespace ProgramIdentityDetail;
    const DWORD length = NativeModulePath(besideModule, program.path, ProgramPathRoom);
    if (length == 0)
        return IdentityStatus::Unreadable;
    if (length == ProgramPathRoom)
        return IdentityStatus::PathTooLong;
    DWORD folderEnd = length;
    while (folderEnd > 0 && program.path[folderEnd - 1] != L'\\')
        --folderEnd;
    for (const char* name = HookContract::ProgramFileName; *name != '\0'; ++name) {
        if (folderEnd >= ProgramPathRoom - 1)
            return IdentityStatus::PathTooLong;
        program.path[folderEnd++] = static_cast<wchar_t>(*name);
    }
    program.path[folderEnd] = L'\0';
    program.length = folderEnd;
    ReceiverRule::PublicationName(program.path, program.length, program.publication);

    TokenFacts token;
    if (!ReadToken(GetCurrentProcess(), token) || !CopySid(sizeof program.user, program.user, token.user.User.Sid) ||
        !CopySid(sizeof program.owner, program.owner, token.owner.Owner))
        return IdentityStatus::Unreadable;
    program.session = token.session;
    program.integrity = LastPart(token.label.Label.Sid);
    return IdentityStatus::Known;
}

// Whether the process runs the program for this one. Only the system's own records are
// read: the process's image name and its token.
inline ReceiverRule::Verdict JudgeProcess(DWORD processId, const ProgramIdentity& program)
{
    using namespace ProgramIdentityDetail;
    using ReceiverRule::Fact;
    ReceiverRule::ReceiverFacts facts;
    const HANDLE process = processId != 0 ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId) : nullptr;
    if (process == nullptr)
        return ReceiverRule::Judge(facts, program.integrity);
    facts.image = SameImage(process, program);
    TokenFacts token;
    // The token only for the program's own file: any other is settled already.
    if (facts.image == Fact::Same && ReadToken(process, token)) {
        facts.user = EqualSid(token.user.User.Sid, const_cast<BYTE*>(program.user)) ? Fact::Same : Fact::Different;
        facts.session = token.session == program.session ? Fact::Same : Fact::Different;
        facts.integrityKnown = true;
        facts.integrity = LastPart(token.label.Label.Sid);
    }
    CloseHandle(process);
    return ReceiverRule::Judge(facts, program.integrity);
}

inline ReceiverRule::Verdict JudgeWindow(HWND window, const ProgramIdentity& program, DWORD& processId)
{
    processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return JudgeProcess(processId, program);
}

// The mandatory integrity level of a process, from its token: 0x2000 medium (a normal
// program and the shell), 0x3000 high (run as administrator), 0x4000 system. False when the
// process or its token cannot be queried.
inline bool ReadIntegrityLevel(HANDLE process, DWORD& level)
{
    ProgramIdentityDetail::TokenFacts token;
    if (!ProgramIdentityDetail::ReadToken(process, token))
        return false;
    const PSID label = token.label.Label.Sid;
    if (!IsValidSid(label) || *GetSidSubAuthorityCount(label) == 0)
        return false;
    level = ProgramIdentityDetail::LastPart(label);
    return true;
}

// The level of the process that owns the window, for example the shell's taskbar.
inline bool ReadIntegrityLevelOfWindow(HWND window, DWORD& level)
{
    DWORD processId = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0)
        return false;
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return false;
    const bool read = ReadIntegrityLevel(process, level);
    CloseHandle(process);
    return read;
}

// Publishing the main window: a named section of one 64-bit word, the window's handle, made
// by the program and kept open while it runs. Only the program makes it; the library only
// reads it.
constexpr DWORD PublicationSize = sizeof(std::uint64_t);

// The section's handle, or null when another process holds the name already (the library
// then finds the main window by its search).
inline HANDLE PublishMainWindow(const ProgramIdentity& program, HWND window)
{
    const HANDLE section =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, PublicationSize, program.publication);
    if (section == nullptr)
        return nullptr;
    void* view = GetLastError() == ERROR_ALREADY_EXISTS ? nullptr
                                                        : MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, PublicationSize);
    if (view == nullptr) {
        CloseHandle(section);
        return nullptr;
    }
    *static_cast<volatile std::uint64_t*>(view) = reinterpret_cast<std::uintptr_t>(window);
    UnmapViewOfFile(view);
    return section;
}

// The window the published section names, or null. The section is read only when its maker
// could end this process anyway (the same user, not a lower level), since a section backed
// by a file can stall or fail the read; whoever made it, its word is only a candidate,
// judged like any other window.
inline HWND PublishedMainWindow(const ProgramIdentity& program)
{
    const HANDLE section = OpenFileMappingW(FILE_MAP_READ | READ_CONTROL, FALSE, program.publication);
    if (section == nullptr)
        return nullptr;
    ReceiverRule::PublisherFacts facts;
    alignas(8) BYTE descriptor[512];
    DWORD needed = 0;
    bool trusted = false;
    if (GetKernelObjectSecurity(section, OWNER_SECURITY_INFORMATION | LABEL_SECURITY_INFORMATION, descriptor,
                                sizeof descriptor, &needed)) {
        PSID owner = nullptr;
        PACL labels = nullptr;
        BOOL defaulted = FALSE, present = FALSE;
        if (GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) && owner != nullptr) {
            facts.ownerKept = true;
            facts.ownerIsHookedUser =
                EqualSid(owner, const_cast<BYTE*>(program.user)) || EqualSid(owner, const_cast<BYTE*>(program.owner));
        }
        if (GetSecurityDescriptorSacl(descriptor, &present, &labels, &defaulted) && present && labels != nullptr) {
            for (DWORD i = 0; i < labels->AceCount; ++i) {
                ACE_HEADER* ace = nullptr;
                if (!GetAce(labels, i, reinterpret_cast<void**>(&ace)) ||
                    ace->AceType != SYSTEM_MANDATORY_LABEL_ACE_TYPE)
                    continue;
                facts.labelled = true;
                facts.labelIntegrity =
                    ProgramIdentityDetail::LastPart(&reinterpret_cast<SYSTEM_MANDATORY_LABEL_ACE*>(ace)->SidStart);
            }
        }
        trusted = ReceiverRule::TrustPublisher(facts, program.integrity);
    }
    std::uint64_t word = 0;
    const void* view = trusted ? MapViewOfFile(section, FILE_MAP_READ, 0, 0, PublicationSize) : nullptr;
    if (view != nullptr) {
        word = *static_cast<const volatile std::uint64_t*>(view);
        UnmapViewOfFile(view);
    }
    CloseHandle(section);
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(word));
}

// Finds the program's main window: first the one it publishes, then the windows of its class
// and title in z-order, going on where the previous search stopped, with the processes
// already found not ours (or not yet known) remembered, so that a thousand windows of one
// process cost one check. Each search stops after `checks` processes judged or `ms` of
// looking, whichever comes first. Gives the window and the process judged to run it.
class ReceiverSearch {
public:
    struct Budget {
        int checks;
        DWORD ms;
    };

    HWND find(const ProgramIdentity& program, Budget budget, DWORD& processId)
    {
        using ReceiverRule::Verdict;
        processId = 0;
        const HWND published = PublishedMainWindow(program);
        if (published != nullptr && budget.checks-- > 0 && JudgeWindow(published, program, processId) == Verdict::Ours)
            return published;
        processId = 0;

        const DWORD now = GetTickCount();
        LARGE_INTEGER start, frequency, tick;
        QueryPerformanceCounter(&start);
        QueryPerformanceFrequency(&frequency);
        const LONGLONG limit = frequency.QuadPart * budget.ms / 1000;
        bool fromTop = resume_ == nullptr;
        while (budget.checks > 0) {
            const HWND candidate =
                FindWindowExA(nullptr, resume_, HookContract::MainWindowClass, HookContract::MainWindowTitle);
            resume_ = candidate;
            if (candidate == nullptr) {
                // The end, or the window to go on from is gone: once more from the top.
                if (fromTop)
                    return nullptr;
                fromTop = true;
                continue;
            }
            processId = 0;
            GetWindowThreadProcessId(candidate, &processId);
            Verdict verdict = Verdict::Unknown;
            if (processId != 0 && !memory_.recall(processId, now, verdict)) {
                --budget.checks;
                verdict = JudgeProcess(processId, program);
                if (verdict == Verdict::Ours)
                    return candidate;
                memory_.remember(processId, verdict, now);
            }
            processId = 0;
            QueryPerformanceCounter(&tick);
            if (tick.QuadPart - start.QuadPart >= limit)
                break;
        }
        return nullptr;
    }

private:
    ReceiverRule::VerdictMemory<64> memory_;
    HWND resume_ = nullptr;
};
