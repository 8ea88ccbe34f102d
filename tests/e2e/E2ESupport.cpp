#include "tests/e2e/E2ESupport.h"

#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace e2e {

namespace {

constexpr DWORD PollStepMs = 25;
constexpr int MessageBoxTextId = 0xFFFF;

std::string WindowsPathOf(std::string unixPath)
{
    std::replace(unixPath.begin(), unixPath.end(), '/', '\\');
    return "Z:" + unixPath;
}

std::string WindowClass(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

void CopyTree(const std::string& from, const std::string& to)
{
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTree(from + "\\" + name, to + "\\" + name);
        } else {
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* title;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->processId != 0 && owner != search->processId) {
        return TRUE;
    }
    if (WindowClass(window) != search->className) {
        return TRUE;
    }
    if (search->title != nullptr && WindowText(window) != search->title) {
        return TRUE;
    }
    if (search->visibleOnly && !IsWindowVisible(window)) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindTopWindow(DWORD processId, const char* className, const char* title, bool visibleOnly)
{
    WindowSearch search = {processId, className, title, visibleOnly, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectButton(HWND child, LPARAM param)
{
    auto* buttons = reinterpret_cast<std::vector<HWND>*>(param);
    if (WindowClass(child) == "Button" && IsWindowVisible(child)) {
        buttons->push_back(child);
    }
    return TRUE;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(PollStepMs);
    }
}

std::string ProgramFile(const char* builtPath)
{
    return WindowsPathOf(builtPath);
}

std::string SourceFile(const char* relative)
{
    return WindowsPathOf(std::string(VR_E2E_SOURCE_DIR) + "/" + relative);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TempDir::TempDir()
{
    char base[MAX_PATH] = {};
    GetTempPathA(sizeof base, base);
    static unsigned serial = 0;
    for (;;) {
        path_ = std::string(base) + "vr-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        if (CreateDirectoryA(path_.c_str(), nullptr)) {
            break;
        }
    }
}

TempDir::~TempDir()
{
    RemoveTree(path_);
}

void InstallProgram(const TempDir& dir, bool withHookLibrary)
{
    CopyFileA(ProgramFile(VR_E2E_PROGRAM).c_str(), dir.file("varokint.exe").c_str(), FALSE);
    if (withHookLibrary) {
        CopyFileA(ProgramFile(VR_E2E_HOOK_LIBRARY).c_str(), dir.file("varokint.dll").c_str(), FALSE);
    }
    CopyTree(SourceFile("help"), dir.file("help"));
}

bool Process::start(const std::string& exe, const std::string& directory, const std::string& arguments)
{
    end();
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &startup, &info_) != FALSE;
}

bool Process::waitExit(DWORD timeoutMs, DWORD& exitCode)
{
    if (info_.hProcess == nullptr || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(info_.hProcess, &exitCode) != FALSE;
}

bool Process::running() const
{
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void Process::end()
{
    if (info_.hProcess == nullptr) {
        return;
    }
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, DefaultWaitMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = {};
}

HWND FindProcessWindow(DWORD processId, const char* className, const char* title)
{
    return FindTopWindow(processId, className, title, false);
}

HWND StartProgram(Process& program, const TempDir& dir)
{
    if (!program.start(dir.file("varokint.exe"), dir.path())) {
        return nullptr;
    }
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindProcessWindow(program.id(), "VRClass", "Varokinto")) != nullptr; });
    // The window is answered only once start-up is over and the message loop runs, that
    // is once the hooks are in place.
    DWORD_PTR ignored = 0;
    if (window != nullptr
        && !SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, DefaultWaitMs, &ignored)) {
        return nullptr;
    }
    return window;
}

void ExitProgram(Process& program, HWND mainWindow)
{
    constexpr WPARAM ExitCommand = 40001;
    DWORD exitCode = 0;
    if (mainWindow != nullptr && program.running()) {
        PostMessageA(mainWindow, WM_COMMAND, ExitCommand, 0);
        program.waitExit(DefaultWaitMs, exitCode);
    }
    program.end();
}

HWND FindOpenMenu()
{
    return FindTopWindow(0, "#32768", nullptr, true);
}

std::optional<SeenMessageBox> AnswerMessageBox(DWORD processId, DWORD timeoutMs)
{
    HWND box = nullptr;
    // A message box is visible once its modal loop runs; only then does it take a click.
    if (!WaitUntil([&] { return (box = FindTopWindow(processId, "#32770", nullptr, true)) != nullptr; }, timeoutMs)) {
        return std::nullopt;
    }
    SeenMessageBox seen;
    seen.caption = WindowText(box);
    char text[4096] = {};
    GetDlgItemTextA(box, MessageBoxTextId, text, sizeof text);
    seen.text = text;
    std::vector<HWND> buttons;
    EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&buttons));
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    for (HWND button : buttons) {
        seen.buttons.push_back(WindowText(button));
    }
    // The icon is an icon static; a box without icon leaves it empty.
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClass(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON
            && IsWindowVisible(child) && SendMessageA(child, STM_GETICON, 0, 0) != 0) {
            seen.hasIcon = true;
        }
    }
    if (!buttons.empty()) {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(buttons.front()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(buttons.front()));
    }
    WaitUntil([&] { return !IsWindow(box); }, timeoutMs);
    return seen;
}

bool TrayIconPresent(HWND window, UINT id)
{
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = id;
    icon.uFlags = NIF_TIP;
    lstrcpynA(icon.szTip, "Varokinto", sizeof icon.szTip);
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

bool RunX(const std::string& command, DWORD timeoutMs)
{
    // Wine starts Unix programs but gives no handle to wait on; the command leaves a
    // marker file when it is done.
    static unsigned serial = 0;
    const std::string marker = "/tmp/vr-e2e-x-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    const std::string markerWindows = WindowsPathOf(marker);
    DeleteFileA(markerWindows.c_str());
    std::string commandLine = "/bin/sh -c \"" + command + "; : > " + marker + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    if (info.hProcess != nullptr) {
        CloseHandle(info.hProcess);
    }
    if (info.hThread != nullptr) {
        CloseHandle(info.hThread);
    }
    const bool done = WaitUntil([&] { return FileExists(markerWindows); }, timeoutMs);
    DeleteFileA(markerWindows.c_str());
    return done;
}

bool ClickWindow(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return ClickWindowAt(window, {client.right / 2, client.bottom / 2});
}

bool ClickWindowAt(HWND window, POINT point)
{
    ClientToScreen(window, &point);
    return RunX("xdotool mousemove " + std::to_string(point.x) + " " + std::to_string(point.y) + " click 1");
}

bool ClickTrayIcon()
{
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT bar = {};
    if (taskbar == nullptr || !GetWindowRect(taskbar, &bar)) {
        return false;
    }
    // The notification area is drawn at the right end of the taskbar, the newest icon
    // leftmost; ours is the only one, one small icon wide with a small margin.
    const int x = bar.right - GetSystemMetrics(SM_CXSMICON) / 2 - 3;
    const int y = (bar.top + bar.bottom) / 2;
    return RunX("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

std::string ProcessImagePath(HANDLE process)
{
    char path[MAX_PATH] = {};
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process, &module, sizeof module, &needed)) {
        return {};
    }
    GetModuleFileNameExA(process, module, path, sizeof path);
    return path;
}

std::string SwapLetterCase(std::string text)
{
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80 && std::isalpha(u)) {
            c = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
        }
    }
    return text;
}

} // namespace e2e
