// Stands in for the program's main window: same class and title, so the hook library finds
// it when this program acts as Varokinto (ActAsVarokinto, or the library loaded by Hook()
// from a folder whose varokint.exe is this program); it records every key report and
// answers as the test chooses. With Hook() it also sets the hooks of an installed
// varokint.dll the way the program sets them.
#pragma once
#include "contract/HookContract.h"
#include "tests/support/ProgramDriver.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wt {

// The hook library reports only to a process that runs varokint.exe from its own folder, as
// the same user at an integrity level not below the typing application's. A test program
// that acts as Varokinto therefore runs as that file: RunAsVarokinto, at the start of its
// main, runs a copy of it as varokint.exe from a folder of its own beside the build's one
// (with a copy of the built varokint.dll) and returns that copy's exit code; in the copy it returns -1
// and main goes on. ActAsVarokinto, in the copy, loads the library from there and returns
// the folder, or "" when this program does not run as varokint.exe.
int RunAsVarokinto(int argc, char** argv);
std::string ActAsVarokinto();

struct ReportedKey {
    unsigned vk;
    std::uint32_t flags;
    std::uint32_t size;

    bool up() const { return KeyFlags(flags).up(); }
    // "A down", "F up"
    std::string text() const { return std::string(1, static_cast<char>(vk)) + (up() ? " up" : " down"); }
};

class StandInMainWindow {
public:
    std::vector<ReportedKey> reports;
    unsigned swallowVk = 0;  // key-downs of this key are answered 1
    unsigned stallVk = 0;    // key-downs of this key are answered after the library stopped waiting
    // When set, answers every report in place of the two above.
    std::function<LRESULT(const COPYDATASTRUCT&)> answer;

    StandInMainWindow();
    ~StandInMainWindow();
    StandInMainWindow(const StandInMainWindow&) = delete;
    StandInMainWindow& operator=(const StandInMainWindow&) = delete;

    bool Hook(const std::string& libraryPath);
    bool hooked() const { return window_ != nullptr && keyboardHook_ != nullptr && messageHook_ != nullptr; }
    void close();
    HWND handle() const { return window_; }
    std::vector<std::string> texts() const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(const COPYDATASTRUCT& data);

    HWND window_ = nullptr;
    HMODULE library_ = nullptr;
    HHOOK keyboardHook_ = nullptr;
    HHOOK messageHook_ = nullptr;
};

// MinimalHost.exe (tests/e2e) running in a folder under a name of the test's choosing:
// "varokint.exe" beside varokint.dll counts as Varokinto for the library; any other name or
// folder makes it an impostor. Its reports go to a log in the folder ("A down", "A up").
class HostProgram {
public:
    HostProgram() = default;
    ~HostProgram() { exit(); }
    HostProgram(const HostProgram&) = delete;
    HostProgram& operator=(const HostProgram&) = delete;

    // Copies it (and varokint.dll when asked) into the folder and starts it with those options
    // (MinimalHost.cpp lists them) and its log, unless the options name one ("--log \"\"": none);
    // true once its window answers.
    bool start(const TempDir& dir, const std::string& name, const std::string& options = {},
               bool withHookLibrary = true);
    // Ends it through its exit command, so that its hooks leave with it.
    void exit();
    HWND window() const { return window_; }
    std::vector<std::string> reports() const;
    void clearReports() const;
    Process process;

private:
    std::string log_;
    HWND window_ = nullptr;
};

}  // namespace wt
