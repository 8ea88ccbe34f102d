#include "ui/HelpLauncher.h"

#include <htmlhelp.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr char HelpFolder[] = "help\\";
constexpr char HelpFile[] = "varokint.chm";
constexpr char TopicFolder[] = "::/HTML/";
constexpr char MissingHelpText[] = "ヘルプファイルが見つからなかったので、ヘルプを起動できませんでした。";
constexpr char MissingHelpCaption[] = "varokint.exe";

void ShellOpenFile(HWND owner, const char* file)
{
    // The viewer runs on its own; a failure to start it is not reported.
    ShellExecuteA(owner, nullptr, file, nullptr, nullptr, SW_SHOWNORMAL);
}

void HtmlHelpTopic(HWND owner, const char* topic)
{
    // A missing or unbindable help control shows nothing and returns no window.
    HtmlHelpA(owner, topic, HH_DISPLAY_TOPIC, 0);
}

HelpViewers viewers = {&ShellOpenFile, &HtmlHelpTopic};

bool FileExists(const std::string& name)
{
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

HelpViewers SetHelpViewers(HelpViewers replacement)
{
    const HelpViewers previous = viewers;
    viewers = replacement;
    return previous;
}

void OpenHelpPage(HWND owner, const char* page)
{
    const std::string loosePage = HelpFolder + std::string(page);
    if (FileExists(loosePage)) {
        viewers.openFile(owner, loosePage.c_str());
        return;
    }
    if (!FileExists(HelpFile)) {
        MessageBoxA(owner, MissingHelpText, MissingHelpCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::string topic = HelpFile + std::string(TopicFolder) + page;
    viewers.showTopic(owner, topic.c_str());
}
