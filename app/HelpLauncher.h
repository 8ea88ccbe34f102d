// Opens one page of the user documentation: the loose page under help\, or the
// topic of the same name inside varokint.chm, both relative to the current directory.
#pragma once
#include <windows.h>

void OpenHelpPage(HWND owner, const char* page);
