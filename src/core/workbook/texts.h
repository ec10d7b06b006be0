#pragma once
// Fixed texts of the workbook control: messages in Text2 and the values of TitleMatch.
#include <string>

namespace harumado::workbook {

inline constexpr wchar_t kTitleMatchYes[] = L"有り";
inline constexpr wchar_t kTitleMatchNo[] = L"無し";

inline constexpr wchar_t kEmptyNameMessage[] = L"ファイル名を記載してください  ↑";
inline constexpr wchar_t kBadExtensionMessage[] =
    L"拡張子の形式は [xlsx] [xlsm] [xlsb] [xls] が使用できます。";
inline constexpr wchar_t kUnusableNameMessage[] =
    L"このファイル名は使えません。デスクトップに作れるファイル名を入力してください。";
inline constexpr wchar_t kPleaseWaitMessage[] = L"お待ち下さい";
inline constexpr wchar_t kRetryMessage[] = L"少し待機してから再試行して下さい。";
inline constexpr wchar_t kCloseAllExcelMessage[] =
    L"一度、すべてのExcelを閉じ、本ソフトのExcelを先に起動してから、コピー元のファイルを開き直して"
    L"ください。";

// The spreadsheet cannot create a file with this extension (LibreOffice Calc writes no xlsb).
std::wstring UncreatableFormatMessage(const std::wstring& extension);
// "文字をコピーするとセルに貼り付けが出来ます。" followed by the path.
std::wstring CopyToPasteMessage(const std::wstring& path);
// Asks for the button order 貼り付け開始, ファイル名開く, 貼り付け開始; names the path.
std::wstring PressOrderMessage(const std::wstring& path);

}  // namespace harumado::workbook
