// The pictures of a sheet: pasted from image bytes, and placed and sized by Excel's shape
// properties.
#include "calc/calc_shapes.h"

#include <algorithm>
#include <cmath>
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/graphic/GraphicProvider.hpp>
#include <com/sun/star/graphic/XGraphicProvider.hpp>
#include <com/sun/star/io/SequenceInputStream.hpp>
#include <com/sun/star/io/XInputStream.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>

namespace harumado::calc {
namespace {

// A picture without a size of its own is taken at 96 pixels per inch, as Excel pastes a bitmap.
constexpr double kPointsPerPixel = 0.75;

}  // namespace

CalcShapes::CalcShapes(OfficeRef office, Document document,
                       Reference<css::sheet::XSpreadsheet> sheet)
    : office_(std::move(office)), document_(std::move(document)), sheet_(std::move(sheet)) {}

void CalcShapes::PastePicture(const std::vector<std::uint8_t>& bytes, CellPosition at) {
  const auto cell = CellAt(sheet_, at);
  Uno([&] {
    const auto graphic = GraphicOf(bytes);
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

int CalcShapes::Count() {
  return Uno([&] { return static_cast<int>(DrawPage()->getCount()); });
}

// Positions and sizes in points. Placement 1 and 2 anchor the shape to the cell under its
// top-left corner (1 also sizes it with its cells), 3 anchors it to the page. With its aspect
// ratio locked (as a pasted picture is), setting one side scales the other.
void CalcShapes::Set(int index, platform::ShapeProperty property, double value) {
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

Reference<css::drawing::XDrawPage> CalcShapes::DrawPage() {
  // The document's pages, one per sheet (the sheet's own page supplier is deprecated).
  Reference<css::drawing::XDrawPagesSupplier> supplier(document_, css::uno::UNO_QUERY_THROW);
  Reference<css::sheet::XCellRangeAddressable> address(sheet_, css::uno::UNO_QUERY_THROW);
  return Reference<css::drawing::XDrawPage>(
      supplier->getDrawPages()->getByIndex(address->getRangeAddress().Sheet),
      css::uno::UNO_QUERY_THROW);
}

Reference<css::graphic::XGraphic> CalcShapes::GraphicOf(const std::vector<std::uint8_t>& bytes) {
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
css::awt::Size CalcShapes::SizeOf(const Reference<css::graphic::XGraphic>& graphic) {
  Reference<css::beans::XPropertySet> properties(graphic, css::uno::UNO_QUERY_THROW);
  css::awt::Size size;
  properties->getPropertyValue("Size100thMM") >>= size;
  if (size.Width > 0 && size.Height > 0) return size;
  css::awt::Size pixels;
  properties->getPropertyValue("SizePixel") >>= pixels;
  return css::awt::Size(HundredthMmOf(pixels.Width * kPointsPerPixel),
                        HundredthMmOf(pixels.Height * kPointsPerPixel));
}

void CalcShapes::SetPlacement(const Reference<css::beans::XPropertySet>& properties,
                              const css::awt::Point& position, int placement, double value) {
  if (value != placement ||
      (placement != platform::placement::kMoveAndSize && placement != platform::placement::kMove &&
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
void CalcShapes::Reanchor(const Reference<css::drawing::XShape>& shape,
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
Reference<css::table::XCell> CalcShapes::CellUnder(const css::awt::Point& point) {
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

}  // namespace harumado::calc
