#pragma once
// Codes and texts of the errors raised through dispatch by the control and
// every chart object; the status is 0x80040200 + (code - 1001).
#include <cstdint>

namespace lumigra {

enum LgError : int {
    lgErrUnknown = 1001,
    lgErrOutOfMemory = 1002,
    lgErrBadArgument = 1003,
    lgErrCollectionOverflow = 1004,
    lgErrOtherControl = 1005,
    lgErrDuplicateName = 1006,
    lgErrNoSuchName = 1007,
    lgErrReadOnly = 1008,
    lgErrNotWindow = 1009,
    lgErrNotSupported = 1010,
    lgErrUnknownObject = 1011,
};

inline const char* errorText(int code)
{
    switch (code) {
    case 1001: return "原因不明のｴﾗｰが発生しました。";
    case 1002: return "メモリが不足しています。";
    case 1003: return "変数や引数の型が不正、添え字が範囲外、不正な名前等のエラーです。.";
    case 1004: return "コレクションの内部配列がオーバーフローしました。";
    case 1005: return "別のコントロールのオブジェクトを追加しようとしました。";
    case 1006: return "同じ名前が既に存在しています。";
    case 1007: return "指定した名前は存在しません。";
    case 1008: return "読み込みのみ可能です。変更はできません。";
    case 1009: return "Window Handle ではありません。";
    case 1010: return "追加削除の機能はサポートされていません。";
    case 1011: return "定義されていない（判別不可能な）オブジェクトです。";
    default: return "Undefined message";
    }
}

inline int32_t errorStatus(int code)
{
    uint32_t base = 0x80040200u;
    if (code >= 1001 && code <= 1011)
        base += static_cast<uint32_t>(code - 1001);
    return static_cast<int32_t>(base);
}

} // namespace lumigra
