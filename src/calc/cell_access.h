#pragma once
// A cell's properties as the program reads and writes them through Excel's Range: Value, Text,
// NumberFormatLocal and Formula, with Excel's rules where Calc's differ (typed input, the '#'
// fill of a narrow column, dates and logicals as their own kinds of value).
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/XCell.hpp>

#include "calc/cell_formats.h"
#include "calc/view_cursor.h"
#include "platform/spreadsheet_host.h"
#include "runtime/value.h"

namespace harumado::calc {

struct CellRef {
  Reference<css::sheet::XSpreadsheet> sheet;
  CellPosition position;
  Reference<css::table::XCell> cell;
};

rt::Value ReadCell(const CellRef& cell, platform::CellProperty property, CellFormats& formats);
void WriteCell(const CellRef& cell, platform::CellProperty property, const rt::Value& value,
               CellFormats& formats);

// A text read as Excel reads typed input into the cell (the empty text empties it).
void EnterText(const CellRef& cell, const std::wstring& entry, CellFormats& formats);

}  // namespace harumado::calc
