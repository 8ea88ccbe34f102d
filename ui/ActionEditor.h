// The action editor (template SHORTCUT_LIST): name, input key and output keys of one action,
// with output keys added through the output key dialog or recorded from the keyboard.
#pragma once
#include "engine/KeyEngine.h"
#include "model/Action.h"
#include "ui/DialogBinding.h"
#include "ui/KeyPicker.h"
#include "ui/RecordingSession.h"

#include <optional>

class ActionEditor : public DialogBase {
public:
    // The action is the caller's working copy; it holds the edits whatever the result.
    ActionEditor(Action& action, KeyEngine& engine, HINSTANCE instance);

    // IDOK when confirmed with OK and an input key is set; Cancelled on Cancel, Esc or the close box.
    INT_PTR Run(HWND owner) { return runModal(owner); }

    bool recording() const { return recording_.has_value(); }

    // The selection index: -1 with no row selected, -2 with several, otherwise the one
    // selected row (0..n, n being the end row after the n output keys).
    static constexpr int NoSelection = -1;
    static constexpr int SeveralSelected = -2;

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

    // Rows of the output-key list.
    void fillList(int selected);
    void insertKeyRow(int row, const KeyStroke& key, bool selected);
    int keyRowCount() const { return action_.outputCount(); }
    bool isRowSelected(int row) const;
    void setRowState(int row, UINT state, UINT mask);
    int selectionIndex() const;
    bool canMove(bool up) const;
    void updateButtons();

    void addKey();
    void editKey();
    void deleteKeys();
    void moveKeys(bool up);
    void selectAll();
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
    HWND list_ = nullptr;
    HWND addButton_ = nullptr;
    HWND deleteButton_ = nullptr;
    HWND editButton_ = nullptr;
    HWND upButton_ = nullptr;
    HWND downButton_ = nullptr;
    HWND recordButton_ = nullptr;
    std::optional<RecordingSession> recording_;
    int insertAt_ = 0;
    // True while rows are being rebuilt, when the list and the action briefly disagree.
    bool changingRows_ = false;
};
