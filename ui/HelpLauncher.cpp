#include "ui/HelpLauncher.h"

#include "win32/SystemFunctions.h"
#include "win32/SystemLibrary.h"

#include <htmlhelp.h>
#include <shellapi.h>

#include <string>
#include <utility>

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
    // The viewer is loaded from the system directory when help is first shown, not through
    // the import table, which would look for it in the program's folder at every start. It
    // stays loaded: its windows live on after this call.
    static const auto htmlHelp = SystemFunctions::htmlHelpA.in(LoadSystemLibrary(SystemFunctions::htmlHelpA.library()));
    // A missing or unbindable help control shows nothing and returns no window.
    if (htmlHelp != nullptr)
        htmlHelp(owner, topic, HH_DISPLAY_TOPIC, 0);
}

HelpViewers viewers = {&ShellOpenFile, &HtmlHelpTopic};
std::vector<std::string> helpFolders = {""};

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

void SetHelpFolders(std::vector<std::string> folders)
{
    for (std::string& folder : folders) {
        if (!folder.empty() && folder.back() != '\\')
            folder += '\\';
    }
    helpFolders = std::move(folders);
}

void OpenHelpPage(HWND owner, const char* page)
{
    for (const std::string& folder : helpFolders) {
        const std::string loosePage = folder + HelpFolder + page;
        if (FileExists(loosePage)) {
            viewers.openFile(owner, loosePage.c_str());
            return;
        }
        const std::string helpFile = folder + HelpFile;
        if (FileExists(helpFile)) {
            const std::string topic = helpFile + TopicFolder + page;
            viewers.showTopic(owner, topic.c_str());
            return;
        }
    }
    MessageBoxA(owner, MissingHelpText, MissingHelpCaption, MB_OK | MB_ICONEXCLAMATION);
}
