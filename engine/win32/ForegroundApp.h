// The full executable path of the process that owns a window: Tool Help on the
// Windows 95 family, PSAPI on the NT family, both reached by name at run time.
#pragma once
#include <windows.h>

#include <string>

// "" when the window is null or the path cannot be found.
std::string ExePathOfWindow(HWND window);
// The same with the platform family given (VER_PLATFORM_WIN32_WINDOWS or
// VER_PLATFORM_WIN32_NT) instead of asked from GetVersionExA; lets tests take either road.
std::string ExePathOfWindow(HWND window, DWORD platformId);
