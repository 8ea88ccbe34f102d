// The three templates with the key picker: captions, control texts, and the picker's
// controls laid out alike in all of them.
#include "tests/ui_editor/EditorTestSupport.h"
#include "ui/OutputKeyDialog.h"
#include "ui/PropertyDialog.h"

#include <gtest/gtest.h>

#include <map>

using namespace dialogtest;
using namespace editortest;

namespace {

struct Seen {
    std::string caption;
    std::map<int, std::string> texts;
    std::vector<RECT> picker;  // 1009-1012 and 1002, relative to 1009, in dialog pixels
};

Seen Inspect(HWND dialog, std::initializer_list<int> ids)
{
    Seen seen;
    seen.caption = Text(dialog);
    for (int id : ids) seen.texts[id] = ControlText(dialog, id);
    RECT origin;
    GetWindowRect(Control(dialog, IDC_CHECK_CTRL), &origin);
    for (int id : {IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN, IDC_KEY_COMBO}) {
        RECT rect;
        GetWindowRect(Control(dialog, id), &rect);
        OffsetRect(&rect, -origin.left, -origin.top);
        seen.picker.push_back(rect);
    }
    Click(dialog, IDCANCEL);
    return seen;
}

const std::map<int, std::string> PickerTexts = {
    {IDC_CHECK_CTRL, "&Ctrl"}, {IDC_CHECK_ALT, "A&lt"}, {IDC_CHECK_SHIFT, "S&hift"}, {IDC_CHECK_WIN, "&Win"}};

std::map<int, std::string> With(std::map<int, std::string> texts)
{
    texts.insert(PickerTexts.begin(), PickerTexts.end());
    return texts;
}

// Pixel positions are rounded from dialog units per control, so offsets may differ by one
// pixel between templates whose picker starts at another place. The hotkey dialog's
// drop-down also sits one dialog unit lower than in the other two.
bool SameArrangement(const std::vector<RECT>& a, const std::vector<RECT>& b, int comboDrop)
{
    if (a.size() != 5 || b.size() != 5) return false;
    auto within = [](LONG x, LONG y, int slack) { return y - x >= -1 && y - x <= 1 + slack; };
    for (size_t i = 0; i < 5; ++i) {
        const int slack = i == 4 ? comboDrop : 0;
        if (!within(a[i].left, b[i].left, 0) || !within(a[i].right, b[i].right, 0) ||
            !within(a[i].top, b[i].top, slack) || !within(a[i].bottom, b[i].bottom, slack)) {
            return false;
        }
    }
    return true;
}

class TemplateTest : public ::testing::Test, public EditorFixture {};

}  // namespace

TEST_F(TemplateTest, CaptionsTextsAndPickerArrangement)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    Seen keySet, editor, property;

    KeyStroke stroke;
    driver.OnNextDialog([&](HWND d) {
        keySet = Inspect(d, {IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN, IDOK, IDCANCEL});
    });
    OutputKeyDialog(stroke, instance).Run(nullptr);

    Action action("");
    driver.OnNextDialog([&](HWND d) {
        editor = Inspect(d, {IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN, IDC_ADD_BUTTON,
                             IDC_DELETE_BUTTON, IDC_EDIT_BUTTON, IDC_UP_BUTTON, IDC_DOWN_BUTTON,
                             IDC_RECORD_BUTTON, IDOK, IDCANCEL, IDC_HELP_BUTTON});
    });
    ActionEditor(action, engine, instance).Run(nullptr);

    driver.OnNextDialog([&](HWND d) {
        property = Inspect(d, {IDC_USE_HOTKEY, IDC_CHECK_CTRL, IDC_CHECK_ALT, IDC_CHECK_SHIFT, IDC_CHECK_WIN,
                               IDC_PLUS_STATIC, IDOK, IDCANCEL, IDC_HELP_BUTTON});
    });
    PropertyDialog(settings, instance).Run(nullptr);

    EXPECT_EQ("送信キー設定", keySet.caption);
    EXPECT_EQ(With({{IDOK, "OK"}, {IDCANCEL, "キャンセル"}}), keySet.texts);
    EXPECT_EQ("アクション設定", editor.caption);
    EXPECT_EQ(With({{IDC_ADD_BUTTON, "追加(&A)"}, {IDC_DELETE_BUTTON, "削除(&R)"}, {IDC_EDIT_BUTTON, "編集(&E)"},
                    {IDC_UP_BUTTON, "↑"}, {IDC_DOWN_BUTTON, "↓"}, {IDC_RECORD_BUTTON, "キー入力記録開始(&K)"},
                    {IDOK, "OK"}, {IDCANCEL, "ｷｬﾝｾﾙ"}, {IDC_HELP_BUTTON, "ﾍﾙﾌﾟ(&H)"}}),
              editor.texts);
    EXPECT_EQ("ホットキーの割り当て", property.caption);
    EXPECT_EQ(With({{IDC_USE_HOTKEY, "ホットキーを使用する(&K)"}, {IDC_PLUS_STATIC, "＋"}, {IDOK, "OK"},
                    {IDCANCEL, "ｷｬﾝｾﾙ"}, {IDC_HELP_BUTTON, "ヘルプ(&H)"}}),
              property.texts);

    EXPECT_TRUE(SameArrangement(keySet.picker, editor.picker, 0));
    EXPECT_TRUE(SameArrangement(keySet.picker, property.picker, 2));
    EXPECT_EQ(0, driver.unexpectedDialogs());
}
