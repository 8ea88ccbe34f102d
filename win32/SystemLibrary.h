// Libraries of the system that the program loads by name at run time come from the
// system directory only, never from the program's or the current folder.
#pragma once
#include <windows.h>

// The library of that name in the system directory, or null; the caller frees it.
HMODULE LoadSystemLibrary(const char* name);
