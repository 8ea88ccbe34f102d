// Entry point: one copy of the program per desktop; a second copy asks the running one to
// show its tray menu and leaves.
#include "app/ShellApp.h"
#include "ui/Controls.h"

#include <windows.h>

namespace {

constexpr char StartupFailedText[] = "初期化に失敗( -_-)\nアプリケーションを起動できません";
constexpr char StartupFailedCaption[] = "Error!!!";

int RunMessageLoop()
{
    MSG message = {};
    // GetMessageA returns -1 on failure; stopping there avoids spinning on a broken queue.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (HWND running = FindWindowA(HookContract::MainWindowClass, HookContract::MainWindowTitle)) {
        PostMessageA(running, WM_TRAYICON_NOTIFY, SecondInstanceRequest, WM_RBUTTONDOWN);
        return 0;
    }
    initCommonControls();
    ShellApp app;
    if (!app.Startup(instance)) {
        MessageBoxA(nullptr, StartupFailedText, StartupFailedCaption, MB_OK);
        return 0;
    }
    return RunMessageLoop();
}
