#pragma once
// Number formats of cells: the program's local codes applied as Calc format keys of the
// Japanese locale, and read back.
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <cstdint>
#include <string>
#include <string_view>

#include "calc/uno_support.h"

namespace harumado::calc {

class CellFormats {
 public:
  explicit CellFormats(const Reference<css::sheet::XSpreadsheetDocument>& document);

  // The key of a local code, added to the document when it is new; 1004 for a code that Excel
  // would not take (or Calc cannot read).
  std::int32_t KeyOf(std::wstring_view local_code);
  // The local code of a key.
  std::wstring LocalCodeOf(std::int32_t key);
  // The key that shows a number as TRUE or FALSE.
  std::int32_t LogicalKey();
  // What a value under the key is: a date or time, a logical, or a plain number.
  enum class Kind { kNumber, kDate, kLogical };
  Kind KindOf(std::int32_t key);

  // The key of a cell or block (a block of mixed formats has none: -1).
  static std::int32_t KeyOfCell(const Reference<css::uno::XInterface>& cell);
  static void SetKey(const Reference<css::uno::XInterface>& cell, std::int32_t key);

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace harumado::calc
