// Range objects: a cell, a block given by its address, a column, the rows of a sheet, the cell
// an End call finds, the active cell and the cell at an offset from it, and a selected range.
// Each answers the members the program uses on a range of its kind.
#include <limits>

#include "automation/excel_members.h"
#include "automation/model/model_objects.h"
#include "automation/model/model_support.h"
#include "runtime/automation_error.h"

namespace harumado::automation::model {
namespace {

using platform::CellProperty;

std::optional<CellProperty> CellPropertyNamed(std::wstring_view name) {
  static constexpr std::pair<std::wstring_view, CellProperty> kProperties[] = {
      {L"Value", CellProperty::kValue},
      {L"Text", CellProperty::kText},
      {L"NumberFormatLocal", CellProperty::kNumberFormatLocal},
      {L"Formula", CellProperty::kFormula}};
  for (const auto& [property_name, property] : kProperties) {
    if (SameName(name, property_name)) return property;
  }
  return std::nullopt;
}

class RangeModel : public ModelObject {
 public:
  std::wstring_view type_name() const override { return excel::interface_name::kRange; }
};

class EndModel final : public RangeModel {
 public:
  EndModel(SheetRef sheet, std::int32_t row, std::int32_t column)
      : sheet_(std::move(sheet)), row_(row), column_(column) {}

  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"Row") && IsRead(kind, args)) {
      return rt::Value::Number(sheet_->EndUpRow(row_, column_));
    }
    NotSupported();
  }

 private:
  SheetRef sheet_;
  std::int32_t row_;
  std::int32_t column_;
};

class CellModel final : public RangeModel {
 public:
  CellModel(SheetRef sheet, std::int32_t row, std::int32_t column)
      : sheet_(std::move(sheet)), row_(row), column_(column) {}

  // End goes up only (xlUp); the other directions are not offered.
  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (const auto property = CellPropertyNamed(name)) {
      if (IsRead(kind, args)) return sheet_->GetCell(row_, column_, *property);
      if (IsWrite(kind, args)) {
        sheet_->SetCell(row_, column_, *property, ValueArgument(args, 0));
        return {};
      }
    }
    if (SameName(name, L"Row") && IsRead(kind, args)) return rt::Value::Number(row_);
    if (SameName(name, L"Column") && IsRead(kind, args)) return rt::Value::Number(column_);
    if (SameName(name, L"Count") && IsRead(kind, args)) return rt::Value::Number(1);
    if (SameName(name, L"End") && kind == CallKind::kGet) {
      RequireCount(args, 1);
      if (LongArgument(args, 0) != excel::kXlUp) {
        throw rt::AutomationError(rt::err::kApplicationDefined);
      }
      return ModelRef(std::make_shared<EndModel>(sheet_, row_, column_));
    }
    NotSupported();
  }

 private:
  SheetRef sheet_;
  std::int32_t row_;
  std::int32_t column_;
};

// A block of several cells. Values and formulas read as an array of the block's shape; text and
// local format read as the one value every cell shares, or as Null when they differ. Writes take
// an array of the block's shape or one value for all cells.
class BlockModel final : public RangeModel {
 public:
  BlockModel(SheetRef sheet, Block block) : sheet_(std::move(sheet)), block_(block) {}

  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (const auto property = CellPropertyNamed(name); property && IsWrite(kind, args)) {
      Write(*property, args[0]);
      return {};
    }
    if (const auto property = CellPropertyNamed(name); property && IsRead(kind, args)) {
      Array cells = Read(*property);
      if (*property == CellProperty::kValue || *property == CellProperty::kFormula) return cells;
      for (const rt::Value& v : cells.items) {
        if (v != cells.items.front()) return Variant::Null();
      }
      return cells.items.front();
    }
    if (SameName(name, L"Row") && IsRead(kind, args)) return rt::Value::Number(block_.first_row);
    if (SameName(name, L"Column") && IsRead(kind, args)) {
      return rt::Value::Number(block_.first_column);
    }
    if (SameName(name, L"Count") && IsRead(kind, args)) {
      return rt::Value::Number(static_cast<double>(rows()) * columns());
    }
    NotSupported();
  }

 private:
  std::int32_t rows() const { return block_.last_row - block_.first_row + 1; }
  std::int32_t columns() const { return block_.last_column - block_.first_column + 1; }

  // Column by column, each in one call.
  Array Read(CellProperty property) {
    Array cells;
    cells.dimensions = 2;
    cells.rows = rows();
    cells.columns = columns();
    cells.items.resize(static_cast<std::size_t>(cells.rows) * cells.columns);
    for (std::int32_t c = 0; c < cells.columns; ++c) {
      const auto column = sheet_->GetColumnCells(block_.first_column + c, block_.first_row,
                                                 block_.last_row, property);
      if (column.size() != static_cast<std::size_t>(cells.rows)) {
        throw rt::AutomationError(rt::err::kApplicationDefined);
      }
      for (std::int32_t r = 0; r < cells.rows; ++r) {
        cells.items[static_cast<std::size_t>(r) * cells.columns + c] = column[r];
      }
    }
    return cells;
  }

  // An array of the block's shape writes each cell its own value, column by column in one call
  // each; a single value goes into every cell (the empty text empties them). An array of another
  // shape is a type mismatch.
  void Write(CellProperty property, const Variant& given) {
    if (given.is_array()) {
      const Array& array = given.array();
      const bool shaped = array.rows == rows() &&
                          (array.columns == columns() || (array.dimensions == 1 && columns() == 1));
      if (!shaped || array.items.size() != static_cast<std::size_t>(rows()) * columns()) {
        throw rt::AutomationError(rt::err::kTypeMismatch);
      }
      std::vector<rt::Value> column(static_cast<std::size_t>(rows()));
      for (std::int32_t c = 0; c < columns(); ++c) {
        for (std::int32_t r = 0; r < rows(); ++r)
          column[r] = array.at(r, array.columns == 1 ? 0 : c);
        sheet_->SetColumnCells(block_.first_column + c, block_.first_row, property, column);
      }
      return;
    }
    const rt::Value& value = given.value();
    const bool empties = (property == CellProperty::kValue || property == CellProperty::kFormula) &&
                         (value.is_empty() || (value.is_text() && value.text().empty()));
    const std::vector<rt::Value> same(static_cast<std::size_t>(rows()), value);
    for (std::int32_t c = 0; c < columns(); ++c) {
      if (empties) {
        sheet_->EmptyColumnCells(block_.first_column + c, block_.first_row, block_.last_row);
      } else {
        sheet_->SetColumnCells(block_.first_column + c, block_.first_row, property, same);
      }
    }
  }

  SheetRef sheet_;
  Block block_;
};

class CellsModel final : public RangeModel {
 public:
  explicit CellsModel(SheetRef sheet) : sheet_(std::move(sheet)) {}

  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"Item") && kind == CallKind::kGet) {
      RequireCount(args, 2);
      return ServeCell(sheet_, LongArgument(args, 0), LongArgument(args, 1));
    }
    NotSupported();
  }

 private:
  SheetRef sheet_;
};

class ColumnModel final : public RangeModel {
 public:
  ColumnModel(SheetRef sheet, std::int32_t column) : sheet_(std::move(sheet)), column_(column) {}

  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"ColumnWidth") && IsWrite(kind, args)) {
      sheet_->SetColumnWidth(column_, NumberArgument(args, 0));
      return {};
    }
    if (SameName(name, L"AutoFit") && IsMethod(kind)) {
      sheet_->AutoFitColumn(column_);
      return {};
    }
    if (SameName(name, L"Column") && IsRead(kind, args)) return rt::Value::Number(column_);
    NotSupported();
  }

 private:
  SheetRef sheet_;
  std::int32_t column_;
};

class RowsModel final : public RangeModel {
 public:
  explicit RowsModel(SheetRef sheet) : sheet_(std::move(sheet)) {}

  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"Count") && IsRead(kind, args)) {
      return rt::Value::Number(sheet_->RowCount());
    }
    NotSupported();
  }

 private:
  SheetRef sheet_;
};

class OffsetModel final : public RangeModel {
 public:
  OffsetModel(ApplicationRef application, std::int16_t rows, rt::Value columns)
      : app_(std::move(application)), rows_(rows), columns_(std::move(columns)) {}

  Variant Handle(std::wstring_view name, CallKind kind, Arguments) override {
    if (SameName(name, L"Select") && IsMethod(kind)) {
      app_->SelectOffset(rows_, columns_);
      return {};
    }
    NotSupported();
  }

 private:
  ApplicationRef app_;
  std::int16_t rows_;
  rt::Value columns_;
};

class ActiveCellModel final : public RangeModel {
 public:
  explicit ActiveCellModel(ApplicationRef application) : app_(std::move(application)) {}

  // Offset(RowOffset, ColumnOffset): the row offset is an Integer; the column offset goes on
  // as it was given (a text that reads as a number serves).
  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    using platform::ActiveCellProperty;
    static constexpr std::pair<std::wstring_view, ActiveCellProperty> kProperties[] = {
        {L"Row", ActiveCellProperty::kRow},     {L"Column", ActiveCellProperty::kColumn},
        {L"Left", ActiveCellProperty::kLeft},   {L"Top", ActiveCellProperty::kTop},
        {L"Width", ActiveCellProperty::kWidth}, {L"Height", ActiveCellProperty::kHeight}};
    for (const auto& [property_name, property] : kProperties) {
      if (SameName(name, property_name) && IsRead(kind, args)) {
        return rt::Value::Number(app_->GetActiveCell(property));
      }
    }
    if (SameName(name, L"Offset") && kind == CallKind::kGet) {
      if (args.size() > 2) RequireCount(args, 2);
      const std::int32_t rows = args.empty() ? 0 : LongArgument(args, 0);
      if (rows < std::numeric_limits<std::int16_t>::min() ||
          rows > std::numeric_limits<std::int16_t>::max()) {
        throw rt::AutomationError(rt::err::kOverflow);
      }
      rt::Value columns = args.size() > 1 ? ValueArgument(args, 1) : rt::Value();
      return ModelRef(
          std::make_shared<OffsetModel>(app_, static_cast<std::int16_t>(rows), std::move(columns)));
    }
    NotSupported();
  }

 private:
  ApplicationRef app_;
};

class SelectionModel final : public RangeModel {
 public:
  explicit SelectionModel(std::shared_ptr<platform::ExcelRange> range) : range_(std::move(range)) {}

  Variant Handle(std::wstring_view name, CallKind kind, Arguments) override {
    if (SameName(name, L"Select") && IsMethod(kind)) {
      range_->Select();
      return {};
    }
    NotSupported();
  }

 private:
  std::shared_ptr<platform::ExcelRange> range_;
};

}  // namespace

ModelRef ServeCell(SheetRef sheet, std::int32_t row, std::int32_t column) {
  return std::make_shared<CellModel>(std::move(sheet), row, column);
}

ModelRef ServeCells(SheetRef sheet) { return std::make_shared<CellsModel>(std::move(sheet)); }

// A one-cell address is a cell; an address Excel cannot read fails with 1004.
ModelRef ServeRangeAddress(SheetRef sheet, std::wstring_view address) {
  const auto block = ParseAddress(address);
  if (!block) throw rt::AutomationError(rt::err::kApplicationDefined);
  if (block->first_row == block->last_row && block->first_column == block->last_column) {
    return ServeCell(std::move(sheet), block->first_row, block->first_column);
  }
  return std::make_shared<BlockModel>(std::move(sheet), *block);
}

ModelRef ServeColumn(SheetRef sheet, std::int32_t column) {
  return std::make_shared<ColumnModel>(std::move(sheet), column);
}

ModelRef ServeRows(SheetRef sheet) { return std::make_shared<RowsModel>(std::move(sheet)); }

ModelRef ServeActiveCell(ApplicationRef application) {
  return std::make_shared<ActiveCellModel>(std::move(application));
}

ModelRef ServeSelection(std::shared_ptr<platform::ExcelRange> range) {
  return std::make_shared<SelectionModel>(std::move(range));
}

}  // namespace harumado::automation::model
