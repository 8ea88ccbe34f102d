// Just enough of a model system for a ShortcutTable that is filled in memory.
#pragma once
#include "model/ModelSystem.h"

class FakeModelSystem : public ModelSystem {
public:
    bool version(Version& out) override
    {
        out = {2, 5, 1};
        return true;
    }
    std::string windowsDirectory() override { return "C:\\windows"; }
    void showMessage(const std::string&, const std::string&) override {}
    bool replaceFile(const std::string&, const std::string&) override { return false; }
};
