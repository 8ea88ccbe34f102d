// Entry point: one copy of the program per desktop; a second copy asks the running one to
// show its tray menu and leaves.
#include "app/ShellApp.h"
#include "engine/win32/FileIdentity.h"
#include "ui/Controls.h"

#include <windows.h>

#include <string>

namespace {

constexpr char StartupFailedText[] = "初期化に失敗( -_-)\nアプリケーションを起動できません";
constexpr char StartupFailedCaption[] = "Error!!!";

// The current directory is the settings folder, where anyone who can write a settings file
// could also leave a library. Libraries are taken from the program's folder and the system
// only: LoadLibraryA(HookContract::LibraryName) still finds varokint.dll beside the program.
void LoadLibrariesFromKnownPlacesOnly()
{
    SetDllDirectoryA("");
    // Windows 8 and later, and 7 with its loader update; without it SetDllDirectoryA("")
    // alone keeps the current directory out.
    using SetDefaultDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto setDefaultDirectories = reinterpret_cast<SetDefaultDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefaultDirectories != nullptr)
        setDefaultDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::wstring ImagePath(HANDLE process)
{
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process, 0, path.data(), &length)) return {};
    path.resize(length);
    return path;
}

// The main window of a running copy of this program: a window of the main window's class
// and title whose process runs this very executable file. The same rule as the hook
// library's (hook/VarokintHook.cpp): any other program can make a window with that class
// and title, and must not make this copy leave. A copy installed in another folder is
// another file, so it does not count either; its library reports only to it.
HWND FindRunningCopy()
{
    FileIdentity self;
    if (!IdentifyFile(ImagePath(GetCurrentProcess()).c_str(), self)) return nullptr;
    HWND candidate = nullptr;
    while ((candidate = FindWindowExA(nullptr, candidate, HookContract::MainWindowClass,
                                      HookContract::MainWindowTitle)) != nullptr) {
        DWORD processId = 0;
        GetWindowThreadProcessId(candidate, &processId);
        const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
        if (process == nullptr) continue;
        const std::wstring path = ImagePath(process);
        CloseHandle(process);
        FileIdentity image;
        if (IdentifyFile(path.c_str(), image) && SameFile(image, self)) return candidate;
    }
    return nullptr;
}

int RunMessageLoop()
{
    MSG message = {};
    // GetMessageA returns -1 on failure; stopping there avoids spinning on a broken queue.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    LoadLibrariesFromKnownPlacesOnly();
    if (HWND running = FindRunningCopy()) {
        PostMessageA(running, WM_TRAYICON_NOTIFY, SecondInstanceRequest, WM_RBUTTONDOWN);
        return 0;
    }
    initCommonControls();
    ShellApp app;
    if (!app.Startup(instance)) {
        MessageBoxA(nullptr, StartupFailedText, StartupFailedCaption, MB_OK);
        return 0;
    }
    return RunMessageLoop();
}
