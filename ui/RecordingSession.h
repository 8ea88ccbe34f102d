// Everything that recording keys into the action editor sets up, held together: the engine
// sends the keys it hears to the editor, a message filter drops every key message meant for
// the editor, a window property marks the editor for that filter, and the close box is
// greyed. The destructor is the one teardown, whatever ends the recording.
#pragma once
#include "engine/KeyEngine.h"
#include "ui/RecordingWindow.h"
#include "win32/Handles.h"

#include <windows.h>

class RecordingSession {
public:
    // Key names come from the string table of that module.
    RecordingSession(HWND editor, KeyEngine& engine, HINSTANCE instance);
    ~RecordingSession();
    RecordingSession(const RecordingSession&) = delete;
    RecordingSession& operator=(const RecordingSession&) = delete;

private:
    // While recording, every key message meant for the editor is dropped before the dialog
    // manager sees it: the keys go to the engine through the hook library, and none of
    // them may press a button, move the focus or close the dialog.
    static LRESULT CALLBACK filter(int code, WPARAM wParam, LPARAM lParam);

    HWND editor_;
    KeyEngine& engine_;
    RecordingWindow recorder_;
    OwnedHook filter_;
};
