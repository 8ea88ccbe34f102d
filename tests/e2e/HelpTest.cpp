// Help pages handed to the browser. The project's prefix opens .htm files with winebrowser;
// here winebrowser's browser list names a stand-in (log-browser.sh) that writes down each
// address it is given, so every help request of the real program shows as one line.
#include "res/resource.h"
#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace wt;

namespace {

constexpr char BrowserKey[] = "Software\\Wine\\WineBrowser";
// winebrowser is started by the shell and starts the browser in turn: slower than a window.
constexpr DWORD BrowserWaitMs = 20000;

// winebrowser's browser list pointed at the logging stand-in for as long as this lives;
// the list the session had is put back afterwards.
class LoggingBrowser {
public:
    LoggingBrowser()
    {
        DeleteFileA(Log);
        RegCreateKeyExA(HKEY_CURRENT_USER, BrowserKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        char previous[1024] = {};
        DWORD size = sizeof previous - 1;
        hadPrevious_ = RegQueryValueExA(key_, "Browsers", nullptr, nullptr, reinterpret_cast<BYTE*>(previous), &size) ==
                       ERROR_SUCCESS;
        previous_ = previous;
        const std::string standIn = VR_SOURCE_DIR "/tests/e2e/log-browser.sh";
        RegSetValueExA(key_, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(standIn.c_str()),
                       static_cast<DWORD>(standIn.size() + 1));
    }
    ~LoggingBrowser()
    {
        if (hadPrevious_)
            RegSetValueExA(key_, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                           static_cast<DWORD>(previous_.size() + 1));
        else
            RegDeleteValueA(key_, "Browsers");
        RegCloseKey(key_);
        DeleteFileA(Log);
    }
    LoggingBrowser(const LoggingBrowser&) = delete;
    LoggingBrowser& operator=(const LoggingBrowser&) = delete;

    std::vector<std::string> addresses() const
    {
        std::vector<std::string> lines;
        std::istringstream in(ReadBytes(Log));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // Waits until `count` addresses have arrived, and a moment more for any surplus one.
    std::vector<std::string> waitFor(size_t count) const
    {
        PumpUntil([&] { return addresses().size() >= count; }, BrowserWaitMs);
        PumpFor(500);
        return addresses();
    }

private:
    static constexpr char Log[] = "C:\\varokinto-browser.log";  // written by log-browser.sh
    HKEY key_ = nullptr;
    bool hadPrevious_ = false;
    std::string previous_;
};

// The Unix path of a Windows path, as winebrowser turns it into a file: address.
std::string UnixPath(const std::string& windowsPath)
{
    using ToUnix = char*(CDECL*)(const WCHAR*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* unixPath = toUnix != nullptr ? toUnix(wide) : nullptr;
    const std::string result = unixPath != nullptr ? unixPath : "";
    if (unixPath != nullptr) HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

TEST(Help, FirstStartTrayHelpAndAHelpButtonEachOpenTheirPage)
{
    LoggingBrowser browser;
    TempDir dir;
    InstallProgram(dir);  // no keycfg.ini: a first start
    const std::string pages = "file://" + UnixPath(dir.path()) + "/help/";
    ASSERT_NE(pages, "file:///help/");

    Process program;
    HWND window = StartProgram(program, dir);
    ASSERT_NE(window, nullptr);
    std::vector<std::string> expected = {pages + "first.htm"};
    EXPECT_EQ(browser.waitFor(expected.size()), expected);

    // The tray menu's ヘルプ(&H).
    PostMessageA(window, WM_COMMAND, IDM_HELP, 0);
    expected.push_back(pages + "about.htm");
    EXPECT_EQ(browser.waitFor(expected.size()), expected);

    // The help button of the properties dialog.
    PostMessageA(window, WM_COMMAND, IDM_PROPERTIES, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (dialog = FindTopWindow(program.id(), "#32770", nullptr, true)) != nullptr; }));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_HELP_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_HELP_BUTTON)));
    expected.push_back(pages + "property.htm");
    EXPECT_EQ(browser.waitFor(expected.size()), expected);
    EXPECT_TRUE(IsWindow(dialog)) << "help leaves the dialog open";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }));

    ExitProgram(program, window);
}

}  // namespace
