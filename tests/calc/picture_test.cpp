// Pictures: the clipboard picture placed at the active cell at its own size, and fitted to the
// cell as the paste step fits it; checked through UNO.
#include <gtest/gtest.h>

#include <cmath>
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/table/XCell.hpp>

#include "bitmap.h"
#include "calc_fixture.h"
#include "support/error_of.h"

namespace harumado::calc::testing {
namespace {

using platform::ActiveCellProperty;
using platform::ShapeProperty;
using test_support::ErrorOf;
using CalcPictureTest = CalcSuite;

class PictureChecks : public CalcPictureTest {
 protected:
  Reference<css::drawing::XShape> UnoShape(int index) {
    Reference<css::drawing::XDrawPagesSupplier> supplier(UnoDocument(), css::uno::UNO_QUERY_THROW);
    Reference<css::drawing::XDrawPage> page(supplier->getDrawPages()->getByIndex(0),
                                            css::uno::UNO_QUERY_THROW);
    return Reference<css::drawing::XShape>(page->getByIndex(index - 1), css::uno::UNO_QUERY_THROW);
  }
  static css::awt::Point PositionOf(const Reference<css::table::XCell>& cell) {
    Reference<css::beans::XPropertySet> properties(cell, css::uno::UNO_QUERY_THROW);
    css::awt::Point p;
    properties->getPropertyValue("Position") >>= p;
    return p;
  }
  static css::awt::Size SizeOf(const Reference<css::table::XCell>& cell) {
    Reference<css::beans::XPropertySet> properties(cell, css::uno::UNO_QUERY_THROW);
    css::awt::Size s;
    properties->getPropertyValue("Size") >>= s;
    return s;
  }
};

// Mode 画像: at C3's top-left at the picture's own size (160 x 120 pixels at 96 dpi: 120 x 90
// points), anchored to C3.
TEST_F(PictureChecks, PastedAtTheActiveCellAtItsOwnSize) {
  application_->SelectOffset(2, rt::Value::Number(2));
  clipboard_.picture = Bitmap(160, 120);
  sheet_->PastePicture();
  ASSERT_EQ(sheet_->ShapeCount(), 1);
  sheet_->SetShapeProperty(1, ShapeProperty::kLeft,
                           application_->GetActiveCell(ActiveCellProperty::kLeft));
  sheet_->SetShapeProperty(1, ShapeProperty::kTop,
                           application_->GetActiveCell(ActiveCellProperty::kTop));
  const auto shape = UnoShape(1);
  const auto cell = PositionOf(UnoCell(3, 3));
  EXPECT_NEAR(shape->getPosition().X, cell.X, 2);
  EXPECT_NEAR(shape->getPosition().Y, cell.Y, 2);
  EXPECT_NEAR(shape->getSize().Width, std::lround(120 * 2540 / 72.0), 2);
  EXPECT_NEAR(shape->getSize().Height, std::lround(90 * 2540 / 72.0), 2);
  Reference<css::beans::XPropertySet> properties(shape, css::uno::UNO_QUERY_THROW);
  Reference<css::table::XCell> anchor(properties->getPropertyValue("Anchor"), css::uno::UNO_QUERY);
  ASSERT_TRUE(anchor.is());
  EXPECT_EQ(PositionOf(anchor).X, cell.X);
  // The aspect ratio is locked, as Excel pastes a picture: setting the width scales the height.
  sheet_->SetShapeProperty(1, ShapeProperty::kWidth, 60);
  EXPECT_NEAR(shape->getSize().Height, std::lround(45 * 2540 / 72.0), 2);
  // Moved to E3, it is anchored to E3.
  const auto e3 = PositionOf(UnoCell(3, 5));
  sheet_->SetShapeProperty(1, ShapeProperty::kLeft, e3.X * 72 / 2540.0);
  EXPECT_NEAR(shape->getPosition().X, e3.X, 2);
  Reference<css::table::XCell> moved(properties->getPropertyValue("Anchor"), css::uno::UNO_QUERY);
  ASSERT_TRUE(moved.is());
  EXPECT_EQ(PositionOf(moved).X, e3.X);
}

// Mode 画像□: unlocked, placement 1, then exactly the cell's box; it then sizes with its cells.
TEST_F(PictureChecks, FittedToTheCellAndSizedWithIt) {
  application_->SelectOffset(2, rt::Value::Number(2));
  clipboard_.picture = Bitmap(400, 300);
  sheet_->PastePicture();
  const int last = sheet_->ShapeCount();
  sheet_->SetShapeProperty(last, ShapeProperty::kLockAspectRatio, 0);
  sheet_->SetShapeProperty(last, ShapeProperty::kPlacement, 1);
  sheet_->SetShapeProperty(last, ShapeProperty::kLeft,
                           application_->GetActiveCell(ActiveCellProperty::kLeft));
  sheet_->SetShapeProperty(last, ShapeProperty::kTop,
                           application_->GetActiveCell(ActiveCellProperty::kTop));
  sheet_->SetShapeProperty(last, ShapeProperty::kWidth,
                           application_->GetActiveCell(ActiveCellProperty::kWidth));
  sheet_->SetShapeProperty(last, ShapeProperty::kHeight,
                           application_->GetActiveCell(ActiveCellProperty::kHeight));
  const auto shape = UnoShape(last);
  const auto size = SizeOf(UnoCell(3, 3));
  EXPECT_NEAR(shape->getSize().Width, size.Width, 2);
  EXPECT_NEAR(shape->getSize().Height, size.Height, 2);
  Reference<css::beans::XPropertySet> properties(shape, css::uno::UNO_QUERY_THROW);
  bool resizes = false;
  properties->getPropertyValue("ResizeWithCell") >>= resizes;
  EXPECT_TRUE(resizes);
  Reference<css::table::XCell> anchor(properties->getPropertyValue("Anchor"), css::uno::UNO_QUERY);
  ASSERT_TRUE(anchor.is());
  EXPECT_EQ(PositionOf(anchor).X, PositionOf(UnoCell(3, 3)).X);
  EXPECT_EQ(PositionOf(anchor).Y, PositionOf(UnoCell(3, 3)).Y);
}

// Nothing to paste: 1004 and no shape; a shape index outside the collection: E_INVALIDARG.
TEST_F(PictureChecks, NoPictureFailsWith1004) {
  EXPECT_EQ(ErrorOf([&] { sheet_->PastePicture(); }), rt::err::kApplicationDefined);
  EXPECT_EQ(sheet_->ShapeCount(), 0);
  EXPECT_EQ(ErrorOf([&] { sheet_->SetShapeProperty(1, ShapeProperty::kLeft, 0); }),
            rt::err::kInvalidArgument);
  clipboard_.picture = std::vector<std::uint8_t>{'n', 'o', 't'};
  EXPECT_EQ(ErrorOf([&] { sheet_->PastePicture(); }), rt::err::kApplicationDefined);
}

}  // namespace
}  // namespace harumado::calc::testing
