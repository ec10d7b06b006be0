#pragma once
// What a cell held before column fitting emptied it, and how it is given back.
#include <cstdint>
#include <string>

#include "core/runtime/value.h"

namespace harumado::platform {
class ExcelSheet;
}

namespace harumado::columns {

struct SavedContent {
  enum class Kind { kFormula, kText, kConstant };
  Kind kind = Kind::kConstant;
  std::wstring formula;  // kFormula: the formula text
  rt::Value value;       // kText: the text; kConstant: the number, logical or date
  std::wstring format;   // the cell's local number format
};

// Classifies a cell from its value, its Formula and its local number format.
SavedContent SaveContent(const rt::Value& value, const rt::Value& formula, const rt::Value& format);

// Writes the content back into the cell: a formula as a formula, a text as the same text
// (never re-read as a number, date or logical), any other constant as its value.
void GiveBack(platform::ExcelSheet& sheet, std::int32_t row, std::int32_t column,
              const SavedContent& saved);

}  // namespace harumado::columns
