// The action editor (template SHORTCUT_LIST): name, input key and output keys of one action,
// with output keys added through the output key dialog or recorded from the keyboard.
#pragma once
#include "engine/KeyEngine.h"
#include "model/Action.h"
#include "ui/DialogBinding.h"
#include "ui/KeyPicker.h"

class ActionEditor : public KeyPicker {
public:
    // The action is the caller's working copy; it holds the edits whatever the result.
    ActionEditor(Action& action, KeyEngine& engine, HINSTANCE instance);
    ~ActionEditor() override;

    // 1 when confirmed with OK and an input key is set; 0 on Cancel, Esc or the close box.
    INT_PTR Run(HWND owner);

    bool recording() const { return recording_; }

    // The selection index: -1 with no row selected, -2 with several, otherwise the one
    // selected row (0..n, n being the end row after the n output keys).
    static constexpr int NoSelection = -1;
    static constexpr int SeveralSelected = -2;

private:
    friend struct DialogBinding<ActionEditor>;
    INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void OnInitDialog(HWND window);
    void OnCommand(int id);
    void OnNotify(const NMHDR& header);
    void OnListKeyDown(WORD vk);
    // The list hears Alt+arrow as WM_SYSKEYDOWN and, under Wine at least, reports no
    // LVN_KEYDOWN for it, so the list is subclassed to see those keys itself.
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
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

    // The picker edits this copy of the input key; OK hands it to the action.
    KeyStroke input_;
    Action& action_;
    KeyEngine& engine_;
    HWND list_ = nullptr;
    HWND addButton_ = nullptr;
    HWND deleteButton_ = nullptr;
    HWND editButton_ = nullptr;
    HWND upButton_ = nullptr;
    HWND downButton_ = nullptr;
    HWND recordButton_ = nullptr;
    WNDPROC previousListProc_ = nullptr;
    bool recording_ = false;
    int insertAt_ = 0;
    // True while rows are being rebuilt, when the list and the action briefly disagree.
    bool changingRows_ = false;
};
