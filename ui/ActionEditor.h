// The action editor (template SHORTCUT_LIST): name, input key and output keys of one action,
// with output keys added through the output key dialog or recorded from the keyboard.
#pragma once
#include "engine/KeyEngine.h"
#include "model/Action.h"
#include "ui/DialogBinding.h"
#include "ui/KeyPicker.h"
#include "ui/OutputKeyList.h"
#include "ui/RecordingSession.h"

#include <optional>

class ActionEditor : public DialogBase {
public:
    // The action is the caller's working copy; it holds the edits whatever the result.
    ActionEditor(Action& action, KeyEngine& engine, HINSTANCE instance);

    // IDOK when confirmed with OK and an input key is set; Cancelled on Cancel, Esc or the close box.
    INT_PTR Run(HWND owner) { return runModal(owner); }

    bool recording() const { return recording_.has_value(); }

private:
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void forgetControls() override;
    // The list hears Alt+arrow as WM_SYSKEYDOWN and, under Wine at least, reports no
    // LVN_KEYDOWN for it, so the list is subclassed to see those keys itself.
    LRESULT onControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;

    void initialise();
    void onCommand(int id);
    void onNotify(const NMHDR& header);
    void onListKeyDown(WORD vk);
    void onKeyRecorded(WPARAM keyCode);

    void fillList(int selected);
    void updateButtons();

    void addKey();
    void editKey();
    void deleteKeys();
    void moveKeys(bool up);
    void toggleRecording();
    void startRecording();
    void stopRecording();
    void lockControlsForRecording(bool on);
    void confirm();

    Action& action_;
    KeyEngine& engine_;
    // The picker edits this copy of the input key; OK hands it to the action.
    KeyStroke input_;
    KeyPicker picker_;
    OutputKeyList keys_;
    HWND addButton_ = nullptr;
    HWND deleteButton_ = nullptr;
    HWND editButton_ = nullptr;
    HWND upButton_ = nullptr;
    HWND downButton_ = nullptr;
    HWND recordButton_ = nullptr;
    std::optional<RecordingSession> recording_;
};
