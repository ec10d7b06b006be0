#pragma once
// A Calc document as the host's objects use it: its active sheet, its view, the cell cursor.
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/table/XCell.hpp>

#include "calc/uno_support.h"
#include "calc/view_cursor.h"

namespace harumado::calc {

inline constexpr std::int32_t kSheetRows = 1048576;
inline constexpr std::int32_t kSheetColumns = 16384;

using Document = Reference<css::sheet::XSpreadsheetDocument>;

// The document of the active window, or of the last window when the active one shows none
// (LibreOffice may have no active window while hidden); null when none is open.
Document ActiveDocument(Office& office);

// The document's view (null for a document without one).
Reference<css::sheet::XSpreadsheetView> ViewOf(const Document& document);
Reference<css::sheet::XSpreadsheet> ActiveSheetOf(const Document& document);

// The cell cursor of the document's view (0-based); A1 without a view.
CellPosition ActiveCellOf(const Document& document);
// Selects the cell alone: it becomes the cursor and the whole selection.
void SelectCell(const Document& document, CellPosition cell);

// What the program does to Excel's window before a paste (brings it forward and ends a cell
// edit with Escape), done to the document's window: it comes to the front when shown, and an
// edit in progress is cancelled, which would otherwise overwrite the pasted cell when it ends.
void PrepareForPaste(Office& office, const Document& document);

Reference<css::table::XCell> CellAt(const Reference<css::sheet::XSpreadsheet>& sheet,
                                    CellPosition cell);

// The cell's box in points: left, top, width, height.
struct CellBox {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};
CellBox BoxOf(const Reference<css::table::XCell>& cell);

// A column's width in 1/100 mm.
std::int32_t ColumnWidthOf(const Reference<css::sheet::XSpreadsheet>& sheet, std::int32_t column);

}  // namespace harumado::calc
