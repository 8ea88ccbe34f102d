#include "engine/win32/ForegroundApp.h"

#include "win32/Handles.h"
#include "win32/SystemFunctions.h"
#include "win32/SystemLibrary.h"

namespace {

std::string PathByToolHelp(DWORD pid)
{
    const auto createSnapshot = SystemFunctions::createToolhelp32Snapshot.get();
    const auto first = SystemFunctions::process32First.get();
    const auto next = SystemFunctions::process32Next.get();
    if (createSnapshot == nullptr || first == nullptr || next == nullptr)
        return {};

    const HANDLE taken = createSnapshot(TH32CS_SNAPPROCESS, 0);
    if (taken == INVALID_HANDLE_VALUE)
        return {};
    const OwnedHandle snapshot(taken);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = first(snapshot.get(), &entry); more; more = next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == pid)
            return entry.szExeFile;
    }
    return {};
}

std::string PathByPsapi(DWORD pid)
{
    // Loaded for this one look-up and freed with it: nothing is cached between keys.
    const OwnedLibrary psapi(LoadSystemLibrary(SystemFunctions::enumProcessModules.library()));
    const auto enumModules = SystemFunctions::enumProcessModules.in(psapi.get());
    const auto moduleFileName = SystemFunctions::getModuleFileNameExA.in(psapi.get());
    if (enumModules == nullptr || moduleFileName == nullptr)
        return {};

    const OwnedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process)
        return {};
    // Room for one module handle: the first module of a process is its executable.
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!enumModules(process.get(), &module, sizeof module, &needed))
        return {};
    char path[MAX_PATH] = {};
    if (moduleFileName(process.get(), module, path, MAX_PATH) == 0)
        return {};
    return path;
}

}  // namespace

std::string ExePathOfWindow(HWND window, DWORD platformId)
{
    DWORD pid = 0;
    if (window != nullptr)
        GetWindowThreadProcessId(window, &pid);
    // Without a window there is no process to name; a snapshot would otherwise offer
    // the idle process, whose id is 0, as the answer.
    if (pid == 0)
        return {};
    switch (platformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
        return PathByToolHelp(pid);
    case VER_PLATFORM_WIN32_NT:
        return PathByPsapi(pid);
    default:
        return {};
    }
}

std::string ExePathOfWindow(HWND window)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version))
        return {};
#pragma GCC diagnostic pop
    return ExePathOfWindow(window, version.dwPlatformId);
}
