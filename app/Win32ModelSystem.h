// The model's system services on Windows.
#pragma once
#include "model/ModelSystem.h"

class Win32ModelSystem : public ModelSystem {
public:
    bool version(Version& out) override;
    std::string windowsDirectory() override;
    void showMessage(const std::string& text, const std::string& caption) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
};
