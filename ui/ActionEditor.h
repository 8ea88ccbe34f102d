// The action editor (template SHORTCUT_LIST): name, input key and output keys of one action,
// with output keys added through the output key dialog or recorded from the keyboard.
#pragma once
#include "engine/KeyEngine.h"
#include "model/Action.h"
#include "ui/DialogBinding.h"
#include "ui/KeyPicker.h"
#include "ui/WinHandles.h"

class ActionEditor : public DialogBase {
public:
    // The action is the caller's working copy; it holds the edits whatever the result.
    ActionEditor(Action& action, KeyEngine& engine, HINSTANCE instance);

    // 1 when confirmed with OK and an input key is set; 0 on Cancel, Esc or the close box.
    INT_PTR Run(HWND owner);

    bool recording() const { return recording_; }

    // The selection index: -1 with no row selected, -2 with several, otherwise the one
    // selected row (0..n, n being the end row after the n output keys).
    static constexpr int NoSelection = -1;
    static constexpr int SeveralSelected = -2;

private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The list hears Alt+arrow as WM_SYSKEYDOWN and, under Wine at least, reports no
    // LVN_KEYDOWN for it, so the list is subclassed to see those keys itself.
    LRESULT OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;
    // While recording, every key message meant for the editor is dropped before the dialog
    // manager sees it: the keys go to the engine through the hook library, and none of
    // them may press a button, move the focus or close the dialog.
    static LRESULT CALLBACK RecordingFilter(int code, WPARAM wParam, LPARAM lParam);

    void OnInitDialog();
    void OnCommand(int id);
    void OnNotify(const NMHDR& header);
    void OnListKeyDown(WORD vk);
    void OnKeyRecorded(WPARAM keyCode);

    // Rows of the output-key list.
    void FillList(int selected);
    void InsertKeyRow(int row, const KeyStroke& key, bool selected);
    int KeyRowCount() const { return action_.outputCount(); }
    bool IsRowSelected(int row) const;
    void SetRowState(int row, UINT state, UINT mask);
    int SelectionIndex() const;
    bool CanMove(bool up) const;
    void UpdateButtons();

    void Add();
    void Edit();
    void Delete();
    void Move(bool up);
    void SelectAll();
    void ToggleRecording();
    void StartRecording();
    void StopRecording();
    void SetControlsForRecording(bool on);
    void Confirm();

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
    OwnedHook recordingFilter_;
    bool recording_ = false;
    int insertAt_ = 0;
    // True while rows are being rebuilt, when the list and the action briefly disagree.
    bool changingRows_ = false;
};
