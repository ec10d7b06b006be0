// Excel's active worksheet as the host's sheet. Cells, shapes and columns are reached the way a
// script reaches them: Cells(row, column), Shapes(index) and Columns(column) pass their
// arguments to the collection's default member in the same call.
#include <string>

#include "automation/excel_members.h"
#include "automation/late_bound_objects.h"
#include "runtime/automation_error.h"

namespace harumado::automation {
namespace {

namespace sheet = excel::worksheet;
namespace range = excel::range;

constexpr std::int32_t kColumns = 16384;
// Blocks of mixed texts or formats this short are read cell by cell.
constexpr std::int32_t kCellByCell = 4;

const Member& CellMember(platform::CellProperty property) {
  switch (property) {
    case platform::CellProperty::kValue:
      return range::kValue;
    case platform::CellProperty::kText:
      return range::kText;
    case platform::CellProperty::kNumberFormatLocal:
      return range::kNumberFormatLocal;
    case platform::CellProperty::kFormula:
      break;
  }
  return range::kFormula;
}

const Member& ShapeMember(platform::ShapeProperty property) {
  switch (property) {
    case platform::ShapeProperty::kLockAspectRatio:
      return excel::shape::kLockAspectRatio;
    case platform::ShapeProperty::kPlacement:
      return excel::shape::kPlacement;
    case platform::ShapeProperty::kLeft:
      return excel::shape::kLeft;
    case platform::ShapeProperty::kTop:
      return excel::shape::kTop;
    case platform::ShapeProperty::kWidth:
      return excel::shape::kWidth;
    case platform::ShapeProperty::kHeight:
      break;
  }
  return excel::shape::kHeight;
}

rt::Value Long(std::int32_t n) { return rt::Value::Number(n); }

class LateBoundSheet final : public platform::ExcelSheet {
 public:
  explicit LateBoundSheet(ObjectRef worksheet) : sheet_(std::move(worksheet)) {}

  void Paste() override { sheet_->Call(sheet::kPaste); }

  void PastePicture() override {
    sheet_->GetObject(sheet::kPictures)->Call(excel::pictures::kPaste);
  }

  int ShapeCount() override {
    return LongOf(sheet_->GetObject(sheet::kShapes)->Get(excel::shapes::kCount));
  }

  void SetShapeProperty(int index, platform::ShapeProperty property, double value) override {
    sheet_->GetObject(sheet::kShapes, {Long(index)})
        ->Put(ShapeMember(property), rt::Value::Number(value));
  }

  rt::Value GetCell(std::int32_t row, std::int32_t column,
                    platform::CellProperty property) override {
    return Cell(row, column)->Get(CellMember(property)).value();
  }

  void SetCell(std::int32_t row, std::int32_t column, platform::CellProperty property,
               const rt::Value& value) override {
    Cell(row, column)->Put(CellMember(property), value);
  }

  // One call for the whole block: values and formulas come as an array of one column. Text and
  // local format come as the one value every cell shares, or as Null when they differ; a block
  // with Null is then read in halves, so that runs of cells with the same format cost a few
  // calls each, and a short block cell by cell.
  std::vector<rt::Value> GetColumnCells(std::int32_t column, std::int32_t first_row,
                                        std::int32_t last_row,
                                        platform::CellProperty property) override {
    if (first_row > last_row || column < 1 || column > kColumns) {
      throw rt::AutomationError(rt::err::kApplicationDefined);
    }
    std::vector<rt::Value> values;
    values.reserve(static_cast<std::size_t>(last_row) - first_row + 1);
    ReadBlock(column, first_row, last_row, CellMember(property), values);
    return values;
  }

  void EmptyColumnCells(std::int32_t column, std::int32_t first_row,
                        std::int32_t last_row) override {
    Block(column, first_row, last_row)->Put(range::kValue, rt::Value::Text(L""));
  }

  // The values go as an array of one column, one row per value; a single cell takes its value.
  void SetColumnCells(std::int32_t column, std::int32_t first_row, platform::CellProperty property,
                      std::span<const rt::Value> values) override {
    if (values.empty()) throw rt::AutomationError(rt::err::kApplicationDefined);
    if (values.size() == 1) {
      SetCell(first_row, column, property, values.front());
      return;
    }
    Array array;
    array.dimensions = 2;
    array.rows = static_cast<std::int32_t>(values.size());
    array.columns = 1;
    array.items.assign(values.begin(), values.end());
    Block(column, first_row, first_row + array.rows - 1)->Put(CellMember(property), array);
  }

  std::int32_t RowCount() override {
    return LongOf(sheet_->GetObject(sheet::kRows)->Get(range::kCount));
  }

  std::int32_t EndUpRow(std::int32_t row, std::int32_t column) override {
    const ObjectRef end = Cell(row, column)->GetObject(range::kEnd, {Long(excel::kXlUp)});
    return LongOf(end->Get(range::kRow));
  }

  void SetColumnWidth(std::int32_t column, double width) override {
    sheet_->GetObject(sheet::kColumns, {Long(column)})
        ->Put(range::kColumnWidth, rt::Value::Number(width));
  }

  void AutoFitColumn(std::int32_t column) override {
    sheet_->GetObject(sheet::kColumns, {Long(column)})->Call(range::kAutoFit);
  }

 private:
  void ReadBlock(std::int32_t column, std::int32_t first_row, std::int32_t last_row,
                 const Member& property, std::vector<rt::Value>& values) {
    const std::int32_t count = last_row - first_row + 1;
    const Variant result = Block(column, first_row, last_row)->Get(property);
    if (result.is_array()) {
      const Array& array = result.array();
      if (array.rows != count || array.columns < 1) {
        throw rt::AutomationError(rt::err::kTypeMismatch);
      }
      for (std::int32_t r = 0; r < array.rows; ++r) values.push_back(array.at(r, 0));
      return;
    }
    if (!result.is_null()) {
      values.insert(values.end(), static_cast<std::size_t>(count), result.value());
      return;
    }
    if (count <= kCellByCell) {
      for (std::int32_t row = first_row; row <= last_row; ++row) {
        values.push_back(Cell(row, column)->Get(property).value());
      }
      return;
    }
    const std::int32_t middle = first_row + (count - 1) / 2;
    ReadBlock(column, first_row, middle, property, values);
    ReadBlock(column, middle + 1, last_row, property, values);
  }

  // Range("A1:A10"): the cells of one column from first_row to last_row.
  ObjectRef Block(std::int32_t column, std::int32_t first_row, std::int32_t last_row) {
    if (first_row > last_row || column < 1 || column > kColumns) {
      throw rt::AutomationError(rt::err::kApplicationDefined);
    }
    return sheet_->GetObject(sheet::kRange,
                             {rt::Value::Text(ColumnBlockAddress(column, first_row, last_row))});
  }

  ObjectRef Cell(std::int32_t row, std::int32_t column) {
    return sheet_->GetObject(sheet::kCells, {Long(row), Long(column)});
  }

  ObjectRef sheet_;
};

std::wstring ColumnLetters(std::int32_t column) {
  std::wstring letters;
  for (std::int32_t n = column; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<wchar_t>(L'A' + (n - 1) % 26));
  }
  return letters;
}

}  // namespace

std::unique_ptr<platform::ExcelSheet> MakeLateBoundSheet(ObjectRef worksheet) {
  return std::make_unique<LateBoundSheet>(std::move(worksheet));
}

std::wstring ColumnBlockAddress(std::int32_t column, std::int32_t first_row,
                                std::int32_t last_row) {
  const std::wstring letters = ColumnLetters(column);
  std::wstring address = letters + std::to_wstring(first_row);
  if (last_row != first_row) address += L":" + letters + std::to_wstring(last_row);
  return address;
}

}  // namespace harumado::automation
