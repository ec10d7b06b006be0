#pragma once
// The pictures of a sheet's draw page as Excel's Shapes: pasted from image bytes at a cell, and
// placed and sized by Excel's shape properties (points in the program, 1/100 mm in Calc).
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <cstdint>
#include <vector>

#include "calc/calc_document.h"
#include "platform/spreadsheet_host.h"

namespace harumado::calc {

class CalcShapes {
 public:
  CalcShapes(OfficeRef office, Document document, Reference<css::sheet::XSpreadsheet> sheet);

  // The picture at the cell's top-left at its own size, anchored to the cell and moving with it
  // (Excel's placement 2); 1004 for bytes that are no picture.
  void PastePicture(const std::vector<std::uint8_t>& bytes, CellPosition at);
  int Count();
  // Shapes(index).property = value; E_INVALIDARG for an index outside the collection.
  void Set(int index, platform::ShapeProperty property, double value);

 private:
  Reference<css::drawing::XDrawPage> DrawPage();
  Reference<css::graphic::XGraphic> GraphicOf(const std::vector<std::uint8_t>& bytes);
  static css::awt::Size SizeOf(const Reference<css::graphic::XGraphic>& graphic);
  void SetPlacement(const Reference<css::beans::XPropertySet>& properties,
                    const css::awt::Point& position, int placement, double value);
  void Reanchor(const Reference<css::drawing::XShape>& shape,
                const Reference<css::beans::XPropertySet>& properties);
  Reference<css::table::XCell> CellUnder(const css::awt::Point& point);

  OfficeRef office_;
  Document document_;
  Reference<css::sheet::XSpreadsheet> sheet_;
};

}  // namespace harumado::calc
