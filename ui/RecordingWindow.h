// The action editor as the engine sees it while recording: each key newly pressed that has a
// name in the program's string table is sent to the editor as WM_KEY_RECORDED.
#pragma once
#include "engine/KeySystem.h"

#include <windows.h>

// wParam = the key code.
constexpr UINT WM_KEY_RECORDED = WM_APP + 101;

class RecordingWindow : public KeyRecorder {
public:
    // Key names come from the string table of that module.
    RecordingWindow(HWND editor, HINSTANCE instance) : editor_(editor), instance_(instance) {}

    bool canRecord(unsigned vk) override
    {
        // The string table holds at most 255 bytes per key name.
        char name[256];
        return LoadStringA(instance_, vk, name, sizeof name) > 0;
    }
    void recordKey(int keyCode) override
    {
        // Sent, so the editor has stored the key before the engine handles the next event.
        SendMessageA(editor_, WM_KEY_RECORDED, static_cast<WPARAM>(keyCode), 0);
    }

private:
    HWND editor_;
    HINSTANCE instance_;
};
