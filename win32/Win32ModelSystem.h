// The model's system services on Windows: the system's version and folder, and the two
// files of the settings folder, read whole and written through a temporary beside them.
#pragma once
#include "model/ModelSystem.h"

#include <string>

class Win32ModelSystem : public ModelSystem {
public:
    // The settings folder is the current directory until useFolder names another.
    Win32ModelSystem();

    // Where a starting program keeps its files: the current directory when keycfg.ini is
    // there and it is not the Windows folder or one inside it (the system folder, where a
    // program started at log-on finds itself); otherwise the folder of varokint.exe.
    static std::wstring ChooseSettingsFolder();
    static std::wstring ProgramFolder();
    // Nothing is ever written to the Windows folder or a folder inside it.
    void useFolder(std::wstring folder);
    const std::wstring& folder() const { return folder_; }

    bool version(Version& out) override;
    std::string windowsDirectory() override;
    std::string settingsFolder() override;
    FileResult readFile(const std::string& name, std::size_t limit, std::string& bytes) override;
    FileResult writeFile(const std::string& name, const std::string& bytes) override;

private:
    std::wstring pathOf(const std::string& name) const;

    std::wstring folder_;
    bool refusesWrites_ = false;
};

// A path or folder in the ANSI code page, as the program's texts are; a character that
// code page lacks shows as "?".
std::string AnsiText(const std::wstring& text);
