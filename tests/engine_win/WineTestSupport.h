// Helpers for the engine's Wine tests: message pumping with a deadline, files, paths,
// and driving the X display with xdotool.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Pumps this thread's messages (sent ones included) until done() or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpFor(DWORD ms);

std::vector<std::string> ReadLines(const std::string& path);
bool Contains(const std::vector<std::string>& lines, const std::string& prefix);

// "/a/b" -> "Z:\a\b": how Wine names a Linux path.
std::string WinePath(const std::string& unixPath);
std::string ModulePath();

// Starts xdotool with these arguments. Wine runs Unix programs but gives no handle to
// wait on, so callers wait for the effect instead.
bool StartXdotool(const std::string& arguments);

// A Windows program started for a test, ended when the holder goes.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool start(const std::string& commandLine);
    // Asks its windows to close, then ends it if it has not gone within a second.
    void stop();
    DWORD id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_ = {};
};
