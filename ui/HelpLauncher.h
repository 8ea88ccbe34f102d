// Opens one page of the user documentation: the loose page under help\, or the topic of the
// same name inside varokint.chm, looked for in the help folders in turn.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Every caller passes no owner, so the help and its message stand beside any dialog.
void OpenHelpPage(HWND owner, const char* page);
// The folders to look in, first to last (the start-up gives the settings folder, then the
// program's); until then, the current directory.
void SetHelpFolders(std::vector<std::string> folders);

// How a found page is shown: the shell opens a loose page with its default program, the
// HTML Help viewer shows a topic of the help file. Tests put their own in place to see
// what would open; SetHelpViewers returns the ones it replaced.
struct HelpViewers {
    void (*openFile)(HWND owner, const char* file);
    void (*showTopic)(HWND owner, const char* topic);
};
HelpViewers SetHelpViewers(HelpViewers viewers);
