#include "app/StartupNotices.h"

#include "win32/ProgramIdentity.h"

#include <windows.h>

namespace {

std::optional<std::uint32_t> OurIntegrityLevel()
{
    DWORD level = 0;
    return ReadIntegrityLevel(GetCurrentProcess(), level) ? std::optional<std::uint32_t>(level) : std::nullopt;
}

std::optional<std::uint32_t> ShellIntegrityLevel()
{
    DWORD level = 0;
    return ReadIntegrityLevelOfWindow(FindWindowA("Shell_TrayWnd", nullptr), level)
               ? std::optional<std::uint32_t>(level)
               : std::nullopt;
}

void ShowNotice(const wchar_t* text)
{
    MessageBoxW(nullptr, text, NoticeCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace

void ShowStartupNotices()
{
    // The code page first: on such a system it is the one that can be read at all.
    if (NeedsCodePageNotice(GetACP()))
        ShowNotice(CodePageNoticeText);
    if (NeedsAdministratorNotice(OurIntegrityLevel(), ShellIntegrityLevel()))
        ShowNotice(AdministratorNoticeText);
}
