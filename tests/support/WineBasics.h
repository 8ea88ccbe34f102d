// What every Windows test needs (library vr_wine_test_support): bounded waits, files and
// scratch folders, windows found and read, shell commands and screenshots.
//
// Nothing here waits without a bound: every wait gives up after its timeout.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace wt {

constexpr DWORD DefaultWaitMs = 8000;

// Pumps this thread's messages (an open dialog sees its keys as its own loop would) until
// done() or the time is up; true when done() held. With no message coming, done() is asked
// again every pollMs.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = DefaultWaitMs, DWORD pollMs = 20);
void PumpFor(DWORD ms);

// Files, by Windows path.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// "/a/b" -> "Z:\a\b": how Wine names a Unix path.
std::string WinePath(const std::string& unixPath);
std::string OwnExePath();

// A fresh folder under the temp directory, removed with everything in it; optionally the
// current directory while it lives, and with a suffix to its name (Shift-JIS bytes too).
class TempDir {
public:
    explicit TempDir(bool makeCurrent = false, const std::string& suffix = {});
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
    std::string previous_;
};

// The first top-level window with that class (and title, unless null) of the process (any
// process for 0).
HWND FindTopWindow(DWORD processId, const char* className, const char* title = nullptr, bool visibleOnly = false);
std::string Text(HWND window);

// Saves a picture of the screen as $VR_SHOT_DIR/<name>.png when VR_SHOT_DIR names a Unix
// folder; does nothing otherwise. Screenshots are for people to look at.
void Snapshot(const char* name);

// Runs a command through /bin/sh, pumping messages while it runs; its exit status, or -1
// when it did not finish in time.
int RunShell(const std::string& command, DWORD timeoutMs);

}  // namespace wt
