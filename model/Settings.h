// The program's preferences outside the shortcut table, and their file property.ini in
// the settings folder.
#pragma once
#include "model/KeyStroke.h"
#include "model/ModelSystem.h"

#include <cstdint>

class Settings {
public:
    explicit Settings(ModelSystem& system) : system_(&system) {}

    bool useHotKey = false;
    KeyStroke hotKey;
    std::int32_t timer = 100;  // milliseconds between actions

    // First-run values: hotkey on, Win+Enter, 100 ms.
    bool setDefaults();
    // A load that fails leaves the values as they were; a save that fails leaves the file
    // as it was.
    FileResult load();
    FileResult save() const;

private:
    ModelSystem* system_;  // a pointer, so that a dialog can assign a whole edited copy back
};
