// A worksheet: the active sheet of a Calc document, with Excel's paste done by the host.
#include <algorithm>
#include <cmath>
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/graphic/GraphicProvider.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/graphic/XGraphicProvider.hpp>
#include <com/sun/star/io/SequenceInputStream.hpp>
#include <com/sun/star/io/XInputStream.hpp>
#include <com/sun/star/lang/IndexOutOfBoundsException.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
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

#include "calc/calc_objects.h"
#include "calc/cell_access.h"
#include "runtime/column_width.h"
#include "runtime/paste_block.h"

namespace harumado::calc {
namespace {

constexpr double kMaxColumnWidth = 255;
// A picture without a size of its own is taken at 96 pixels per inch, as Excel pastes a bitmap.
constexpr double kPointsPerPixel = 0.75;

class CalcSheet final : public platform::ExcelSheet {
 public:
  CalcSheet(OfficeRef office, Document document)
      : office_(std::move(office)),
        document_(std::move(document)),
        sheet_(ActiveSheetOf(document_)),
        formats_(document_) {}

  // The clipboard text fills the block at the active cell as Excel pastes text: fields at
  // tabs, rows at line ends, each field read as typed input; the block is selected and the
  // active cell stays its top-left cell. No text on the clipboard: 1004.
  void Paste() override {
    const auto text = office_->clipboard->Text();
    if (!text) Refuse();
    PrepareForPaste(*office_, document_);
    const auto block = rt::SplitPasteBlock(*text);
    std::size_t width = 0;
    for (const auto& row : block) width = std::max(width, row.size());
    const CellPosition first = ActiveCellOf(document_);
    const CellPosition last{first.column + static_cast<std::int32_t>(width) - 1,
                            first.row + static_cast<std::int32_t>(block.size()) - 1};
    if (last.column >= kSheetColumns || last.row >= kSheetRows) Refuse();
    for (std::size_t r = 0; r < block.size(); ++r) {
      for (std::size_t c = 0; c < block[r].size(); ++c) {
        const CellPosition at{first.column + static_cast<std::int32_t>(c),
                              first.row + static_cast<std::int32_t>(r)};
        EnterText(Ref(at), block[r][c], formats_);
      }
    }
    SelectBlock(first, last);
  }

  // The clipboard picture at the active cell's top-left, at its own size, anchored to the cell
  // and moving with it (Excel's placement 2). No picture on the clipboard: 1004.
  void PastePicture() override {
    const auto bytes = office_->clipboard->Picture();
    if (!bytes || bytes->empty()) Refuse();
    PrepareForPaste(*office_, document_);
    const CellPosition at = ActiveCellOf(document_);
    const auto cell = CellAt(sheet_, at);
    Uno([&] {
      const auto graphic = GraphicOf(*bytes);
      Reference<css::lang::XMultiServiceFactory> factory(document_, css::uno::UNO_QUERY_THROW);
      Reference<css::drawing::XShape> shape(
          factory->createInstance("com.sun.star.drawing.GraphicObjectShape"),
          css::uno::UNO_QUERY_THROW);
      DrawPage()->add(shape);
      Reference<css::beans::XPropertySet> properties(shape, css::uno::UNO_QUERY_THROW);
      properties->setPropertyValue("Graphic", css::uno::Any(graphic));
      Reference<css::beans::XPropertySet> cell_properties(cell, css::uno::UNO_QUERY_THROW);
      css::awt::Point position;
      cell_properties->getPropertyValue("Position") >>= position;
      shape->setPosition(position);
      shape->setSize(SizeOf(graphic));
      properties->setPropertyValue("Anchor", css::uno::Any(cell));
      properties->setPropertyValue("ResizeWithCell", css::uno::Any(false));
    });
  }

  int ShapeCount() override {
    return Uno([&] { return static_cast<int>(DrawPage()->getCount()); });
  }

  // Positions and sizes in points. Placement 1 and 2 anchor the shape to the cell under its
  // top-left corner (1 also sizes it with its cells), 3 anchors it to the page. With its aspect
  // ratio locked (as a pasted picture is), setting one side scales the other.
  void SetShapeProperty(int index, platform::ShapeProperty property, double value) override {
    Uno([&] {
      const auto page = DrawPage();
      if (index < 1 || index > page->getCount()) {
        throw rt::AutomationError(rt::err::kInvalidArgument);
      }
      Reference<css::drawing::XShape> shape(page->getByIndex(index - 1), css::uno::UNO_QUERY_THROW);
      Reference<css::beans::XPropertySet> properties(shape, css::uno::UNO_QUERY_THROW);
      css::awt::Point position = shape->getPosition();
      css::awt::Size size = shape->getSize();
      const Reference<css::uno::XInterface> identity(shape, css::uno::UNO_QUERY_THROW);
      auto& unlocked = office_->unlocked_shapes;
      const auto known = std::find(unlocked.begin(), unlocked.end(), identity);
      const bool locked = known == unlocked.end();
      switch (property) {
        case platform::ShapeProperty::kLockAspectRatio:
          if (value != -1 && value != 0 && value != 1) Refuse();
          if (value == 0 && locked) unlocked.push_back(identity);
          if (value != 0 && !locked) unlocked.erase(known);
          return;
        case platform::ShapeProperty::kPlacement:
          SetPlacement(properties, position, static_cast<int>(value), value);
          return;
        case platform::ShapeProperty::kLeft:
          position.X = HundredthMmOf(std::max(0.0, value));
          shape->setPosition(position);
          Reanchor(shape, properties);
          return;
        case platform::ShapeProperty::kTop:
          position.Y = HundredthMmOf(std::max(0.0, value));
          shape->setPosition(position);
          Reanchor(shape, properties);
          return;
        case platform::ShapeProperty::kWidth: {
          if (!(value >= 0)) Refuse();
          const sal_Int32 width = HundredthMmOf(value);
          if (locked && size.Width > 0) {
            size.Height =
                static_cast<sal_Int32>(std::lround(size.Height * double(width) / size.Width));
          }
          size.Width = width;
          shape->setSize(size);
          return;
        }
        case platform::ShapeProperty::kHeight: {
          if (!(value >= 0)) Refuse();
          const sal_Int32 height = HundredthMmOf(value);
          if (locked && size.Height > 0) {
            size.Width =
                static_cast<sal_Int32>(std::lround(size.Width * double(height) / size.Height));
          }
          size.Height = height;
          shape->setSize(size);
          return;
        }
      }
    });
  }

  rt::Value GetCell(std::int32_t row, std::int32_t column,
                    platform::CellProperty property) override {
    return ReadCell(Ref(PositionOf(row, column)), property, formats_);
  }

  void SetCell(std::int32_t row, std::int32_t column, platform::CellProperty property,
               const rt::Value& value) override {
    WriteCell(Ref(PositionOf(row, column)), property, value, formats_);
  }

  // Values and formulas in one call each (values with one more query for the dates among
  // them; a logical reads as its number here).
  std::vector<rt::Value> GetColumnCells(std::int32_t column, std::int32_t first_row,
                                        std::int32_t last_row,
                                        platform::CellProperty property) override {
    const auto range = ColumnRange(column, first_row, last_row);
    std::vector<rt::Value> values;
    if (property == platform::CellProperty::kFormula) {
      Uno([&] {
        Reference<css::sheet::XCellRangeFormula> formulas(range, css::uno::UNO_QUERY_THROW);
        for (const auto& row : formulas->getFormulaArray()) {
          values.push_back(rt::Value::Text(FromOU(row[0])));
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

  Reference<css::drawing::XDrawPage> DrawPage() {
    // The document's pages, one per sheet (the sheet's own page supplier is deprecated).
    Reference<css::drawing::XDrawPagesSupplier> supplier(document_, css::uno::UNO_QUERY_THROW);
    Reference<css::sheet::XCellRangeAddressable> address(sheet_, css::uno::UNO_QUERY_THROW);
    return Reference<css::drawing::XDrawPage>(
        supplier->getDrawPages()->getByIndex(address->getRangeAddress().Sheet),
        css::uno::UNO_QUERY_THROW);
  }

  Reference<css::graphic::XGraphic> GraphicOf(const std::vector<std::uint8_t>& bytes) {
    css::uno::Sequence<sal_Int8> data(reinterpret_cast<const sal_Int8*>(bytes.data()),
                                      static_cast<sal_Int32>(bytes.size()));
    const auto stream =
        css::io::SequenceInputStream::createStreamFromSequence(office_->context, data);
    const auto provider = css::graphic::GraphicProvider::create(office_->context);
    const auto graphic = provider->queryGraphic(
        SequenceOf({Argument("InputStream", css::uno::Any(Reference<css::io::XInputStream>(
                                                stream, css::uno::UNO_QUERY_THROW)))}));
    if (!graphic.is()) Refuse();
    return graphic;
  }

  // The picture's own size, or its pixels at 96 per inch when it gives none.
  static css::awt::Size SizeOf(const Reference<css::graphic::XGraphic>& graphic) {
    Reference<css::beans::XPropertySet> properties(graphic, css::uno::UNO_QUERY_THROW);
    css::awt::Size size;
    properties->getPropertyValue("Size100thMM") >>= size;
    if (size.Width > 0 && size.Height > 0) return size;
    css::awt::Size pixels;
    properties->getPropertyValue("SizePixel") >>= pixels;
    return css::awt::Size(HundredthMmOf(pixels.Width * kPointsPerPixel),
                          HundredthMmOf(pixels.Height * kPointsPerPixel));
  }

  void SetPlacement(const Reference<css::beans::XPropertySet>& properties,
                    const css::awt::Point& position, int placement, double value) {
    if (value != placement || (placement != platform::placement::kMoveAndSize &&
                               placement != platform::placement::kMove &&
                               placement != platform::placement::kFreeFloating)) {
      Refuse();
    }
    if (placement == platform::placement::kFreeFloating) {
      properties->setPropertyValue("Anchor", css::uno::Any(sheet_));
      return;
    }
    properties->setPropertyValue("Anchor", css::uno::Any(CellUnder(position)));
    properties->setPropertyValue("ResizeWithCell",
                                 css::uno::Any(placement == platform::placement::kMoveAndSize));
  }

  // A shape anchored to a cell is anchored to the cell under its top-left corner, as in Excel:
  // moved elsewhere, it is anchored again (which Calc does not do for a move through the API).
  void Reanchor(const Reference<css::drawing::XShape>& shape,
                const Reference<css::beans::XPropertySet>& properties) {
    Reference<css::beans::XPropertySet> anchor(properties->getPropertyValue("Anchor"),
                                               css::uno::UNO_QUERY);
    Reference<css::table::XCell> cell(anchor, css::uno::UNO_QUERY);
    if (!cell.is()) return;
    const css::awt::Point position = shape->getPosition();
    css::awt::Point corner;
    anchor->getPropertyValue("Position") >>= corner;
    if (corner.X == position.X && corner.Y == position.Y) return;
    bool resizes = false;
    properties->getPropertyValue("ResizeWithCell") >>= resizes;
    properties->setPropertyValue("Anchor", css::uno::Any(CellUnder(position)));
    properties->setPropertyValue("ResizeWithCell", css::uno::Any(resizes));
    // Anchoring puts the shape at the cell's corner: it goes back where it was put.
    shape->setPosition(position);
  }

  // The cell whose box holds the point (1/100 mm): the last column and row that start at or
  // before it, found by halving (a few calls, wherever the cell lies).
  Reference<css::table::XCell> CellUnder(const css::awt::Point& point) {
    auto start_of = [&](CellPosition at) {
      Reference<css::beans::XPropertySet> cell(CellAt(sheet_, at), css::uno::UNO_QUERY_THROW);
      css::awt::Point position;
      cell->getPropertyValue("Position") >>= position;
      return position;
    };
    auto last_starting = [&](std::int32_t count, auto coordinate) {
      std::int32_t low = 0;
      std::int32_t high = count - 1;
      while (low < high) {
        const std::int32_t middle = low + (high - low + 1) / 2;
        if (coordinate(middle)) {
          low = middle;
        } else {
          high = middle - 1;
        }
      }
      return low;
    };
    const std::int32_t column = last_starting(kSheetColumns, [&](std::int32_t c) {
      return start_of(CellPosition{c, 0}).X <= point.X;
    });
    const std::int32_t row = last_starting(kSheetRows, [&](std::int32_t r) {
      return start_of(CellPosition{0, r}).Y <= point.Y;
    });
    return CellAt(sheet_, CellPosition{column, row});
  }

  OfficeRef office_;
  Document document_;
  Reference<css::sheet::XSpreadsheet> sheet_;
  CellFormats formats_;
};

}  // namespace

std::unique_ptr<platform::ExcelSheet> MakeCalcSheet(OfficeRef office, Document document) {
  return std::make_unique<CalcSheet>(std::move(office), std::move(document));
}

}  // namespace harumado::calc
