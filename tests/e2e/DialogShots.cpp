// DialogShots FOLDER OUTDIR: every window of the program as a user meets it, one picture
// each, the same from run to run, so that two builds can be compared pixel for pixel.
// FOLDER (a Unix path) holds varokint.exe, varokint.dll, keycfg.ini and property.ini as
// scripts/screenshot-dialogs.sh lays them out; OUTDIR gets NAME.png for each window and
// windows.txt with each window's rectangle on the screen.
#include "res/resource.h"
#include "tests/support/ProgramDriver.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

using namespace wt;

namespace {

constexpr DWORD WindowWaitMs = 20000;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "DialogShots: %s\n", what.c_str());
    std::exit(1);
}

std::string folder, outDir;
FILE* positions = nullptr;
Process program;
HWND mainWindow = nullptr;

// The pointer rests in the desktop's top-left corner, away from every window shot: links
// and menu items under it would be drawn hot.
void ParkPointer() { Xdotool("mousemove 1 1"); }

std::string Geometry(const RECT& r)
{
    return std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "+" + std::to_string(r.left) +
           "+" + std::to_string(r.top);
}

std::string CapturePixels(const RECT& r)
{
    const std::string raw = folder + "/capture.rgb";
    if (RunShell("import -silent -window root -crop " + Geometry(r) + " +repage -depth 8 rgb:'" + raw + "'", 20000) !=
        0)
        Fail("import failed");
    return ReadBytes(WinePath(raw));
}

void SavePicture(const std::string& pixels, const RECT& r, const std::string& name)
{
    const std::string raw = folder + "/settled.rgb", png = outDir + "/" + name + ".png";
    WriteBytes(WinePath(raw), pixels);
    const std::string size = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
    // Without the time chunks the same pixels give the same file.
    if (RunShell("convert -size " + size + " -depth 8 rgb:'" + raw + "' -define png:exclude-chunks=date,time '" + png +
                     "'",
                 20000) != 0)
        Fail("convert failed for " + name);
}

// A window with the caret of its thread, which blinks every half second.
bool HoldsCaret(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndCaret != nullptr &&
           (info.hwndCaret == window || IsChild(window, info.hwndCaret));
}

// The window's pixels once they have settled: the samples of the last second or more show
// one picture, or, with a blinking caret, its two pictures each more than once. Of the two
// the smaller byte string is taken, so the phase of the blink at the moment of the shot
// makes no difference.
std::string SettledPixels(HWND window, const RECT& r)
{
    const bool caret = HoldsCaret(window);
    const DWORD span = caret ? 1200 : 800, start = GetTickCount();
    std::vector<std::pair<DWORD, std::string>> samples;
    std::map<std::string, int> seen;
    for (;;) {
        samples.emplace_back(GetTickCount(), CapturePixels(r));
        // The samples since the last one taken at least `span` before the newest.
        size_t first = samples.size();
        while (first > 0 && samples.back().first - samples[first - 1].first < span) --first;
        if (first > 0) {
            seen.clear();
            for (size_t i = first - 1; i < samples.size(); ++i) ++seen[samples[i].second];
            const bool twoEach = seen.size() == 2 && seen.begin()->second >= 2 && seen.rbegin()->second >= 2;
            if ((seen.size() == 1 && samples.size() - first >= 3) || (caret && twoEach)) return seen.begin()->first;
        }
        if (GetTickCount() - start > 30000) {
            int n = 0;  // what kept changing, for whoever looks into it
            for (const auto& picture : seen) SavePicture(picture.first, r, "unsettled-" + std::to_string(++n));
            Fail("the window never settled (" + std::string(caret ? "with" : "without") + " a caret)");
        }
        PumpFor(100);
    }
}

void Shoot(const char* name, HWND window)
{
    // Its thread has handled what was sent before, and Wine has put it on the screen.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    RECT r = {};
    GetWindowRect(window, &r);
    SavePicture(SettledPixels(window, r), r, name);
    std::fprintf(positions, "%s %s\n", name, Geometry(r).c_str());
    std::fflush(positions);
    std::printf("%-24s %s\n", name, Geometry(r).c_str());
    std::fflush(stdout);
}

// The program's visible window of that class and title, once it is the active one (its
// caption is drawn active); menus are never active.
HWND WaitFor(const char* className, const char* title, const char* what)
{
    const bool menu = std::string(className) == "#32768";
    HWND window = nullptr;
    if (!PumpUntil(
            [&] {
        window = FindTopWindow(program.id(), className, title, true);
        return window != nullptr && (menu || GetForegroundWindow() == window);
            },
            WindowWaitMs))
        Fail(std::string("no ") + what);
    return window;
}

HWND WaitForDialog(const char* title) { return WaitFor("#32770", title, title); }

void WaitGone(HWND window)
{
    if (!PumpUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, WindowWaitMs))
        Fail("a window stayed open");
}

// Closes a dialog or message box with one of its buttons and waits until it is gone.
void CloseWith(HWND window, int id)
{
    Press(window, id);
    WaitGone(window);
}

void OpenTrayMenuItem(const char* accessKey, bool shoot)
{
    if (!ClickTrayIcon() || !WaitForMenuLoop(program.id())) Fail("no tray menu");
    ParkPointer();
    const HWND menu = WaitFor("#32768", nullptr, "tray menu");
    if (shoot) Shoot("tray-menu", menu);
    Xdotool(std::string("key ") + accessKey);
    WaitGone(menu);
}

// The application registration dialog, its delete question and its name warning.
void ShootAppEdit(HWND settings)
{
    Press(settings, IDC_CHANGE_APP);
    HWND edit = WaitForDialog("登録アプリケーションの変更");
    Shoot("app-edit", edit);
    Press(edit, IDC_APP_DELETE);
    HWND box = WaitForDialog("削除の確認");
    Shoot("msg-delete-app", box);
    CloseWith(box, IDCANCEL);
    SetControlText(edit, IDC_APP_NAME, "エクスプローラー");
    Press(edit, IDOK);
    box = WaitForDialog("名前重複のお知らせ");
    Shoot("msg-duplicate-name", box);
    CloseWith(box, IDOK);
    CloseWith(WaitForDialog("登録アプリケーションの変更"), IDCANCEL);
}

// The action editor on the selected action: its output key dialog, its delete question,
// the duplicate-input warning, and recording.
void ShootActionEditor(HWND settings)
{
    Press(settings, IDC_EDIT_ACTION);
    HWND editor = WaitForDialog("アクション設定");
    Shoot("action-editor", editor);
    Press(editor, IDC_EDIT_BUTTON);
    const HWND key = WaitForDialog("送信キー設定");
    Shoot("output-key", key);
    CloseWith(key, IDCANCEL);
    Press(editor, IDC_DELETE_BUTTON);
    HWND box = WaitForDialog("削除の確認");
    Shoot("msg-delete-key", box);
    CloseWith(box, IDCANCEL);
    ChooseKey(editor, 'D');  // Ctrl+D, the input key of the action above
    Press(editor, IDOK);
    box = WaitForDialog("入力キー重複のお知らせ");
    Shoot("msg-duplicate-input", box);
    CloseWith(box, IDOK);
    editor = WaitForDialog("アクション設定");
    Press(editor, IDC_RECORD_BUTTON);
    if (!PumpUntil([&] { return !IsEnabled(editor, IDOK); })) Fail("recording did not start");
    Shoot("action-editor-recording", editor);
    Press(editor, IDC_RECORD_BUTTON);
    if (!PumpUntil([&] { return IsEnabled(editor, IDOK); })) Fail("recording did not stop");
    CloseWith(editor, IDCANCEL);
}

// A new action: the empty editor, the output key dialog on an empty key, the warning for
// a missing input key.
void ShootNewAction(HWND settings)
{
    Press(settings, IDC_NEW_ACTION);
    const HWND editor = WaitForDialog("アクション設定");
    Shoot("action-editor-new", editor);
    Press(editor, IDC_ADD_BUTTON);
    const HWND key = WaitForDialog("送信キー設定");
    Shoot("output-key-new", key);
    CloseWith(key, IDCANCEL);
    Press(editor, IDOK);
    const HWND box = WaitForDialog("入力キーが不正です");
    Shoot("msg-empty-input", box);
    CloseWith(box, IDOK);
    CloseWith(WaitForDialog("アクション設定"), IDCANCEL);
}

void ShootShortcutSettings()
{
    OpenTrayMenuItem("s", true);
    const HWND settings = WaitForDialog("ショートカット設定");
    Shoot("settings", settings);
    // メモ帳, the last of the sorted names, and its second action, chosen in the list.
    const int notepad = static_cast<int>(ComboItems(settings, IDC_APP_COMBO).size()) - 1;
    SelectComboIndex(settings, IDC_APP_COMBO, notepad);
    const HWND list = Control(settings, IDC_ACTION_LIST);
    SendMessageA(settings, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(list, WM_KEYUP, VK_DOWN, 0xC0000001);
    if (!PumpUntil([&] { return IsEnabled(settings, IDC_EDIT_ACTION); })) Fail("no action selected");
    Shoot("settings-action", settings);
    ShootAppEdit(settings);
    ShootActionEditor(settings);
    Press(settings, IDC_DELETE_ACTION);
    const HWND box = WaitForDialog("削除の確認");
    Shoot("msg-delete-action", box);
    CloseWith(box, IDCANCEL);
    ShootNewAction(settings);
    SelectComboIndex(settings, IDC_APP_COMBO, 0);  // (全てのｱﾌﾟﾘｹｰｼｮﾝ)
    Press(settings, IDC_CHANGE_APP);
    const HWND global = WaitForDialog("登録アプリケーションの変更");
    Shoot("app-edit-global", global);
    CloseWith(global, IDCANCEL);
    CloseWith(WaitForDialog("ショートカット設定"), IDOK);
}

void ShootProperties()
{
    OpenTrayMenuItem("p", false);
    const HWND dialog = WaitForDialog("ホットキーの割り当て");
    Shoot("property", dialog);
    SetControlText(dialog, IDC_TIMER_EDIT, "0");
    Press(dialog, IDOK);
    const HWND box = WaitForDialog("警告");
    Shoot("msg-timer", box);
    CloseWith(box, IDOK);
    CloseWith(WaitForDialog("ホットキーの割り当て"), IDCANCEL);
}

void ShootAbout()
{
    OpenTrayMenuItem("a", false);
    const HWND dialog = WaitForDialog("バージョン情報");
    Shoot("about", dialog);
    // A double click on the icon, as the icon's static reports it.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_ICON, STN_DBLCLK),
                 reinterpret_cast<LPARAM>(Control(dialog, IDC_ABOUT_ICON)));
    const HWND menu = WaitFor("#32768", nullptr, "hidden menu");
    Shoot("about-hidden-menu", menu);
    Xdotool("key Escape");
    WaitGone(menu);
    CloseWith(WaitForDialog("バージョン情報"), IDOK);
}

// Win+Enter in Notepad: the settings open on メモ帳 with its first action selected.
void ShootHotkeySettings()
{
    Process notepad;
    if (!notepad.start("C:\\windows\\notepad.exe", "")) Fail("Notepad did not start");
    HWND window = nullptr;
    if (!PumpUntil([&] { return (window = FindTopWindow(notepad.id(), "Notepad", nullptr, true)) != nullptr; },
                   WindowWaitMs))
        Fail("no Notepad window");
    if (!ClickWindow(window) || !PumpUntil([&] { return GetForegroundWindow() == window; }))
        Fail("Notepad not in front");
    ParkPointer();
    Xdotool("keydown super keydown Return sleep 0.2 keyup Return keyup super");
    const HWND settings = WaitForDialog("ショートカット設定");
    Shoot("settings-hotkey", settings);
    CloseWith(settings, IDOK);
    notepad.end();
}

HWND StartProgram()
{
    if (!program.start(WinePath(folder + "/varokint.exe"), WinePath(folder))) Fail("varokint.exe did not start");
    HWND window = nullptr;
    if (!PumpUntil([&] { return (window = FindTopWindow(program.id(), "VRClass", "Varokinto")) != nullptr; },
                   WindowWaitMs))
        Fail("no main window");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, WindowWaitMs, &ignored);
    return window;
}

void ExitProgram()
{
    PostMessageA(mainWindow, WM_COMMAND, IDM_EXIT, 0);
    DWORD exitCode = 0;
    if (!program.waitExit(WindowWaitMs, exitCode)) Fail("the program did not exit");
    program.end();
}

// The notice of a system whose language for non-Unicode programs is not Japanese, at the
// start of a copy that Wine runs with code page 1252.
void ShootCodePageNotice()
{
    const std::string command =
        "cd '" + folder + "' && (LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 exec wine varokint.exe >/dev/null 2>&1 &)";
    if (RunShell(command, 20000) != 0) Fail("the second start failed");
    HWND box = nullptr;
    if (!PumpUntil(
            [&] {
        return (box = FindTopWindow(0, "#32770", "Varokinto", true)) != nullptr && GetForegroundWindow() == box;
            },
            WindowWaitMs))
        Fail("no code page notice");
    DWORD id = 0;
    GetWindowThreadProcessId(box, &id);
    ParkPointer();
    Shoot("msg-code-page", box);
    CloseWith(box, IDOK);
    HWND window = nullptr;
    if (!PumpUntil([&] { return (window = FindTopWindow(id, "VRClass", "Varokinto")) != nullptr; }, WindowWaitMs))
        Fail("no main window after the notice");
    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    if (!PumpUntil([&] { return !IsWindow(window); }, WindowWaitMs)) Fail("the second copy did not exit");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) Fail("usage: DialogShots FOLDER OUTDIR (Unix paths)");
    folder = argv[1];
    outDir = argv[2];
    positions = std::fopen(WinePath(outDir + "/windows.txt").c_str(), "w");
    if (positions == nullptr) Fail("cannot write windows.txt in " + outDir);
    // The first Wine program after a fresh wineserver waits for the desktop.
    if (!PumpUntil([] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }, WindowWaitMs)) Fail("no taskbar");
    ParkPointer();
    mainWindow = StartProgram();
    if (!PumpUntil([] { return TrayIconPresent(mainWindow, 1); })) Fail("no tray icon");
    ShootShortcutSettings();
    ShootProperties();
    ShootAbout();
    ShootHotkeySettings();
    ExitProgram();
    ShootCodePageNotice();
    std::fclose(positions);
    return 0;
}
