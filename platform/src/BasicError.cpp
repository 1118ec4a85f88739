#include "platform/BasicError.h"

#include <string>

namespace platform {

BasicError::BasicError(int number, std::string description)
    : number_(number), description_(description.empty() ? errorDescription(number) : std::move(description))
{
}

std::string errorDescription(int number)
{
    // Texts as the Japanese Basic runtime words them.
    switch (number) {
    case 3: return "Return に対応する GoSub がありません。";
    case 5: return "プロシージャの呼び出し、または引数が不正です。";
    case 6: return "オーバーフローしました。";
    case 7: return "メモリが不足しています。";
    case 9: return "インデックスが有効範囲にありません。";
    case 10: return "この配列は固定されているか、または一時的にロックされています。";
    case 11: return "0 で除算しました。";
    case 13: return "型が一致しません。";
    case 14: return "文字列領域が不足しています。";
    case 28: return "スタック領域が不足しています。";
    case 48: return "DLL 読み込み時のエラーです。";
    case 49: return "DLL の呼び出し規約が不正です。";
    case 51: return "内部エラーです。";
    case 52: return "ファイル名または番号が不正です。";
    case 53: return "ファイルが見つかりません。";
    case 54: return "ファイル モードが不正です。";
    case 55: return "ファイルは既に開かれています。";
    case 57: return "デバイス I/O エラーです。";
    case 58: return "既に同名のファイルが存在しています。";
    case 59: return "レコード長が一致しません。";
    case 61: return "ディスクの空き容量が不足しています。";
    case 62: return "ファイルにこれ以上データがありません。";
    case 63: return "レコード番号が不正です。";
    case 67: return "ファイルが多すぎます。";
    case 68: return "デバイスが準備されていません。";
    case 70: return "書き込みできません。";
    case 71: return "ディスクが準備されていません。";
    case 75: return "パス名が無効です。";
    case 76: return "パスが見つかりません。";
    case 91: return "オブジェクト変数または With ブロック変数が設定されていません。";
    case 92: return "For ループが初期化されていません。";
    case 94: return "Null の使い方が不正です。";
    case 380: return "プロパティの値が不正です。";
    case 424: return "オブジェクトが必要です。";
    case 429: return "ActiveX コンポーネントはオブジェクトを作成できません。";
    case 438: return "オブジェクトは、このプロパティまたはメソッドをサポートしていません。";
    case 453: return "指定された DLL 関数が見つかりません。";
    case 32755: return "キャンセルが選択されました。";
    default: return "アプリケーション定義またはオブジェクト定義のエラーです。";
    }
}

std::string trapMessage(std::string_view procedure, int number, std::string_view description)
{
    std::string text(procedure);
    text += ", ";
    text += std::to_string(number);
    text += description;
    return text;
}

std::string trapMessage(std::string_view procedure, const BasicError& error)
{
    return trapMessage(procedure, error.number(), error.description());
}

void raise(int number)
{
    throw BasicError(number);
}

} // namespace platform
