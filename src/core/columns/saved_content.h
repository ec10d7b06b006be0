#pragma once
// What a cell held before column fitting emptied it, and how it is given back.
#include <cstdint>
#include <string>

#include "platform/spreadsheet_host.h"
#include "runtime/value.h"

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

// The write that gives a content back: the property and the value written to it. Cells next to
// each other whose writes go to the same property are given back in one block write. A text may
// come back as something else (the host reads the written text as a number, a date, a logical);
// KeptAsText then tells, and PutText repairs it.
struct GiveBackWrite {
  platform::CellProperty property = platform::CellProperty::kValue;
  rt::Value value;
};
GiveBackWrite GiveBackFor(const SavedContent& saved);
// Whether the cell's value is the saved text again.
bool KeptAsText(const rt::Value& got, const SavedContent& saved);
// Writes a saved text so that the host keeps it as that text, and puts the cell's format back.
void PutText(platform::ExcelSheet& sheet, std::int32_t row, std::int32_t column,
             const SavedContent& saved);

}  // namespace harumado::columns
