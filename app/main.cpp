// Entry point: one copy of the program per desktop, and only a copy that varokint.dll will
// report to; a second copy asks the running one to show its tray menu and leaves.
#include "app/ShellApp.h"
#include "ui/Controls.h"
#include "ui/FileNotices.h"
#include "win32/Handles.h"
#include "win32/ProgramIdentity.h"
#include "win32/SystemFunctions.h"

#include <windows.h>

#include <climits>
#include <string>

namespace {

constexpr char StartupFailedText[] = "初期化に失敗( -_-)\nアプリケーションを起動できません";
constexpr char StartupFailedCaption[] = "Error!!!";

// When varokint.dll would not report to this copy, the start says so and the copy leaves: a
// remapper that cannot remap would only sit in the tray. "%s" is the program's path.
constexpr char IdentityNoticeCaption[] = "Varokinto";
constexpr char RenamedText[] = "このプログラムは次の名前で起動されました。\n%s\n\n"
                               "varokint.dll は、同じフォルダーにある varokint.exe にだけキーを知らせます。"
                               "この名前のままではキーの割り当てが働かないため、終了します。\n"
                               "ファイル名を varokint.exe に戻してから、もう一度起動してください。";
constexpr char PathTooLongText[] =
    "Varokinto のフォルダーのパスが長すぎるため、varokint.dll がこのプログラムを確かめられません。\n%s\n\n"
    "キーの割り当てが働かないため、終了します。短いパスのフォルダーに移してから、もう一度起動してください。";
constexpr char UnidentifiedText[] =
    "varokint.dll がキーを知らせる先として、このプログラムを確かめられませんでした。\n%s\n\n"
    "理由: %s\n"
    "キーの割り当てが働かないため、終了します。別のフォルダーに移してから、もう一度起動してください。";
constexpr char PathsDifferReason[] =
    "システムが記録しているこのプログラムのパスが、フォルダーから求めたパスと一致しません。";

// The current directory is the settings folder, where anyone who can write a settings file
// could also leave a library. Libraries are taken from the program's folder and the system
// only: LoadLibraryA(HookContract::LibraryName) still finds varokint.dll beside the program.
void LoadLibrariesFromKnownPlacesOnly()
{
    SetDllDirectoryA("");
    // Where the system lacks SetDefaultDllDirectories, SetDllDirectoryA("") alone keeps the
    // current directory out.
    if (const auto setDefaultDirectories = SystemFunctions::setDefaultDllDirectories.get())
        setDefaultDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::string ProgramPath()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// The text with its "%s" replaced by the values, in order.
std::string Filled(const char* text, std::initializer_list<std::string> values)
{
    std::string filled = text;
    std::size_t at = 0;
    for (const std::string& value : values) {
        if ((at = filled.find("%s", at)) == std::string::npos)
            break;
        filled.replace(at, 2, value);
        at += value.size();
    }
    return filled;
}

void IdentityNotice(const std::string& text)
{
    MessageBoxA(nullptr, text.c_str(), IdentityNoticeCaption, MB_OK | MB_ICONEXCLAMATION);
}

// The library's own rule, applied to this copy: varokint.exe beside it, as the library will
// work it out, and this process judged as the library will judge it. Shows why not and
// returns false when the library would not report to this copy.
bool IdentifySelf(ProgramIdentity& program)
{
    const IdentityStatus status = IdentifyProgram(GetModuleHandleA(nullptr), program);
    if (status == IdentityStatus::PathTooLong) {
        IdentityNotice(Filled(PathTooLongText, {ProgramPath()}));
        return false;
    }
    if (status == IdentityStatus::Unreadable) {
        // Taken before the program's path is read, which may set another code.
        const DWORD error = GetLastError();
        IdentityNotice(Filled(UnidentifiedText, {ProgramPath(), SystemReason(error)}));
        return false;
    }
    return true;
}

bool ReportsReachSelf(const ProgramIdentity& program)
{
    if (JudgeProcess(GetCurrentProcessId(), program) == ReceiverRule::Verdict::Ours)
        return true;
    const std::string path = ProgramPath();
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    if (lstrcmpiA(name.c_str(), HookContract::ProgramFileName) != 0)
        IdentityNotice(Filled(RenamedText, {path}));
    else
        IdentityNotice(Filled(UnidentifiedText, {path, PathsDifferReason}));
    return false;
}

// The main window of a running copy of this program, by the hook library's rule: any other
// program can make a window with that class and title, and must not make this copy leave;
// nor may a copy of lower integrity, or another user's, or one installed in another folder
// (its library reports only to it).
HWND FindRunningCopy(const ProgramIdentity& program)
{
    ReceiverSearch search;
    DWORD processId = 0;
    return search.find(program, {INT_MAX, INFINITE}, processId);
}

int RunMessageLoop()
{
    MSG message = {};
    // GetMessageA returns -1 on failure; stopping there avoids spinning on a broken queue.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    LoadLibrariesFromKnownPlacesOnly();
    ProgramIdentity program;
    if (!IdentifySelf(program))
        return 0;
    if (HWND running = FindRunningCopy(program)) {
        PostMessageA(running, WM_TRAYICON_NOTIFY, SecondInstanceRequest, WM_RBUTTONDOWN);
        return 0;
    }
    if (!ReportsReachSelf(program))
        return 0;
    initCommonControls();
    ShellApp app;
    switch (app.Startup(instance)) {
    case ShellApp::Outcome::Run:
        break;
    case ShellApp::Outcome::Declined:
        return 0;
    case ShellApp::Outcome::Failed:
        MessageBoxA(nullptr, StartupFailedText, StartupFailedCaption, MB_OK);
        return 0;
    }
    // Null when another process holds the name: the library then finds the window by its search.
    const OwnedHandle publication(PublishMainWindow(program, app.window()));
    return RunMessageLoop();
}
