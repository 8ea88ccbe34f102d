#include "tests/support/StandInWindow.h"

#include "contract/HookContract.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace wt {

namespace {

// Whether the copy is the file as it is now: same size, same time of the last write (which
// CopyFileA keeps).
bool Current(const std::string& copy, const std::string& original)
{
    WIN32_FILE_ATTRIBUTE_DATA a, b;
    return GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &a) &&
           GetFileAttributesExA(original.c_str(), GetFileExInfoStandard, &b) && a.nFileSizeLow == b.nFileSizeLow &&
           a.nFileSizeHigh == b.nFileSizeHigh && CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

// Copies, not hard links: Wine names a process or a library by the first path through which
// it opened the file, which for a link is the original's, and the library compares paths.
bool Refresh(const std::string& copy, const std::string& original)
{
    if (Current(copy, original)) return true;
    // An older library may still be mapped in processes that it hooked: set it aside.
    const std::string aside = copy + "." + std::to_string(GetTickCount()) + ".old";
    MoveFileExA(copy.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
    DeleteFileA(aside.c_str());
    return CopyFileA(original.c_str(), copy.c_str(), FALSE) && Current(copy, original);
}

std::string OwnName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

}  // namespace

int RunAsVarokinto(int argc, char** argv)
{
    const std::string own = OwnExePath();
    if (lstrcmpiA(OwnName(own).c_str(), HookContract::ProgramFileName) == 0) return -1;
    // The build's own folder holds the real varokint.exe, so the copy runs from a folder of
    // its own next to it, with the built varokint.dll.
    const std::string folder = own.substr(0, own.size() - OwnName(own).size()) + "acting-" + OwnName(own);
    CreateDirectoryA(folder.c_str(), nullptr);
    // clang-format off
    const std::pair<std::string, std::string> copies[] = {
        {folder + "\\" + HookContract::ProgramFileName, own},
        {folder + "\\varokint.dll", WinePath(VR_HOOK_DLL)}};
    for (const auto& [copy, original] : copies) {
        if (!Refresh(copy, original)) {
            std::fprintf(stderr, "RunAsVarokinto: could not copy %s\n", copy.c_str());
            return 2;
        }
    }
    // clang-format on
    std::string line = "\"" + copies[0].first + "\"";
    for (int i = 1; i < argc; ++i) line += std::string(" \"") + argv[i] + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION copy = {};
    if (!CreateProcessA(copies[0].first.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &copy)) {
        std::fprintf(stderr, "RunAsVarokinto: could not start %s\n", copies[0].first.c_str());
        return 2;
    }
    DWORD exitCode = 2;
    WaitForSingleObject(copy.hProcess, INFINITE);
    GetExitCodeProcess(copy.hProcess, &exitCode);
    CloseHandle(copy.hThread);
    CloseHandle(copy.hProcess);
    return static_cast<int>(exitCode);
}

std::string ActAsVarokinto()
{
    const std::string own = OwnExePath();
    if (lstrcmpiA(OwnName(own).c_str(), HookContract::ProgramFileName) != 0) return "";
    // Loaded from this folder first, so the engine's LoadLibraryA("varokint") takes this module.
    const std::string folder = own.substr(0, own.size() - OwnName(own).size() - 1);
    return LoadLibraryA((folder + "\\varokint.dll").c_str()) != nullptr ? folder : "";
}

StandInMainWindow::StandInMainWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.lpszClassName = HookContract::MainWindowClass;
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, HookContract::MainWindowClass, HookContract::MainWindowTitle, WS_OVERLAPPED, 0, 0, 10,
                              10, nullptr, nullptr, nullptr, this);
}

StandInMainWindow::~StandInMainWindow()
{
    if (keyboardHook_ != nullptr) UnhookWindowsHookEx(keyboardHook_);
    if (messageHook_ != nullptr) UnhookWindowsHookEx(messageHook_);
    close();
    UnregisterClassA(HookContract::MainWindowClass, nullptr);
}

bool StandInMainWindow::Hook(const std::string& libraryPath)
{
    library_ = LoadLibraryA(libraryPath.c_str());
    if (library_ == nullptr) return false;
    // Through void (*)(): the one function type any other converts to without a warning.
    auto procedure = [&](const char* name) {
        return reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(library_, name)));
    };
    keyboardHook_ = SetWindowsHookExA(WH_KEYBOARD, procedure(HookContract::KeyboardProcName), library_, 0);
    messageHook_ = SetWindowsHookExA(WH_GETMESSAGE, procedure(HookContract::MessageProcName), library_, 0);
    return hooked();
}

void StandInMainWindow::close()
{
    if (window_ != nullptr) DestroyWindow(window_);
    window_ = nullptr;
}

std::vector<std::string> StandInMainWindow::texts() const
{
    std::vector<std::string> lines;
    for (const ReportedKey& report : reports) lines.push_back(report.text());
    return lines;
}

LRESULT CALLBACK StandInMainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<StandInMainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self != nullptr)
        return self->OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT StandInMainWindow::OnCopyData(const COPYDATASTRUCT& data)
{
    std::uint32_t flags = 0;
    if (data.lpData != nullptr && data.cbData >= sizeof flags) std::memcpy(&flags, data.lpData, sizeof flags);
    reports.push_back({static_cast<unsigned>(data.dwData), flags, static_cast<std::uint32_t>(data.cbData)});
    if (answer) return answer(data);
    const bool down = !KeyFlags(flags).up();
    if (down && data.dwData == stallVk) {
        Sleep(1600);  // longer than the hook library waits
        return HookContract::KeyConsumed;
    }
    return down && data.dwData == swallowVk ? HookContract::KeyConsumed : HookContract::KeyPassed;
}

bool HostProgram::start(const TempDir& dir, const std::string& name, const std::string& options, bool withHookLibrary)
{
    const std::string exe = dir.file(name);
    log_ = dir.file(name + ".log");
    DeleteFileA(log_.c_str());
    if (!CopyFileA(WinePath(VR_MINIMAL_HOST_EXE).c_str(), exe.c_str(), FALSE)) return false;
    // A library already there may still be mapped in hooked processes: it stays.
    const std::string library = dir.file("varokint.dll");
    if (withHookLibrary && !FileExists(library) && !CopyFileA(WinePath(VR_HOOK_DLL).c_str(), library.c_str(), FALSE))
        return false;
    const std::string logOption = options.find("--log") == std::string::npos ? " --log \"" + log_ + "\"" : "";
    if (!process.start(exe, dir.path(), options + logOption)) return false;
    PumpUntil([&] {
        return (window_ = FindTopWindow(process.id(), HookContract::MainWindowClass, HookContract::MainWindowTitle)) !=
               nullptr;
    });
    // It answers once its hooks are in, its windows made and its loop runs (a thousand
    // windows take Wine several seconds).
    DWORD_PTR ignored = 0;
    return window_ != nullptr && SendMessageTimeoutA(window_, WM_NULL, 0, 0, 0, 4 * DefaultWaitMs, &ignored);
}

void HostProgram::exit()
{
    ExitProgram(process, window_);
    window_ = nullptr;
}

std::vector<std::string> HostProgram::reports() const
{
    std::vector<std::string> lines;
    const std::string bytes = ReadBytes(log_);
    for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

void HostProgram::clearReports() const { DeleteFileA(log_.c_str()); }

}  // namespace wt
