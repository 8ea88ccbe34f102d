// Stands in for the program's main window: same class and title, so the hook library finds
// it; it records every key report and answers as the test chooses. With Hook() it also sets
// the hooks of an installed varokint.dll the way the program sets them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace wt {

struct ReportedKey {
    unsigned vk;
    std::uint32_t flags;
    std::uint32_t size;

    bool up() const { return (flags & 0x80000000u) != 0; }
    // "A down", "F up"
    std::string text() const { return std::string(1, static_cast<char>(vk)) + (up() ? " up" : " down"); }
};

class StandInMainWindow {
public:
    std::vector<ReportedKey> reports;
    unsigned swallowVk = 0;  // key-downs of this key are answered 1
    unsigned stallVk = 0;    // key-downs of this key are answered after the library stopped waiting

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

}  // namespace wt
