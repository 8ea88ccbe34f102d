// The functions of the system that the program looks up by name at run time, each in one
// typed entry: where it lives, what it is called, and its type. They are missing on some
// versions of Windows, or live in a library that the program loads only when it needs it;
// callers get a typed pointer that may be null, never a cast of their own.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

template <class Function> class SystemFunction {
public:
    constexpr SystemFunction(const char* library, const char* name) : library_(library), name_(name) {}

    // In its library, which every process has loaded (kernel32, user32, ntdll): looked up
    // once, on first use. Null where this system lacks it.
    Function get()
    {
        if (!lookedUp_) {
            function_ = in(GetModuleHandleA(library_));
            lookedUp_ = true;
        }
        return function_;
    }
    // In its library as the caller loaded it, for as long as the caller keeps it loaded.
    Function in(HMODULE module) const
    {
        // GetProcAddress hands back a generic FARPROC; the entry names the real type.
        return module == nullptr ? nullptr
                                 : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name_)));
    }
    const char* library() const { return library_; }

private:
    const char* library_;
    const char* name_;
    Function function_ = nullptr;
    bool lookedUp_ = false;
};

namespace SystemFunctions {

// Windows 8, and 7 with its loader update.
inline SystemFunction<BOOL(WINAPI*)(DWORD)> setDefaultDllDirectories{"kernel32.dll", "SetDefaultDllDirectories"};
// Windows 10 1607.
inline SystemFunction<UINT(WINAPI*)(HWND)> getDpiForWindow{"user32.dll", "GetDpiForWindow"};
// Windows 7.
inline SystemFunction<BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT)> changeWindowMessageFilterEx{
    "user32.dll", "ChangeWindowMessageFilterEx"};
// Only under Wine.
inline SystemFunction<const char*(CDECL*)()> wineGetVersion{"ntdll.dll", "wine_get_version"};
// Tool Help, in kernel32 of the Windows 95 family.
inline SystemFunction<HANDLE(WINAPI*)(DWORD, DWORD)> createToolhelp32Snapshot{"kernel32.dll",
                                                                              "CreateToolhelp32Snapshot"};
inline SystemFunction<BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*)> process32First{"kernel32.dll", "Process32First"};
inline SystemFunction<BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*)> process32Next{"kernel32.dll", "Process32Next"};

// In libraries the caller loads from the system folder (LoadSystemLibrary) and frees again.
inline SystemFunction<BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*)> enumProcessModules{"PSAPI.DLL",
                                                                                         "EnumProcessModules"};
inline SystemFunction<DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD)> getModuleFileNameExA{"PSAPI.DLL",
                                                                                          "GetModuleFileNameExA"};
inline SystemFunction<BOOL(WINAPI*)(HWND, DWORD)> wtsRegisterSessionNotification{"wtsapi32.dll",
                                                                                 "WTSRegisterSessionNotification"};
inline SystemFunction<BOOL(WINAPI*)(HWND)> wtsUnRegisterSessionNotification{"wtsapi32.dll",
                                                                            "WTSUnRegisterSessionNotification"};
inline SystemFunction<HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR)> htmlHelpA{"hhctrl.ocx", "HtmlHelpA"};

}  // namespace SystemFunctions
