#include "core/workbook/texts.h"

namespace harumado::workbook {

std::wstring CopyToPasteMessage(const std::wstring& path) {
  return L"文字をコピーするとセルに貼り付けが出来ます。" + path;
}

std::wstring UncreatableFormatMessage(const std::wstring& extension) {
  return L"[" + extension +
         L"] のファイルはこの表計算ソフトでは新しく作成できません。[xlsx] [xlsm] [xls] "
         L"のどれかを使用してください。";
}

std::wstring PressOrderMessage(const std::wstring& path) {
  return L"ボタンを[貼り付け開始] →[ファイル名開く] → [貼り付け開始]順で押して下さい。[" + path +
         L"]";
}

}  // namespace harumado::workbook
