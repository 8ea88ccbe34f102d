// The first-run set: the Control Panel through the Start menu for every application, and
// Explorer's view modes through its View menu (Alt+V and the item's access key).
#include "model/ShiftJisPath.h"
#include "model/ShortcutTable.h"

#include <initializer_list>

namespace {

constexpr int Ctrl = KeyStroke::CtrlBit;
constexpr int Alt = KeyStroke::AltBit;
constexpr int Win = KeyStroke::WinBit;
constexpr int ViewMenu = Alt + 0x56;  // Alt+V

Action makeAction(const char* name, int input, std::initializer_list<int> outputs)
{
    Action action(name);
    action.setInput(KeyStroke::ofCode(input));
    for (int code : outputs)
        action.insertOutput(KeyStroke::ofCode(code), action.outputCount());
    return action;
}

bool isNewerSystem(ModelSystem& system)
{
    // The thumbnail view exists from Windows 2000/Me on: any NT, or version 5 and later.
    ModelSystem::Version version;
    if (!system.version(version))
        return false;
    constexpr int PlatformNt = 2;
    return version.platformId == PlatformNt || version.major >= 5;
}

std::string explorerPath(ModelSystem& system)
{
    std::string path = system.windowsDirectory();
    if (path.empty() || !endsWithBackslash(path))
        path += '\\';
    return path + "explorer.exe";
}

}  // namespace

bool ShortcutTable::resetToDefaults()
{
    clear();
    const bool newer = isNewerSystem(system_);

    AppEntry global(GlobalPath, "(全てのｱﾌﾟﾘｹｰｼｮﾝ)");
    global.addAction(makeAction("コントロールパネル", Win + 0x43, {Win, 0x53, 0x43}));

    AppEntry explorer(explorerPath(system_), "エクスプローラー");
    explorer.addAction(makeAction("エクスプローラーバー", Ctrl + 0x45, {ViewMenu, Alt + 0x45, Alt + 0x4F}));
    explorer.addAction(makeAction("大きいアイコン", Ctrl + 0x31, {ViewMenu, Alt + 0x47}));
    explorer.addAction(makeAction("小さいアイコン", Ctrl + 0x32, {ViewMenu, Alt + 0x4D}));
    explorer.addAction(makeAction("一覧", Ctrl + 0x33, {ViewMenu, Alt + 0x4C}));
    explorer.addAction(makeAction("詳細", Ctrl + 0x34, {ViewMenu, Alt + 0x44}));
    if (newer)
        explorer.addAction(makeAction("縮小版", Ctrl + 0x35, {ViewMenu, Alt + 0x48}));

    add(global);
    add(explorer);
    return true;
}
