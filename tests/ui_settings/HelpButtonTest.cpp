// The help button of every dialog that has one, with the loose pages, with only the help
// file, and with neither: what is opened, with which owner, and the message when nothing
// can be.
#include "tests/ui_settings/SettingsFixture.h"
#include "ui/ActionEditor.h"
#include "ui/HelpLauncher.h"
#include "ui/PropertyDialog.h"

#include <functional>

namespace settingstest {
namespace {

// What the help launcher asked its viewers for: "file help\\x.htm" or "topic ...", with
// the owner it passed.
struct Opened {
    std::string what;
    HWND owner;
    bool operator==(const Opened& other) const { return what == other.what && owner == other.owner; }
};
std::vector<Opened> opened;

class HelpButtonTest : public SettingsWindowTest {
protected:
    void SetUp() override
    {
        SettingsWindowTest::SetUp();
        opened.clear();
        previous = SetHelpViewers({[](HWND owner, const char* file) {
            opened.push_back({std::string("file ") + file, owner});
                                   },
                                   [](HWND owner, const char* topic) {
            opened.push_back({std::string("topic ") + topic, owner});
        }});
    }
    void TearDown() override { SetHelpViewers(previous); }

    // Opens the dialog, presses its help button once and closes it with `close`.
    void PressHelp(const std::function<void()>& run, int close)
    {
        driver.OnNextDialog([close](HWND dialog) {
            Click(dialog, IDC_HELP_BUTTON);
            Click(dialog, close);
        });
        run();
    }

    HelpViewers previous = {};
};

TEST_F(HelpButtonTest, EachDialogOpensItsPage_LoosePageFirstThenTheHelpFileThenTheMessage)
{
    AppEntry entry(NotepadPath, "notepad");
    Action action("");
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    struct Dialog {
        const char* page;
        std::function<void()> run;
        int close;
    };
    const Dialog dialogs[] = {
        {"editshortcutdlg.htm", [&] { RunWindow(); }, IDOK},
        {"appedit.htm", [&] { AppEditDialog(entry, instance).Run(nullptr); }, IDCANCEL},
        {"shortcutlistdlg.htm", [&] { ActionEditor(action, engine, instance).Run(nullptr); }, IDCANCEL},
        {"property.htm", [&] { PropertyDialog(settings, instance).Run(nullptr); }, IDCANCEL},
    };
    enum Present { PageAndHelpFile, HelpFileOnly, Neither };
    for (const Present present : {PageAndHelpFile, HelpFileOnly, Neither}) {
        for (const Dialog& dialog : dialogs) {
            const std::string page = std::string("help\\") + dialog.page;
            CreateDirectoryA("help", nullptr);
            if (present == PageAndHelpFile) WriteBytes(page, "<html></html>");
            if (present != Neither) WriteBytes("varokint.chm", "ITSF");
            opened.clear();
            driver.ClearMessageBoxes();

            PressHelp(dialog.run, dialog.close);

            std::vector<Opened> expected;
            if (present == PageAndHelpFile) expected = {{"file " + page, nullptr}};
            if (present == HelpFileOnly)
                expected = {{std::string("topic varokint.chm::/HTML/") + dialog.page, nullptr}};
            EXPECT_EQ(opened, expected) << dialog.page << " case " << present;
            if (present == Neither) {
                ASSERT_EQ(driver.messageBoxes().size(), 1u) << dialog.page;
                const CapturedMessageBox& box = driver.messageBoxes()[0];
                EXPECT_EQ(box.caption, "varokint.exe");
                EXPECT_EQ(box.text, "ヘルプファイルが見つからなかったので、ヘルプを起動できませんでした。");
                EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
                EXPECT_EQ(box.owner, nullptr);
            } else {
                EXPECT_TRUE(driver.messageBoxes().empty()) << dialog.page;
            }
            DeleteFileA(page.c_str());
            DeleteFileA("varokint.chm");
            RemoveDirectoryA("help");
        }
    }
    EXPECT_EQ(driver.unexpectedDialogs(), 0);
}

// The start-up names the settings folder, then the program's: the first with help gives it.
TEST_F(HelpButtonTest, HelpFolders_AreLookedInInTurn)
{
    TempDir settingsFolder, programFolder;
    CreateDirectoryA(programFolder.file("help").c_str(), nullptr);
    WriteBytes(programFolder.file("help\\property.htm"), "<html></html>");
    SetHelpFolders({settingsFolder.path(), programFolder.path()});
    OpenHelpPage(nullptr, "property.htm");
    WriteBytes(settingsFolder.file("varokint.chm"), "ITSF");
    OpenHelpPage(nullptr, "property.htm");
    SetHelpFolders({""});
    EXPECT_EQ(opened,
              (std::vector<Opened>{{"file " + programFolder.file("help\\property.htm"), nullptr},
                                   {"topic " + settingsFolder.file("varokint.chm::/HTML/property.htm"), nullptr}}));
}

}  // namespace
}  // namespace settingstest
