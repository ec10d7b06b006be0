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

// Writes the content back with one call: a formula as a formula, any other constant as its
// value, a text through Formula. Returns true when the host may have read that text as
// something else (a number, a date, a logical); KeptAsText then tells, and PutText repairs it.
bool GiveBack(platform::ExcelSheet& sheet, std::int32_t row, std::int32_t column,
              const SavedContent& saved);
// Whether the cell's value is the saved text again.
bool KeptAsText(const rt::Value& got, const SavedContent& saved);
// Writes a saved text so that the host keeps it as that text, and puts the cell's format back.
void PutText(platform::ExcelSheet& sheet, std::int32_t row, std::int32_t column,
             const SavedContent& saved);

}  // namespace harumado::columns
