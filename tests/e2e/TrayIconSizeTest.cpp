// The tray icon is drawn for the size it is shown at: icon 112 of varokint.exe holds an
// image made for each small-icon size (16, 20, 24 and 32 px: 100 to 200 %), and the
// program loads the one of the system's small-icon size, at 96 and at 144 DPI.
#include "res/resource.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ProgramDriver.h"
#include "win32/Handles.h"

#include <gtest/gtest.h>

using namespace wt;

namespace {

// The width of the image the icon group holds for that size, 0 when it has none that fits.
int ImageWidthFor(HMODULE module, int size)
{
    HRSRC group =
        FindResourceA(module, MAKEINTRESOURCEA(IDI_VAROKINTO_SMALL), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    if (group == nullptr) return 0;
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3) /* RT_ICON */);
    if (image == nullptr || SizeofResource(module, image) < sizeof(BITMAPINFOHEADER)) return 0;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
    return header->biWidth;
}

TEST(TrayIcon, HoldsAnImageDrawnForEverySmallIconSize)
{
    TempDir dir;
    InstallProgram(dir, false);
    HMODULE program = LoadLibraryExA(dir.file("varokint.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    for (const int size : {16, 20, 24, 32}) EXPECT_EQ(ImageWidthFor(program, size), size);
    FreeLibrary(program);
}

// The program's own loading, in this process as a DPI-aware program like varokint.exe; run
// only in a child process that the test below starts at the DPI it sets.
TEST(TrayIcon, DISABLED_SmallIconMeasuredInThisProcess)
{
    SetProcessDPIAware();
    char program[MAX_PATH] = {}, result[MAX_PATH] = {};
    GetEnvironmentVariableA("VR_ICON_PROGRAM", program, MAX_PATH);
    GetEnvironmentVariableA("VR_ICON_RESULT", result, MAX_PATH);
    const HMODULE module = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ICONINFO info = {};
    BITMAP image = {};
    const HICON icon = module != nullptr ? LoadSmallIcon(module, IDI_VAROKINTO_SMALL) : nullptr;
    if (icon != nullptr && GetIconInfo(icon, &info)) {
        GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof image, &image);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    WriteBytes(result, std::to_string(image.bmWidth) + " " + std::to_string(GetSystemMetrics(SM_CXSMICON)));
}

TEST(TrayIcon, TakesTheImageOfTheSystemSmallIconSizeAt96And144Dpi)
{
    TempDir dir;
    InstallProgram(dir, false);
    HKEY desktop = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &desktop, nullptr),
              ERROR_SUCCESS);
    DWORD before = 0, size = sizeof before;
    const bool had = RegQueryValueExA(desktop, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&before),
                                      &size) == ERROR_SUCCESS;
    for (const DWORD dpi : {96u, 144u}) {
        RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        SetEnvironmentVariableA("VR_ICON_PROGRAM", dir.file("varokint.exe").c_str());
        SetEnvironmentVariableA("VR_ICON_RESULT", dir.file("icon.txt").c_str());
        Process child;
        DWORD exitCode = 1;
        ASSERT_TRUE(child.start(
            OwnExePath(), dir.path(),
            "--gtest_also_run_disabled_tests --gtest_filter=TrayIcon.DISABLED_SmallIconMeasuredInThisProcess"));
        ASSERT_TRUE(child.waitExit(30000, exitCode));
        const std::string expected = dpi == 96 ? "16 16" : "24 24";
        EXPECT_EQ(ReadBytes(dir.file("icon.txt")), expected) << "at " << dpi << " DPI (image width, SM_CXSMICON)";
    }
    if (had)
        RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before), sizeof before);
    else
        RegDeleteValueA(desktop, "LogPixels");
    RegCloseKey(desktop);
}

}  // namespace
