#include "app/MainWindowRequests.h"

#include "res/resource.h"

#include <iterator>

namespace {

// By the HookStep that failed.
constexpr const char* HookFailedTexts[] = {"DLLファイルの読みとりに失敗", "フック登録に失敗",
                                           "メッセージフック登録に失敗"};
static_assert(std::size(HookFailedTexts) == static_cast<std::size_t>(HookStep::MessageHook) + 1);
constexpr char HookFailedCaption[] = "Error";

}  // namespace

void MainWindowRequests::openSettingsForWindowInFront()
{
    // Posted, so the hook library gets its reply before the settings window opens.
    PostMessageA(mainWindow_, WM_COMMAND, IDM_SHORTCUT_SETTINGS, 0);
}

bool MainWindowRequests::startPause(unsigned milliseconds)
{
    return SetTimer(mainWindow_, IDT_REENABLE, milliseconds, nullptr) != 0;
}

void MainWindowRequests::tellHooksFailed(HookStep step)
{
    MessageBoxA(nullptr, HookFailedTexts[static_cast<int>(step)], HookFailedCaption, MB_OK);
}
