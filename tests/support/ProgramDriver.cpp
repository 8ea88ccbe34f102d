// Processes, X input, the program installed and started, and KeyTarget for the Windows tests.
#include "tests/support/ProgramDriver.h"
#include "contract/HookContract.h"
#include "res/resource.h"
#include "ui/KeyVocabulary.h"

#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace wt {

bool Process::start(const std::string& exe, const std::string& directory, const std::string& arguments)
{
    end();
    std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &startup, &info_) != FALSE;
}

bool Process::waitExit(DWORD timeoutMs, DWORD& exitCode)
{
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(info_.hProcess, &exitCode);
}

bool Process::running() const
{
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void Process::end()
{
    if (info_.hProcess == nullptr) return;
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, DefaultWaitMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = {};
}

std::string Process::imagePath() const
{
    char path[MAX_PATH] = {};
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (EnumProcessModules(info_.hProcess, &module, sizeof module, &needed))
        GetModuleFileNameExA(info_.hProcess, module, path, sizeof path);
    return path;
}

bool Xdotool(const std::string& arguments, DWORD timeoutMs)
{
    return RunShell("/usr/bin/xdotool " + arguments, timeoutMs) == 0;
}

bool ClickWindow(HWND window, std::optional<POINT> clientPoint)
{
    RECT client = {};
    GetClientRect(window, &client);
    POINT point = clientPoint.value_or(POINT{client.right / 2, client.bottom / 2});
    ClientToScreen(window, &point);
    return Xdotool("mousemove " + std::to_string(point.x) + " " + std::to_string(point.y) + " click 1");
}

std::optional<CapturedMessageBox> AnswerMessageBox(DWORD processId, DWORD timeoutMs)
{
    HWND box = nullptr;
    // Visible once its modal loop runs; only then does it take a click.
    if (!PumpUntil([&] { return (box = FindTopWindow(processId, "#32770", nullptr, true)) != nullptr; }, timeoutMs))
        return std::nullopt;
    const CapturedMessageBox seen = ReadMessageBox(box);
    for (int id : {IDOK, IDYES, IDCANCEL}) {
        if (IsWindowVisible(GetDlgItem(box, id))) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
            break;
        }
    }
    PumpUntil([&] { return !IsWindow(box); }, timeoutMs);
    return seen;
}

void InstallProgram(const TempDir& dir, bool withHookLibrary)
{
    CopyFileA(WinePath(VR_PROGRAM_EXE).c_str(), dir.file("varokint.exe").c_str(), FALSE);
    if (withHookLibrary) CopyFileA(WinePath(VR_HOOK_DLL).c_str(), dir.file("varokint.dll").c_str(), FALSE);
    // A first start opens help\first.htm; without it a message box would wait for an answer.
    const std::string help = WinePath(VR_SOURCE_DIR "/help");
    CreateDirectoryA(dir.file("help").c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((help + "\\*.htm").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        CopyFileA((help + "\\" + found.cFileName).c_str(), dir.file(std::string("help\\") + found.cFileName).c_str(),
                  FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

HWND StartProgram(Process& program, const TempDir& dir)
{
    if (!program.start(dir.file("varokint.exe"), dir.path())) return nullptr;
    HWND window = nullptr;
    PumpUntil([&] {
        window = FindTopWindow(program.id(), HookContract::MainWindowClass, HookContract::MainWindowTitle);
        return window != nullptr;
    });
    // The window answers only once start-up is over and its loop runs: the hooks are in.
    DWORD_PTR ignored = 0;
    if (window != nullptr && !SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, DefaultWaitMs, &ignored))
        return nullptr;
    return window;
}

void ExitProgram(Process& program, HWND mainWindow)
{
    DWORD exitCode = 0;
    if (mainWindow != nullptr && program.running()) {
        PostMessageA(mainWindow, WM_COMMAND, IDM_EXIT, 0);
        program.waitExit(DefaultWaitMs, exitCode);
    }
    program.end();
}

bool TrayIconPresent(HWND window, UINT id)
{
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = id;
    icon.uFlags = NIF_TIP;
    lstrcpynA(icon.szTip, "Varokinto", sizeof icon.szTip);
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

bool WaitForMenuLoop(DWORD processId)
{
    return PumpUntil([&] {
        const HWND menu = FindTopWindow(processId, "#32768", nullptr, true);
        GUITHREADINFO loop = {};
        loop.cbSize = sizeof loop;
        return menu != nullptr && GetGUIThreadInfo(GetWindowThreadProcessId(menu, nullptr), &loop) &&
               (loop.flags & GUI_INMENUMODE) != 0;
    });
}

bool ClickTrayIcon()
{
    RECT bar = {};
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (taskbar == nullptr || !GetWindowRect(taskbar, &bar)) return false;
    // Ours is the only icon, at the right end of the taskbar with a small margin.
    const int x = bar.right - GetSystemMetrics(SM_CXSMICON) / 2 - 3, y = (bar.top + bar.bottom) / 2;
    // A second click within the double-click time is a double-click, which the icon leaves
    // alone, as a user clicking again at once would find.
    static DWORD lastClick = GetTickCount() - GetDoubleClickTime() - 100;
    const DWORD since = GetTickCount() - lastClick;
    if (since <= GetDoubleClickTime() + 100) Sleep(GetDoubleClickTime() + 100 - since);
    lastClick = GetTickCount();
    return Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

bool KeyTarget::start(const TempDir& dir) { return start(dir.path(), "KeyTarget.exe"); }

bool KeyTarget::start(const std::string& folder, const std::string& exeName)
{
    const std::string exe = folder + "\\" + exeName;
    log_ = folder + "\\keys.log";
    if (!CopyFileA(WinePath(VR_KEYTARGET_EXE).c_str(), exe.c_str(), FALSE) ||
        !process.start(exe, folder, "\"" + log_ + "\"") ||
        !PumpUntil([&] { return ReadBytes(log_).rfind("ready", 0) == 0; }))
        return false;
    read_ = 0;
    window_ = FindTopWindow(process.id(), "VRKeyTarget", "KeyTarget");
    return window_ != nullptr;
}

bool KeyTarget::focus()
{
    RECT client = {};
    GetClientRect(window_, &client);
    return ClickWindow(window_, POINT{client.right - 10, 20}) &&
           PumpUntil([&] { return GetForegroundWindow() == window_; });
}

namespace {

std::vector<std::string> KeyLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // KeyTarget writes in text mode
        if (line != "ready") lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::vector<std::string> KeyTarget::lines() const { return KeyLines(ReadBytes(log_)); }

std::vector<std::string> KeyTarget::newLines()
{
    std::ifstream in(log_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(read_));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    // A line still being written stays for the next call.
    const std::string added = bytes.str();
    const size_t complete = added.rfind('\n') + 1;  // 0 when there is no full line
    read_ += complete;
    return KeyLines(added.substr(0, complete));
}

std::vector<std::string> KeyTarget::type(const std::string& xdotoolArguments, size_t expected)
{
    const size_t before = lines().size();
    Xdotool(xdotoolArguments);
    PumpUntil([&] { return lines().size() >= before + expected; });
    PumpFor(300);
    const std::vector<std::string> all = lines();
    return {all.begin() + static_cast<long>(std::min(before, all.size())), all.end()};
}

std::string Dump(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines) text += "\n  " + line;
    return text;
}

const char BuiltInKeycfg[] =
    "'global\r\nname=(全てのｱﾌﾟﾘｹｰｼｮﾝ)\r\n2115.send=2048,83,67\r\n2115.name=コントロールパネル\r\n\r\n"
    "'C:\\windows\\explorer.exe\r\nname=エクスプローラー\r\n"
    "325.send=598,581,591\r\n325.name=エクスプローラーバー\r\n305.send=598,583\r\n305.name=大きいアイコン\r\n"
    "306.send=598,589\r\n306.name=小さいアイコン\r\n307.send=598,588\r\n307.name=一覧\r\n"
    "308.send=598,580\r\n308.name=詳細\r\n309.send=598,584\r\n309.name=縮小版\r\n\r\n";
const char DefaultPropertyIni[] = "UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n";

void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ChooseKey(HWND dialog, unsigned vk)
{
    const auto& list = KeyChoiceList();
    SendDlgItemMessageA(dialog, 1002, CB_SETCURSEL, std::find(list.begin(), list.end(), vk) - list.begin(), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1002, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1002)));
}

}  // namespace wt
