// Waits, files, scratch folders, windows, shell commands and screenshots for the Windows tests.
#include "tests/support/WineBasics.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace wt {
namespace {

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName, child = path + "\\" + name;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return done();
            }
            HWND top = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
            if (top == nullptr || ClassOf(top) != "#32770" || !IsDialogMessageA(top, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        if (done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, (std::min<DWORD>)(timeoutMs - elapsed, pollMs), QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WinePath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string OwnExePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

TempDir::TempDir(bool makeCurrent, const std::string& suffix)
{
    char base[MAX_PATH] = {};
    GetTempPathA(sizeof base, base);
    static unsigned serial = 0;
    // A name taken by an earlier run is skipped; a name the system cannot create at all
    // (a suffix it cannot store) is given up on after a while, leaving the tests to fail.
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = std::string(base) + "vr-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++serial) + suffix;
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
    if (makeCurrent) {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(sizeof current, current);
        previous_ = current;
        SetCurrentDirectoryA(path_.c_str());
    }
}

TempDir::~TempDir()
{
    if (!previous_.empty()) SetCurrentDirectoryA(previous_.c_str());
    RemoveTree(path_);
}

// Wine starts Unix programs but gives no handle to wait on: the command leaves its exit
// status in a file, which is polled while this thread's messages are pumped.
int RunShell(const std::string& command, DWORD timeoutMs)
{
    static int serial = 0;
    const std::string marker = "/tmp/vr-wt-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    const std::string markerPath = WinePath(marker);
    DeleteFileA(markerPath.c_str());
    std::string line = "/bin/sh -c \"" + command + "; echo $? > " + marker + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return -1;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    int status = -1;
    PumpUntil(
        [&] {
        FILE* file = std::fopen(markerPath.c_str(), "r");
        if (file == nullptr) return false;
        const bool complete = std::fscanf(file, "%d", &status) == 1;
        std::fclose(file);
        return complete;
        },
        timeoutMs);
    DeleteFileA(markerPath.c_str());
    return status;
}

void Snapshot(const char* name)
{
    const char* folder = std::getenv("VR_SHOT_DIR");
    if (folder == nullptr) return;
    PumpFor(1500);  // Wine maps a newly shown window a while after it is shown
    RunShell(std::string("import -window root ") + folder + "/" + name + ".png", 10000);
}

HWND FindTopWindow(DWORD processId, const char* className, const char* title, bool visibleOnly)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, className, title); window != nullptr;
         window = FindWindowExA(nullptr, window, className, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if ((processId == 0 || owner == processId) && (!visibleOnly || IsWindowVisible(window))) return window;
    }
    return nullptr;
}

std::string Text(HWND window)
{
    char text[4096] = {};
    if (window != nullptr) SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

}  // namespace wt
