// A varokint.dll planted in the settings folder (the current directory). Loaded into a
// process, it leaves planted-<process id>.txt beside itself; the program must never load it.
// It has the hook library's exports, so a program that took it would also hook with it.
#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) LRESULT CALLBACK VRKeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK VRMsgProc(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(instance, path, MAX_PATH);
    std::string marker(path);
    marker =
        marker.substr(0, marker.find_last_of('\\') + 1) + "planted-" + std::to_string(GetCurrentProcessId()) + ".txt";
    const HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
