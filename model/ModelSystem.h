// The model's one road to the platform: the few system services the built-in set and
// the file writers need. The Win32 build implements it in app/Win32ModelSystem; tests fake it.
#pragma once
#include <string>

class ModelSystem {
public:
    virtual ~ModelSystem() = default;

    struct Version {
        int platformId = 0;  // 1: Windows 95/98/Me, 2: NT family
        int major = 0;
        int minor = 0;
    };
    virtual bool version(Version& out) = 0;
    virtual std::string windowsDirectory() = 0;
    // A message box with no owner window and an OK button only.
    virtual void showMessage(const std::string& text, const std::string& caption) = 0;
    // Replaces `to` with `from` in one step, so a reader never sees a half-written file.
    virtual bool replaceFile(const std::string& from, const std::string& to) = 0;
};
