// MinimalHost.exe: the least a program can do with varokint.dll's reports. It opens the
// window the hook library reports to (class VRClass, title "Varokinto"), installs both of
// the library's hooks from its own folder, answers every report 0 at once, and leaves on
// the exit command (WM_COMMAND 40001) with its hooks removed. The key latency benchmark
// runs it to show what the cross-process report alone costs.
#include <windows.h>

namespace {

constexpr UINT ExitCommand = 40001;
HHOOK keyboardHook = nullptr, messageHook = nullptr;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COPYDATA:
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == ExitCommand) {
            UnhookWindowsHookEx(keyboardHook);
            UnhookWindowsHookEx(messageHook);
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "VRClass";
    if (!RegisterClassA(&windowClass)) return 2;
    HWND window = CreateWindowExA(0, "VRClass", "Varokinto", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    HMODULE library = LoadLibraryA("varokint");
    if (window == nullptr || library == nullptr) return 3;
    keyboardHook = SetWindowsHookExA(WH_KEYBOARD, reinterpret_cast<HOOKPROC>(GetProcAddress(library, "VRKeyboardProc")),
                                     library, 0);
    messageHook = SetWindowsHookExA(WH_GETMESSAGE, reinterpret_cast<HOOKPROC>(GetProcAddress(library, "VRMsgProc")),
                                    library, 0);
    if (keyboardHook == nullptr || messageHook == nullptr) return 4;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
