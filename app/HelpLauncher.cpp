#include "app/HelpLauncher.h"

#include <htmlhelp.h>
#include <shellapi.h>

#include <string>

namespace {

bool FileExists(const std::string& name)
{
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

void OpenHelpPage(HWND owner, const char* page)
{
    const std::string loosePage = std::string("help\\") + page;
    if (FileExists(loosePage)) {
        // The viewer runs on its own; a failure to start it is not reported.
        ShellExecuteA(owner, nullptr, loosePage.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    if (!FileExists("varokint.chm")) {
        MessageBoxA(owner, "ヘルプファイルが見つからなかったので、ヘルプを起動できませんでした。",
                    "varokint.exe", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::string topic = std::string("varokint.chm::/HTML/") + page;
    HtmlHelpA(owner, topic.c_str(), HH_DISPLAY_TOPIC, 0);
}
