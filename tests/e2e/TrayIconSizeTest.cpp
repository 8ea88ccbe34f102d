// The tray icon is drawn for the size it is shown at: icon 112 of varokint.exe holds an
// image made for each small-icon size (16, 20, 24 and 32 px: 100 to 200 %), so the image the
// program loads at the system's small-icon size is never one scaled from another size.
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

using namespace wt;

namespace {

constexpr WORD SmallIconId = 112;

// The width of the image the icon group holds for that size, 0 when it has none that fits.
int ImageWidthFor(HMODULE module, int size)
{
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(SmallIconId), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    if (group == nullptr)
        return 0;
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3) /* RT_ICON */);
    if (image == nullptr || SizeofResource(module, image) < sizeof(BITMAPINFOHEADER))
        return 0;
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
    for (const int size : {16, 20, 24, 32})
        EXPECT_EQ(ImageWidthFor(program, size), size);
    FreeLibrary(program);
}

}  // namespace
