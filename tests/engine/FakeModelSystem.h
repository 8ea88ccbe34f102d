// The model's system services for tests: a settable system version and Windows directory,
// and the two files in the current directory, read whole and written through a temporary
// as on Windows; a read can be made to fail part way.
#pragma once
#include "model/ModelSystem.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

class FakeModelSystem : public ModelSystem {
public:
    Version reported{2, 5, 0};
    bool versionWorks = true;
    std::string directory = "D:\\WINNT";
    std::string folder = "D:\\Varokinto";
    std::size_t readErrorAt = std::string::npos;  // a read fails past this many bytes

    bool version(Version& out) override
    {
        if (versionWorks) out = reported;
        return versionWorks;
    }
    std::string windowsDirectory() override { return directory; }
    std::string settingsFolder() override { return folder; }

    FileResult readFile(const std::string& name, std::size_t limit, std::string& bytes) override
    {
        std::ifstream in(name, std::ios::binary);
        if (!in) return FileResult::of(errno == ENOENT ? FileError::NotFound : FileError::AccessDenied, errno);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        const FileError error = bytes.size() > readErrorAt ? FileError::Other
                                : bytes.size() > limit     ? FileError::TooLarge
                                                           : FileError::None;
        if (error != FileError::None) bytes.clear();
        return FileResult::of(error);
    }

    FileResult writeFile(const std::string& name, const std::string& bytes) override
    {
        const std::string temporary = name + ".tmp";
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return FileResult::of(FileError::AccessDenied, errno);
        out << bytes;
        out.close();
        if (out && std::rename(temporary.c_str(), name.c_str()) == 0) return {};
        std::remove(temporary.c_str());
        return FileResult::of(FileError::Other, errno);
    }
};
