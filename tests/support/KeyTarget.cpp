// KeyTarget.exe: a small window that logs every key message it receives, for tests that
// type into a real application (the hook library test, the end-to-end tests).
//
// Command line:  KeyTarget.exe LOGFILE
//   Opens a top-level window of class "VRKeyTarget", titled "KeyTarget", at screen
//   position 100,100, size 400x300, and brings it to the front. A click at (300,250) hits it.
//   Runs until the window is closed (WM_CLOSE) or the process is ended.
//
// Log format: LOGFILE is created (truncated), then one line per event, flushed at once:
//   ready
//       once, after the window is shown
//   <MESSAGE> vk=0xHH shift=S ctrl=C alt=A lwin=L rwin=R
//       MESSAGE is WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP or WM_CHAR; for WM_CHAR
//       "vk" holds the character code. S, C, A, L, R are 1 when GetKeyState reports the key
//       (VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN) down at that moment, else 0.
//   Lines end in "\n".
#include <windows.h>

#include <cstdio>

namespace {

constexpr int WindowX = 100, WindowY = 100, WindowWidth = 400, WindowHeight = 300;

class KeyTarget {
public:
    explicit KeyTarget(std::FILE* log) : log_(log) {}

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<KeyTarget*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr && self->Handle(message, wParam))
            return 0;
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        if (message == WM_NCDESTROY)
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return DefWindowProcA(window, message, wParam, lParam);
    }

    void Write(const char* line)
    {
        std::fputs(line, log_);
        std::fflush(log_);
    }

private:
    // Logs key messages and lets them go on to the default handling too (true = handled).
    bool Handle(UINT message, WPARAM wParam)
    {
        const char* name = nullptr;
        switch (message) {
        case WM_KEYDOWN: name = "WM_KEYDOWN"; break;
        case WM_KEYUP: name = "WM_KEYUP"; break;
        case WM_SYSKEYDOWN: name = "WM_SYSKEYDOWN"; break;
        case WM_SYSKEYUP: name = "WM_SYSKEYUP"; break;
        case WM_CHAR: name = "WM_CHAR"; break;
        default: return false;
        }
        auto down = [](int vk) { return (GetKeyState(vk) & 0x8000) ? 1 : 0; };
        std::fprintf(log_, "%s vk=0x%02X shift=%d ctrl=%d alt=%d lwin=%d rwin=%d\n", name,
                     static_cast<unsigned>(wParam), down(VK_SHIFT), down(VK_CONTROL), down(VK_MENU), down(VK_LWIN),
                     down(VK_RWIN));
        std::fflush(log_);
        // System keys still go to the default procedure (Alt+F4 closes the window).
        return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR;
    }

    std::FILE* log_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (__argc < 2)
        return 2;
    std::FILE* log = std::fopen(__argv[1], "w");
    if (log == nullptr)
        return 3;
    KeyTarget target(log);

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = KeyTarget::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "VRKeyTarget";
    if (!RegisterClassExA(&windowClass))
        return 4;
    const HWND window = CreateWindowExA(0, "VRKeyTarget", "KeyTarget", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WindowX,
                                        WindowY, WindowWidth, WindowHeight, nullptr, nullptr, instance, &target);
    if (window == nullptr)
        return 5;
    SetForegroundWindow(window);
    target.Write("ready\n");

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    std::fclose(log);
    return 0;
}
