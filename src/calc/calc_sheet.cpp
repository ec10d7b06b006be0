// A worksheet: the active sheet of a Calc document, with Excel's paste done by the host.
#include <algorithm>
#include <cmath>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/lang/IndexOutOfBoundsException.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangeFormula.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSheetOperation.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <utility>
#include <vector>

#include "calc/block_entry.h"
#include "calc/calc_objects.h"
#include "calc/calc_shapes.h"
#include "calc/cell_access.h"
#include "runtime/column_width.h"
#include "runtime/paste_block.h"

namespace harumado::calc {
namespace {

constexpr double kMaxColumnWidth = 255;

class CalcSheet final : public platform::ExcelSheet {
 public:
  CalcSheet(OfficeRef office, Document document)
      : office_(std::move(office)),
        document_(std::move(document)),
        sheet_(ActiveSheetOf(document_)),
        formats_(document_),
        shapes_(office_, document_, sheet_) {}

  // The clipboard text fills the block at the active cell as Excel pastes text: fields at
  // tabs, rows at line ends, each field read as typed input; the block is selected and the
  // active cell stays its top-left cell. No text on the clipboard: 1004.
  void Paste() override {
    const auto text = office_->clipboard->Text();
    if (!text) Refuse();
    const auto block = rt::SplitPasteBlock(*text);
    std::size_t width = 0;
    for (const auto& row : block) width = std::max(width, row.size());
    const CellPosition first = ActiveCellOf(document_);
    const CellPosition last{first.column + static_cast<std::int32_t>(width) - 1,
                            first.row + static_cast<std::int32_t>(block.size()) - 1};
    if (last.column >= kSheetColumns || last.row >= kSheetRows) Refuse();
    EnterBlock(sheet_, first, block, formats_);
    SelectBlock(first, last);
  }

  void PastePicture() override {
    const auto bytes = office_->clipboard->Picture();
    if (!bytes || bytes->empty()) Refuse();
    shapes_.PastePicture(*bytes, ActiveCellOf(document_));
  }

  int ShapeCount() override { return shapes_.Count(); }

  void SetShapeProperty(int index, platform::ShapeProperty property, double value) override {
    shapes_.Set(index, property, value);
  }

  rt::Value GetCell(std::int32_t row, std::int32_t column,
                    platform::CellProperty property) override {
    return ReadCell(Ref(PositionOf(row, column)), property, formats_);
  }

  void SetCell(std::int32_t row, std::int32_t column, platform::CellProperty property,
               const rt::Value& value) override {
    WriteCell(Ref(PositionOf(row, column)), property, value, formats_);
  }

  // Values and formulas in two calls each (values with a query for the dates among them, a
  // logical reads as its number here; formulas with the contents, for the texts).
  std::vector<rt::Value> GetColumnCells(std::int32_t column, std::int32_t first_row,
                                        std::int32_t last_row,
                                        platform::CellProperty property) override {
    const auto range = ColumnRange(column, first_row, last_row);
    std::vector<rt::Value> values;
    if (property == platform::CellProperty::kFormula) {
      Uno([&] {
        Reference<css::sheet::XCellRangeFormula> formulas(range, css::uno::UNO_QUERY_THROW);
        Reference<css::sheet::XCellRangeData> data(range, css::uno::UNO_QUERY_THROW);
        const auto texts = formulas->getFormulaArray();
        const auto contents = data->getDataArray();
        for (sal_Int32 i = 0; i < texts.getLength(); ++i) {
          // Calc writes a text that it would read as a number with an apostrophe before it;
          // Excel's Formula of a text is the text.
          rtl::OUString formula = texts[i][0];
          rtl::OUString text;
          if (formula.startsWith("'") && (contents[i][0] >>= text) && text == formula.copy(1)) {
            formula = text;
          }
          values.push_back(rt::Value::Text(FromOU(formula)));
        }
      });
      return values;
    }
    if (property == platform::CellProperty::kValue) {
      Uno([&] {
        Reference<css::sheet::XCellRangeData> data(range, css::uno::UNO_QUERY_THROW);
        const auto rows = data->getDataArray();
        // The numbers that are dates, in one query: a date is a number under a date format.
        std::vector<bool> dates(static_cast<std::size_t>(rows.getLength()), false);
        Reference<css::sheet::XCellRangesQuery> query(range, css::uno::UNO_QUERY_THROW);
        for (const auto& run :
             query->queryContentCells(css::sheet::CellFlags::DATETIME)->getRangeAddresses()) {
          for (sal_Int32 r = run.StartRow; r <= run.EndRow; ++r) {
            dates[static_cast<std::size_t>(r - (first_row - 1))] = true;
          }
        }
        for (sal_Int32 i = 0; i < rows.getLength(); ++i) {
          const css::uno::Any& item = rows[i][0];
          rtl::OUString text;
          double number = 0;
          if (item >>= number) {
            values.push_back(dates[static_cast<std::size_t>(i)] ? rt::Value::FromDate(number)
                                                                : rt::Value::Number(number));
          } else if ((item >>= text) && !text.isEmpty()) {
            values.push_back(rt::Value::Text(FromOU(text)));
          } else {
            // Calc keeps no empty text: an empty string is an empty cell.
            values.emplace_back();
          }
        }
      });
      return values;
    }
    for (std::int32_t row = first_row; row <= last_row; ++row) {
      values.push_back(GetCell(row, column, property));
    }
    return values;
  }

  void EmptyColumnCells(std::int32_t column, std::int32_t first_row,
                        std::int32_t last_row) override {
    const auto range = ColumnRange(column, first_row, last_row);
    Uno([&] {
      Reference<css::sheet::XSheetOperation> operation(range, css::uno::UNO_QUERY_THROW);
      namespace flags = css::sheet::CellFlags;
      operation->clearContents(flags::VALUE | flags::DATETIME | flags::STRING | flags::FORMULA);
    });
  }

  // Formulas and texts go through the cell by cell rules; a run of plain numbers is one call.
  void SetColumnCells(std::int32_t column, std::int32_t first_row, platform::CellProperty property,
                      std::span<const rt::Value> values) override {
    if (values.empty()) Refuse();
    const auto last_row = first_row + static_cast<std::int32_t>(values.size()) - 1;
    const auto range = ColumnRange(column, first_row, last_row);
    const bool numbers =
        std::all_of(values.begin(), values.end(), [](const rt::Value& v) { return v.is_number(); });
    if (property == platform::CellProperty::kValue && numbers) {
      Uno([&] {
        css::uno::Sequence<css::uno::Sequence<css::uno::Any>> rows(
            static_cast<sal_Int32>(values.size()));
        auto* row = rows.getArray();
        for (std::size_t i = 0; i < values.size(); ++i) {
          row[i] = SequenceOf({css::uno::Any(values[i].number())});
        }
        Reference<css::sheet::XCellRangeData> data(range, css::uno::UNO_QUERY_THROW);
        data->setDataArray(rows);
      });
      return;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
      SetCell(first_row + static_cast<std::int32_t>(i), column, property, values[i]);
    }
  }

  std::int32_t RowCount() override { return kSheetRows; }

  // Ctrl+Up: inside a run of filled cells, to the top of the run; otherwise to the next filled
  // cell above; row 1 when there is none. The filled cells above come in one query.
  std::int32_t EndUpRow(std::int32_t row, std::int32_t column) override {
    PositionOf(row, column);
    if (row <= 1) return 1;
    const auto runs = FilledRuns(column, row);
    auto filled = [&](std::int32_t r) {
      return std::any_of(runs.begin(), runs.end(),
                         [&](const auto& run) { return run.first <= r && r <= run.second; });
    };
    if (filled(row) && filled(row - 1)) {
      for (const auto& run : runs) {
        if (run.first <= row && row <= run.second) return run.first;
      }
    }
    std::int32_t above = 1;
    for (const auto& run : runs) {
      if (run.first < row) above = std::max(above, std::min(run.second, row - 1));
    }
    return above;
  }

  void SetColumnWidth(std::int32_t column, double width) override {
    PositionOf(1, column);
    if (!(width >= 0 && width <= kMaxColumnWidth)) Refuse();
    Uno([&] {
      Column(column)->setPropertyValue("Width",
                                       css::uno::Any(HundredthMmOf(rt::ColumnPoints(width))));
    });
  }

  // Calc fits the column to its widest display by its own measure of the font.
  void AutoFitColumn(std::int32_t column) override {
    PositionOf(1, column);
    Uno([&] { Column(column)->setPropertyValue("OptimalWidth", css::uno::Any(true)); });
  }

 private:
  static CellPosition PositionOf(std::int32_t row, std::int32_t column) {
    if (row < 1 || row > kSheetRows || column < 1 || column > kSheetColumns) Refuse();
    return CellPosition{column - 1, row - 1};
  }

  CellRef Ref(CellPosition at) { return CellRef{sheet_, at, CellAt(sheet_, at)}; }

  Reference<css::table::XCellRange> ColumnRange(std::int32_t column, std::int32_t first_row,
                                                std::int32_t last_row) {
    const CellPosition first = PositionOf(first_row, column);
    const CellPosition last = PositionOf(last_row, column);
    if (first.row > last.row) Refuse();
    return Uno([&] {
      return sheet_->getCellRangeByPosition(first.column, first.row, last.column, last.row);
    });
  }

  Reference<css::beans::XPropertySet> Column(std::int32_t column) {
    Reference<css::table::XColumnRowRange> range(sheet_, css::uno::UNO_QUERY_THROW);
    return Reference<css::beans::XPropertySet>(range->getColumns()->getByIndex(column - 1),
                                               css::uno::UNO_QUERY_THROW);
  }

  // The runs of filled cells of the column from row 1 to row (1-based, first and last row).
  std::vector<std::pair<std::int32_t, std::int32_t>> FilledRuns(std::int32_t column,
                                                                std::int32_t row) {
    const auto range = ColumnRange(column, 1, row);
    std::vector<std::pair<std::int32_t, std::int32_t>> runs;
    Uno([&] {
      Reference<css::sheet::XCellRangesQuery> query(range, css::uno::UNO_QUERY_THROW);
      namespace flags = css::sheet::CellFlags;
      const auto cells =
          query->queryContentCells(flags::VALUE | flags::DATETIME | flags::STRING | flags::FORMULA);
      for (const auto& address : cells->getRangeAddresses()) {
        runs.emplace_back(address.StartRow + 1, address.EndRow + 1);
      }
    });
    std::sort(runs.begin(), runs.end());
    std::vector<std::pair<std::int32_t, std::int32_t>> merged;
    for (const auto& run : runs) {
      if (!merged.empty() && run.first <= merged.back().second + 1) {
        merged.back().second = std::max(merged.back().second, run.second);
      } else {
        merged.push_back(run);
      }
    }
    return merged;
  }

  void SelectBlock(CellPosition first, CellPosition last) {
    Uno([&] {
      Reference<css::frame::XModel> model(document_, css::uno::UNO_QUERY_THROW);
      Reference<css::view::XSelectionSupplier> view(model->getCurrentController(),
                                                    css::uno::UNO_QUERY);
      if (!view.is()) return;
      if (first == last) {
        view->select(css::uno::Any(CellAt(sheet_, first)));
        return;
      }
      // The cursor goes to the top-left cell first; selecting the block then keeps it there.
      view->select(css::uno::Any(CellAt(sheet_, first)));
      view->select(css::uno::Any(
          sheet_->getCellRangeByPosition(first.column, first.row, last.column, last.row)));
    });
  }

  OfficeRef office_;
  Document document_;
  Reference<css::sheet::XSpreadsheet> sheet_;
  CellFormats formats_;
  CalcShapes shapes_;
};

}  // namespace

std::unique_ptr<platform::ExcelSheet> MakeCalcSheet(OfficeRef office, Document document) {
  return std::make_unique<CalcSheet>(std::move(office), std::move(document));
}

}  // namespace harumado::calc
