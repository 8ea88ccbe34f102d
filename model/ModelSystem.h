// The model's one road to the platform: the few system services the built-in set and the
// two files need. The Win32 build implements it in win32/Win32ModelSystem; tests fake it.
#pragma once
#include <cstddef>
#include <string>

// Why a file of the settings folder could not be read or written, in terms the user is
// told; the system's own code travels along.
enum class FileError {
    None,
    NotFound,  // the file, or for a write its folder, is not there
    AccessDenied,
    InUse,  // another program holds the file, or the part of it being read
    DiskFull,
    TooLarge,  // more than the program reads, or a table that would take too much memory
    OutOfMemory,
    FolderRefused,  // the Windows folder or the system folder: nothing is written there
    Other,
};

struct FileResult {
    FileError error = FileError::None;
    unsigned long systemCode = 0;  // the system's code for the failure, 0 if it gave none
    std::string file;              // which file, "keycfg.ini"
    std::string folder;            // the settings folder, as the user would find it

    explicit operator bool() const { return error == FileError::None; }
    static FileResult of(FileError error, unsigned long systemCode = 0)
    {
        FileResult result;
        result.error = error;
        result.systemCode = systemCode;
        return result;
    }
};

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

    // Both files live in one settings folder, fixed before the first is read; this is how
    // the user would find it. Reads and writes take a file's name alone and report the error
    // and the system's code; the model adds which file and which folder.
    virtual std::string settingsFolder() = 0;
    // The whole file or nothing (TooLarge beyond `limit` bytes, OutOfMemory when it does not
    // fit), so a read error halfway never leaves half a file to work on.
    virtual FileResult readFile(const std::string& name, std::size_t limit, std::string& bytes) = 0;
    // The bytes go to a temporary file beside it, which then replaces the file in one step:
    // a reader never meets half a file. On failure the old file is as it was and the
    // temporary is gone.
    virtual FileResult writeFile(const std::string& name, const std::string& bytes) = 0;
};
