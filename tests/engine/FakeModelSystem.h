// The model's system services for tests: a settable system version and Windows directory,
// and the two files in the current directory, read and written as the Win32 side does
// (whole, through a temporary), unless told to fail.
#pragma once
#include "model/ModelSystem.h"

#include <cerrno>
#include <cstdio>
#include <string>

class FakeModelSystem : public ModelSystem {
public:
    Version reported{2, 5, 0};
    bool versionWorks = true;
    std::string directory = "D:\\WINNT";
    std::string folder = "D:\\Varokinto";
    FileError failReads = FileError::None;   // every read fails with this
    std::size_t readErrorAt = std::string::npos;  // a read fails after this many bytes
    FileError failWrites = FileError::None;  // every write fails with this, the file untouched

    bool version(Version& out) override
    {
        if (versionWorks)
            out = reported;
        return versionWorks;
    }
    std::string windowsDirectory() override { return directory; }
    std::string settingsFolder() override { return folder; }

    FileResult readFile(const std::string& name, std::size_t limit, std::string& bytes) override
    {
        if (failReads != FileError::None)
            return FileResult::failed(failReads);
        std::FILE* file = std::fopen(name.c_str(), "rb");
        if (!file)
            return fromErrno();
        bytes.clear();
        FileResult result;
        char chunk[4096];
        for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
            if (bytes.size() + got > readErrorAt) {
                result = FileResult::failed(FileError::Other, EIO);
                break;
            }
            bytes.append(chunk, got);
            if (bytes.size() > limit) {
                result = FileResult::failed(FileError::TooLarge);
                break;
            }
        }
        if (result && std::ferror(file))
            result = fromErrno();
        std::fclose(file);
        if (!result)
            bytes.clear();
        return result;
    }

    FileResult writeFile(const std::string& name, const std::string& bytes) override
    {
        if (failWrites != FileError::None)
            return FileResult::failed(failWrites);
        const std::string temporary = name + ".tmp";
        std::FILE* file = std::fopen(temporary.c_str(), "wb");
        if (!file)
            return fromErrno();
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                             std::fflush(file) == 0;
        FileResult result = written ? FileResult{} : fromErrno();
        if (std::fclose(file) != 0 && result)
            result = fromErrno();
        if (result && std::rename(temporary.c_str(), name.c_str()) != 0)
            result = fromErrno();
        if (!result)
            std::remove(temporary.c_str());
        return result;
    }

private:
    static FileResult fromErrno()
    {
        const int code = errno;
        const FileError error = code == ENOENT                                       ? FileError::NotFound
                                : code == EACCES || code == EPERM || code == EISDIR ? FileError::AccessDenied
                                : code == ENOSPC || code == EFBIG                   ? FileError::DiskFull
                                                                                    : FileError::Other;
        return FileResult::failed(error, static_cast<unsigned long>(code));
    }
};
