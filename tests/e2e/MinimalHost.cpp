// MinimalHost.exe: the least a program can do with varokint.dll's reports, and, with options,
// the windows that tests set beside Varokinto. It opens a window of the class and title the
// hook library reports to, installs both of the library's hooks from its own folder, answers
// every report 0 at once, and leaves on the exit command (WM_COMMAND 40001) with its hooks
// removed. Copied as varokint.exe beside varokint.dll it counts as Varokinto for the
// library; under any other name or folder it is an impostor, which the library must ignore.
//
// Options: --log FILE (each report appended as "A down" / "A up"), --swallow VK (key-downs of
// VK answered 1; 0: every report), --delay MS (each report answered after MS), --hang-once MS
// (the first report answered after MS), --relay (each report sent on to the first other
// window of the class and title, and its answer given back), --no-hooks, --flood N (N more
// windows of the class and title, made after its own and before it answers anything),
// --squat (takes the name under which varokint.exe in its folder publishes its main window,
// and names its own window there).
//
// The key latency benchmark runs it without options to show what the cross-process report
// alone costs.
#include "contract/HookContract.h"
#include "win32/ProgramIdentity.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr UINT ExitCommand = 40001;
constexpr unsigned SwallowAll = 0;
HHOOK keyboardHook = nullptr, messageHook = nullptr;

struct Options {
    std::string log;
    bool swallow = false;
    unsigned swallowVk = 0;
    DWORD delayMs = 0;
    DWORD hangOnceMs = 0;
    bool relay = false;
    bool hooks = true;
    unsigned flood = 0;
    bool squat = false;
} options;

void Log(const COPYDATASTRUCT& data)
{
    if (options.log.empty()) return;
    std::uint32_t flags = 0;
    if (data.lpData != nullptr && data.cbData >= sizeof flags) std::memcpy(&flags, data.lpData, sizeof flags);
    const std::string line =
        std::string(1, static_cast<char>(data.dwData)) + (KeyFlags(flags).up() ? " up\r\n" : " down\r\n");
    const HANDLE file = CreateFileA(options.log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

LRESULT Answer(HWND window, const COPYDATASTRUCT& data, LPARAM lParam)
{
    Log(data);
    if (options.hangOnceMs != 0) {
        Sleep(options.hangOnceMs);
        options.hangOnceMs = 0;
    }
    if (options.delayMs != 0) Sleep(options.delayMs);
    if (options.relay) {
        HWND other = nullptr;
        while ((other = FindWindowExA(nullptr, other, HookContract::MainWindowClass, HookContract::MainWindowTitle)) ==
               window) {
        }
        DWORD_PTR reply = 0;
        if (other != nullptr) SendMessageTimeoutA(other, WM_COPYDATA, 0, lParam, SMTO_ABORTIFHUNG, 1000, &reply);
        return static_cast<LRESULT>(reply);
    }
    std::uint32_t flags = 0;
    if (data.lpData != nullptr && data.cbData >= sizeof flags) std::memcpy(&flags, data.lpData, sizeof flags);
    const bool down = !KeyFlags(flags).up();
    if (options.swallow && (options.swallowVk == SwallowAll || (down && data.dwData == options.swallowVk)))
        return HookContract::KeyConsumed;
    return HookContract::KeyPassed;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COPYDATA:
        return Answer(window, *reinterpret_cast<const COPYDATASTRUCT*>(lParam), lParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == ExitCommand) {
            if (keyboardHook != nullptr) UnhookWindowsHookEx(keyboardHook);
            if (messageHook != nullptr) UnhookWindowsHookEx(messageHook);
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ReadOptions()
{
    for (int i = 1; i < __argc; ++i) {
        const std::string option = __argv[i];
        const char* value = i + 1 < __argc ? __argv[i + 1] : "";
        if (option == "--log")
            options.log = value, ++i;
        else if (option == "--swallow")
            options.swallow = true, options.swallowVk = std::strtoul(value, nullptr, 0), ++i;
        else if (option == "--delay")
            options.delayMs = std::strtoul(value, nullptr, 0), ++i;
        else if (option == "--hang-once")
            options.hangOnceMs = std::strtoul(value, nullptr, 0), ++i;
        else if (option == "--relay")
            options.relay = true;
        else if (option == "--no-hooks")
            options.hooks = false;
        else if (option == "--squat")
            options.squat = true;
        else if (option == "--flood")
            options.flood = std::strtoul(value, nullptr, 0), ++i;
    }
}

HOOKPROC HookProcedure(HMODULE library, const char* name)
{
    return reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    ReadOptions();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = HookContract::MainWindowClass;
    if (!RegisterClassA(&windowClass)) return 2;
    HWND window = CreateWindowExA(0, HookContract::MainWindowClass, HookContract::MainWindowTitle, WS_OVERLAPPEDWINDOW,
                                  0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 3;
    if (options.hooks) {
        HMODULE library = LoadLibraryA(HookContract::LibraryName);
        if (library == nullptr) return 3;
        keyboardHook =
            SetWindowsHookExA(WH_KEYBOARD, HookProcedure(library, HookContract::KeyboardProcName), library, 0);
        messageHook =
            SetWindowsHookExA(WH_GETMESSAGE, HookProcedure(library, HookContract::MessageProcName), library, 0);
        if (keyboardHook == nullptr || messageHook == nullptr) return 4;
    }
    ProgramIdentity program;
    if (options.squat &&
        (IdentifyProgram(instance, program) != IdentityStatus::Known || PublishMainWindow(program, window) == nullptr))
        return 6;
    for (unsigned i = 0; i < options.flood; ++i) {
        if (CreateWindowExA(0, HookContract::MainWindowClass, HookContract::MainWindowTitle, WS_OVERLAPPEDWINDOW, 0, 0,
                            0, 0, nullptr, nullptr, instance, nullptr) == nullptr)
            return 5;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
