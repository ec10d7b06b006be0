#include "core/workbook/texts.h"

namespace harumado::workbook {

std::wstring CopyToPasteMessage(const std::wstring& path) {
  return L"文字をコピーするとセルに貼り付けが出来ます。" + path;
}

std::wstring PressOrderMessage(const std::wstring& path) {
  return L"ボタンを[貼り付け開始] →[ファイル名開く] → [貼り付け開始]順で押して下さい。[" + path +
         L"]";
}

}  // namespace harumado::workbook
