// What the program tells the user once at start-up about a system on which it cannot do
// all it should, and then runs on: a language for non-Unicode programs other than Japanese
// (every text garbled), and running as administrator (shortcuts only in windows that run
// as administrator too). Portable: the decisions and the texts; the shell shows them.
#pragma once
#include <cstdint>
#include <optional>

constexpr unsigned JapaneseCodePage = 932;

inline bool NeedsCodePageNotice(unsigned ansiCodePage)
{
    return ansiCodePage != JapaneseCodePage;
}

// Our process's integrity level and the shell's (the owner of the taskbar), when known. A
// process above the shell's level receives no key report from the normal programs beside
// the shell. "Elevated" alone does not tell it: with UAC switched off, or under Wine, every
// process is, the shell included. Without a shell to compare with, nothing is said.
inline bool NeedsAdministratorNotice(std::optional<std::uint32_t> ours, std::optional<std::uint32_t> shell)
{
    return ours && shell && *ours > *shell;
}

// UTF-16, shown through the wide message box: readable whatever the system's code page.
inline constexpr wchar_t NoticeCaption[] = L"Varokinto";

inline constexpr wchar_t CodePageNoticeText[] =
    L"Unicode 対応ではないプログラムの言語が日本語ではないため、Varokinto のメニューや"
    L"画面の文字は正しく表示されません（Varokinto の文字は日本語の文字コード、シフト JIS で"
    L"書かれています）。ショートカットはこのまま働きます。\n\n"
    L"正しく表示するには、［コントロール パネル］→［地域］→［管理］タブの「Unicode 対応"
    L"ではないプログラムの言語」で［システム ロケールの変更］を押し、「日本語 (日本)」を選んで"
    L"Windows を再起動してください。\n\n"
    L"Varokinto shows its menus and windows in Japanese (Shift-JIS). The language for "
    L"non-Unicode programs of this system is not Japanese, so these texts will be garbled; "
    L"the shortcuts work all the same.\n\n"
    L"To show them correctly, open Control Panel > Region > Administrative, click "
    L"\"Change system locale...\" under \"Language for non-Unicode programs\", choose "
    L"\"Japanese (Japan)\" and restart Windows.";

inline constexpr wchar_t AdministratorNoticeText[] =
    L"Varokinto が管理者として実行されています。\n\n"
    L"このままでは、ショートカットは管理者として実行されているウインドウでしか働きません。"
    L"Windows は、ふつうに実行されているアプリケーションのキー入力を、管理者として実行されて"
    L"いるプログラムには知らせないためです。\n\n"
    L"すべてのアプリケーションでショートカットを使うには、通知領域のアイコンのメニューから"
    L"「終了(X)」を選び、「管理者として実行」を使わずに varokint.exe を起動し直してください。"
    L"varokint.exe やそのショートカットのプロパティの［互換性］タブで「管理者としてこの"
    L"プログラムを実行する」にチェックが付いている場合は、外してください。";

// Shows the notices that apply, one after the other; each waits for OK.
void ShowStartupNotices();
