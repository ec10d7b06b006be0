#pragma once
// The spreadsheet host: Excel's automation object model, reduced to the operations the program
// uses. Every operation may throw rt::AutomationError with the automation error number.
//
// Lifetime: objects returned by unique_ptr are acquired for one operation of the program and
// released (destroyed) before it ends. The application reached through Excel's Global object
// (GlobalApplication) is the one object that lives for the whole program run.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/types.h"
#include "runtime/value.h"

namespace harumado::platform {

// Properties of a cell (Range) that the program reads or writes.
enum class CellProperty { kValue, kText, kNumberFormatLocal, kFormula };
// Geometry and position of the active cell; row and column are 1-based, the rest in points.
enum class ActiveCellProperty { kRow, kColumn, kLeft, kTop, kWidth, kHeight };
// Writable properties of a shape.
enum class ShapeProperty { kLockAspectRatio, kPlacement, kLeft, kTop, kWidth, kHeight };

// Values of the shape properties Placement (XlPlacement) and LockAspectRatio (MsoTriState).
namespace placement {
inline constexpr int kMoveAndSize = 1;
inline constexpr int kMove = 2;
inline constexpr int kFreeFloating = 3;
}  // namespace placement
namespace mso {
inline constexpr int kTrue = -1;
inline constexpr int kFalse = 0;
}  // namespace mso

// Excel file formats used by SaveAs.
namespace file_format {
inline constexpr int kXlsx = 51;
inline constexpr int kXlsm = 52;
inline constexpr int kXlsb = 50;
inline constexpr int kXls = 56;
}  // namespace file_format

// xlClipboardFormatText.
inline constexpr int kClipboardFormatText = 0;

class ExcelWorkbook {
 public:
  virtual ~ExcelWorkbook() = default;
  virtual std::wstring Name() = 0;                                     // "Name"
  virtual void SaveAs(const std::wstring& path, int file_format) = 0;  // "SaveAs"
  virtual void Close(bool save_changes) = 0;                           // "Close"
};

// A range that can be selected again (ActiveWindow.RangeSelection).
class ExcelRange {
 public:
  virtual ~ExcelRange() = default;
  virtual void Select() = 0;  // "Select"
};

class ExcelSheet {
 public:
  virtual ~ExcelSheet() = default;
  virtual void Paste() = 0;         // ActiveSheet.Paste: "Paste"
  virtual void PastePicture() = 0;  // ActiveSheet.Pictures.Paste: "Pictures.Paste"
  virtual int ShapeCount() = 0;     // Shapes.Count: "Shapes"
  // Shapes(index).property = value (index 1-based): "Shapes"
  virtual void SetShapeProperty(int index, ShapeProperty property, double value) = 0;
  // Cells(row, column).property: "Cells"
  virtual rt::Value GetCell(std::int32_t row, std::int32_t column, CellProperty property) = 0;
  virtual void SetCell(std::int32_t row, std::int32_t column, CellProperty property,
                       const rt::Value& value) = 0;
  // Range(Cells(first_row, column), Cells(last_row, column)).property, read in one call: one
  // value per row, first_row first: "Cells"
  virtual std::vector<rt::Value> GetColumnCells(std::int32_t column, std::int32_t first_row,
                                                std::int32_t last_row, CellProperty property) = 0;
  // Range(Cells(first_row, column), Cells(last_row, column)).Value = "": every cell of the block
  // becomes empty, in one call: "EmptyCells". A host without block writes empties them one by
  // one.
  virtual void EmptyColumnCells(std::int32_t column, std::int32_t first_row,
                                std::int32_t last_row) {
    for (std::int32_t row = first_row; row <= last_row; ++row) {
      SetCell(row, column, CellProperty::kValue, rt::Value::Text(L""));
    }
  }
  // Range(Cells(first_row, column), Cells(first_row + n - 1, column)).property = an array of the
  // n values, first_row first, in one call: "WriteCells". Each value is taken as a write of that
  // cell's property would take it. A host without block writes writes the cells one by one.
  virtual void SetColumnCells(std::int32_t column, std::int32_t first_row, CellProperty property,
                              std::span<const rt::Value> values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
      SetCell(first_row + static_cast<std::int32_t>(i), column, property, values[i]);
    }
  }
  virtual std::int32_t RowCount() = 0;  // Rows.Count: "Rows"
  // Cells(row, column).End(xlUp).Row: "End"
  virtual std::int32_t EndUpRow(std::int32_t row, std::int32_t column) = 0;
  virtual void SetColumnWidth(std::int32_t column, double width) = 0;  // "Columns"
  virtual void AutoFitColumn(std::int32_t column) = 0;                 // "AutoFit"
};

class ExcelApplication {
 public:
  virtual ~ExcelApplication() = default;
  virtual void SetVisible(bool visible) = 0;        // "Visible"
  virtual void SetDisplayAlerts(bool display) = 0;  // "DisplayAlerts"
  virtual std::unique_ptr<ExcelWorkbook> OpenWorkbook(
      const std::wstring& path) = 0;                         // "Workbooks.Open"
  virtual std::unique_ptr<ExcelWorkbook> AddWorkbook() = 0;  // "Workbooks.Add"
  virtual void Quit() = 0;                                   // "Quit"
  virtual WindowHandle Hwnd() = 0;                           // "Hwnd"
  virtual std::vector<int> ClipboardFormats() = 0;           // "ClipboardFormats"
  // The active sheet, or nullptr when no workbook is open: "ActiveSheet"
  virtual std::unique_ptr<ExcelSheet> ActiveSheet() = 0;
  virtual double GetActiveCell(ActiveCellProperty property) = 0;  // "ActiveCell"
  // ActiveCell.Offset(rows, columns).Select; the column offset may be a number or a text that
  // Excel reads as a number: "Offset"
  virtual void SelectOffset(std::int16_t rows, const rt::Value& columns) = 0;
  // ActiveWindow.RangeSelection, or nullptr when there is no active window: "ActiveWindow"
  virtual std::unique_ptr<ExcelRange> RangeSelection() = 0;
};

class SpreadsheetHost {
 public:
  virtual ~SpreadsheetHost() = default;
  // GetObject(, "Excel.Application"): the running instance; 429 when none runs.
  virtual std::unique_ptr<ExcelApplication> GetActiveObject() = 0;  // "GetActiveObject"
  // CreateObject("Excel.Application"): a new, hidden instance.
  virtual std::unique_ptr<ExcelApplication> CreateObject() = 0;  // "CreateObject"
  // The application reached through Excel's Global object, created on first use and kept.
  virtual ExcelApplication& GlobalApplication() = 0;
  // Whether SaveAs can write the file format. Excel writes all of them; a host over another
  // spreadsheet may not (LibreOffice Calc reads xlsb but cannot write it).
  virtual bool CanSaveFileFormat(int file_format) {
    (void)file_format;
    return true;
  }
  // How a busy Excel is reported: a rejected call is retried for timeout_ms, then fails with
  // 0x80010001; no busy dialog is ever shown.
  virtual void SetBusyPolicy(int timeout_ms) = 0;
};

}  // namespace harumado::platform
