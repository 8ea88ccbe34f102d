// What both file fuzzers share: a scratch current directory, the input written as the
// file there, and a system whose file replacement is a plain rename.
#pragma once
#include "model/ModelSystem.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace fuzz {

class RenameSystem : public ModelSystem {
public:
    bool version(Version& out) override
    {
        out = {2, 5, 0};
        return true;
    }
    std::string windowsDirectory() override { return "C:\\WINDOWS"; }
    // A save must never fail in a writable scratch folder.
    void showMessage(const std::string&, const std::string&) override { std::abort(); }
    bool replaceFile(const std::string& from, const std::string& to) override
    {
        return std::rename(from.c_str(), to.c_str()) == 0;
    }
};

inline std::string& ScratchDirectory()
{
    static std::string path;
    return path;
}

// Moves the process into a fresh scratch folder once; both files are named relative to
// it. The folder goes away when the process exits.
inline void EnterScratchDirectory()
{
    if (!ScratchDirectory().empty())
        return;
    std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/vr-fuzz-XXXXXX" : "/tmp/vr-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0)
        std::abort();
    ScratchDirectory() = pattern;
    std::atexit([] {
        for (const char* name : {"keycfg.ini", "keycfg.ini.tmp", "property.ini", "property.ini.tmp"})
            std::remove((ScratchDirectory() + "/" + name).c_str());
        rmdir(ScratchDirectory().c_str());
    });
}

inline void WriteInput(const char* fileName, const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(fileName, "wb");
    if (!file)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
}

} // namespace fuzz
