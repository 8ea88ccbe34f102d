#include "tests/support/StandInWindow.h"

#include <cstring>

namespace wt {

StandInMainWindow::StandInMainWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.lpszClassName = "VRClass";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, "VRClass", "Varokinto", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, this);
}

StandInMainWindow::~StandInMainWindow()
{
    if (keyboardHook_ != nullptr) UnhookWindowsHookEx(keyboardHook_);
    if (messageHook_ != nullptr) UnhookWindowsHookEx(messageHook_);
    close();
    UnregisterClassA("VRClass", nullptr);
}

bool StandInMainWindow::Hook(const std::string& libraryPath)
{
    library_ = LoadLibraryA(libraryPath.c_str());
    if (library_ == nullptr) return false;
    // Through void (*)(): the one function type any other converts to without a warning.
    auto procedure = [&](const char* name) {
        return reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(library_, name)));
    };
    keyboardHook_ = SetWindowsHookExA(WH_KEYBOARD, procedure("VRKeyboardProc"), library_, 0);
    messageHook_ = SetWindowsHookExA(WH_GETMESSAGE, procedure("VRMsgProc"), library_, 0);
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
    const bool down = (flags & 0x80000000u) == 0;
    if (down && data.dwData == stallVk) {
        Sleep(1600);  // longer than the hook library waits
        return 1;
    }
    return down && data.dwData == swallowVk ? 1 : 0;
}

}  // namespace wt
