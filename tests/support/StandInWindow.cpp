#include "tests/support/StandInWindow.h"

#include "engine/HookContract.h"

#include <cstring>
#include <utility>

namespace wt {

namespace {

bool SameFile(const std::string& a, const std::string& b)
{
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const std::string* paths[] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        const HANDLE file = CreateFileA(paths[i]->c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        const BOOL known = GetFileInformationByHandle(file, &info[i]);
        CloseHandle(file);
        if (!known) return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

}  // namespace

std::string ActAsVarokinto()
{
    // The build's own folder holds the real varokint.exe, so this program acts from a folder
    // of its own next to it: varokint.exe there is this program's file, varokint.dll the
    // built library (both hard links, always current). The library is loaded from there
    // first, so the engine's LoadLibraryA("varokint") takes that module by its name.
    const std::string own = OwnExePath();
    const std::size_t slash = own.find_last_of('\\');
    const std::string folder = own.substr(0, slash + 1) + "acting-" + own.substr(slash + 1);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::pair<std::string, std::string> links[] = {
        {folder + "\\" + HookContract::ProgramFileName, own},
        {folder + "\\varokint.dll", WinePath(VR_HOOK_DLL)}};
    for (const auto& [link, target] : links) {
        if (SameFile(link, target)) continue;
        // Relinking replaces a file, so a link from an earlier build names another one.
        DeleteFileA(link.c_str());
        if (!CreateHardLinkA(link.c_str(), target.c_str(), nullptr) || !SameFile(link, target)) return "";
    }
    return LoadLibraryA(links[1].first.c_str()) != nullptr ? folder : "";
}

StandInMainWindow::StandInMainWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.lpszClassName = HookContract::MainWindowClass;
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, HookContract::MainWindowClass, HookContract::MainWindowTitle, WS_OVERLAPPED, 0, 0,
                              10, 10, nullptr, nullptr, nullptr, this);
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

bool HostProgram::start(const TempDir& dir, const std::string& name, const std::string& options,
                        bool withHookLibrary)
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
    // It answers once its hooks are in and its loop runs.
    DWORD_PTR ignored = 0;
    return window_ != nullptr && SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, DefaultWaitMs, &ignored);
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
