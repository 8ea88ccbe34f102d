#include "ui/FileNotices.h"

#include <string>

namespace {

constexpr char Caption[] = "Varokinto";

struct Wording {
    const char* what;
    const char* next;
    UINT style;
};

Wording WordingOf(FileNotice notice)
{
    switch (notice) {
    case FileNotice::NotRead:
        return {"設定ファイルを読み込めませんでした。",
                "ファイルは変更していません。Varokinto を終了します。原因を取り除いてから、もう一度起動してください。",
                MB_OK | MB_ICONERROR};
    case FileNotice::BuiltInSetNotSaved:
        return {
            "組み込みのショートカットを保存できませんでした。",
            "Varokinto は組み込みのショートカットで動作します。ショートカット設定を閉じるときに、もう一度保存します。",
            MB_OK | MB_ICONWARNING};
    case FileNotice::DefaultsNotSaved:
        return {"ホットキーの設定を保存できませんでした。",
                "Varokinto は初期値の設定で動作します。プロパティーで「OK」を押すと、もう一度保存します。",
                MB_OK | MB_ICONWARNING};
    case FileNotice::ShortcutsNotSaved:
        return {
            "ショートカットの設定を保存できませんでした。",
            "「OK」を押すと、ウインドウに戻ります。原因を取り除いてから、もう一度閉じてください。\n"
            "「キャンセル」を押すと、保存せずに閉じます。変更は Varokinto を終了するまで有効で、終了すると失われます。",
            MB_OKCANCEL | MB_ICONWARNING};
    case FileNotice::SettingsNotSaved:
        return {"ホットキーの設定を保存できませんでした。",
                "設定は変更していません。原因を取り除いてから、もう一度「OK」を押してください。"
                "「ｷｬﾝｾﾙ」を押すと、変更せずに閉じます。",
                MB_OK | MB_ICONWARNING};
    }
    return {"", "", MB_OK};
}

std::string ReasonOf(const FileResult& result)
{
    switch (result.error) {
    case FileError::None:
        break;
    case FileError::NotFound:
        return "ファイルまたはフォルダーが見つかりません。";
    case FileError::AccessDenied:
        return "アクセスが拒否されました。";
    case FileError::InUse:
        return "ほかのプログラムがこのファイルを使用しています。";
    case FileError::DiskFull:
        return "ディスクの空き容量が足りません。";
    case FileError::TooLarge:
        return "ファイルが大きすぎます。";
    case FileError::OutOfMemory:
        return "メモリが足りません。";
    case FileError::FolderRefused:
        return "Windows のフォルダーには書き込みません。varokint.exe を別のフォルダーに置いてください。";
    case FileError::Other:
        break;
    }
    return SystemReason(result.systemCode);
}

}  // namespace

std::string SystemReason(unsigned long code)
{
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = length > 0 ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    const std::string number = "エラー " + std::to_string(code);
    return reason.empty() ? number : reason + "（" + number + "）";
}

int ShowFileNotice(HWND owner, FileNotice notice, const FileResult& result)
{
    const Wording wording = WordingOf(notice);
    const std::string text = std::string(wording.what) + "\n\nファイル: " + result.file +
                             "\nフォルダー: " + result.folder + "\n理由: " + ReasonOf(result) + "\n\n" + wording.next;
    // At start-up nothing of ours is on screen yet: the notice must not open behind the
    // windows of a log-on.
    const UINT style = wording.style | (owner == nullptr ? MB_TOPMOST : 0);
    return MessageBoxA(owner, text.c_str(), Caption, style);
}
