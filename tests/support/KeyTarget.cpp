// KeyTarget.exe LOGFILE: a small window that logs every key message it receives, for tests
// that type into a real application.
//
// It opens a top-level window of class "VRKeyTarget", titled "KeyTarget", at 100,100, size
// 400x300, brings it to the front and runs until it is closed or ended. LOGFILE is created
// anew, then gets one line per event, flushed at once:
//   ready                                       once the window is shown
//   <MESSAGE> vk=0xHH shift=S ctrl=C alt=A lwin=L rwin=R
// MESSAGE is WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP or WM_CHAR (whose "vk" is the
// character code); S, C, A, L, R are 1 when GetKeyState reports that key down, else 0.
#include <windows.h>

#include <cstdio>

namespace {

std::FILE* logFile = nullptr;

const char* KeyMessageName(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
        return "WM_KEYDOWN";
    case WM_KEYUP:
        return "WM_KEYUP";
    case WM_SYSKEYDOWN:
        return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP:
        return "WM_SYSKEYUP";
    case WM_CHAR:
        return "WM_CHAR";
    default:
        return nullptr;
    }
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const char* name = KeyMessageName(message)) {
        auto down = [](int vk) { return (GetKeyState(vk) & 0x8000) ? 1 : 0; };
        std::fprintf(logFile, "%s vk=0x%02X shift=%d ctrl=%d alt=%d lwin=%d rwin=%d\n", name,
                     static_cast<unsigned>(wParam), down(VK_SHIFT), down(VK_CONTROL), down(VK_MENU), down(VK_LWIN),
                     down(VK_RWIN));
        std::fflush(logFile);
        // System keys still go on to the default handling (Alt+F4 closes the window).
        if (message != WM_SYSKEYDOWN && message != WM_SYSKEYUP) return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (__argc < 2 || (logFile = std::fopen(__argv[1], "w")) == nullptr) return 2;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "VRKeyTarget";
    const HWND window = RegisterClassA(&windowClass)
                            ? CreateWindowExA(0, "VRKeyTarget", "KeyTarget", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                              400, 300, nullptr, nullptr, instance, nullptr)
                            : nullptr;
    if (window == nullptr) return 3;
    SetForegroundWindow(window);
    std::fputs("ready\n", logFile);
    std::fflush(logFile);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    std::fclose(logFile);
    return 0;
}
