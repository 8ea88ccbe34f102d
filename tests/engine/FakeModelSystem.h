// The model's system services in memory: a settable system version and Windows
// directory, message boxes recorded as "caption: text", and file replacement by a plain
// rename unless told to fail.
#pragma once
#include "model/ModelSystem.h"

#include <cstdio>
#include <string>
#include <vector>

class FakeModelSystem : public ModelSystem {
public:
    Version reported{2, 5, 0};
    bool versionWorks = true;
    std::string directory = "D:\\WINNT";
    bool failReplace = false;
    int replaceCalls = 0;
    std::vector<std::string> messages;

    bool version(Version& out) override
    {
        if (versionWorks)
            out = reported;
        return versionWorks;
    }
    std::string windowsDirectory() override { return directory; }
    void showMessage(const std::string& text, const std::string& caption) override
    {
        messages.push_back(caption + ": " + text);
    }
    bool replaceFile(const std::string& from, const std::string& to) override
    {
        ++replaceCalls;
        return !failReplace && std::rename(from.c_str(), to.c_str()) == 0;
    }
};
