#include "calc/calc_document.h"

#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

namespace harumado::calc {

Document ActiveDocument(Office& office) {
  return Uno([&] {
    Document document(office.desktop->getCurrentComponent(), css::uno::UNO_QUERY);
    if (document.is()) return document;
    const auto components = office.desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
      Document candidate(components->nextElement(), css::uno::UNO_QUERY);
      if (candidate.is()) document = candidate;
    }
    return document;
  });
}

Reference<css::sheet::XSpreadsheetView> ViewOf(const Document& document) {
  return Uno([&] {
    Reference<css::frame::XModel> model(document, css::uno::UNO_QUERY_THROW);
    return Reference<css::sheet::XSpreadsheetView>(model->getCurrentController(),
                                                   css::uno::UNO_QUERY);
  });
}

Reference<css::sheet::XSpreadsheet> ActiveSheetOf(const Document& document) {
  return Uno([&] {
    if (const auto view = ViewOf(document); view.is()) return view->getActiveSheet();
    Reference<css::container::XIndexAccess> sheets(document->getSheets(),
                                                   css::uno::UNO_QUERY_THROW);
    return Reference<css::sheet::XSpreadsheet>(sheets->getByIndex(0), css::uno::UNO_QUERY_THROW);
  });
}

// The view data holds the cursor; a view without it falls back to the selection's top-left.
CellPosition ActiveCellOf(const Document& document) {
  return Uno([&] {
    Reference<css::frame::XModel> model(document, css::uno::UNO_QUERY_THROW);
    const auto controller = model->getCurrentController();
    if (!controller.is()) return CellPosition{};
    rtl::OUString data;
    if (controller->getViewData() >>= data) {
      if (const auto cursor = CursorOfViewData(FromOU(data))) return *cursor;
    }
    Reference<css::view::XSelectionSupplier> selection(controller, css::uno::UNO_QUERY_THROW);
    Reference<css::sheet::XCellRangeAddressable> range(selection->getSelection(),
                                                       css::uno::UNO_QUERY);
    if (!range.is()) return CellPosition{};
    const auto address = range->getRangeAddress();
    return CellPosition{address.StartColumn, address.StartRow};
  });
}

void SelectCell(const Document& document, CellPosition cell) {
  Uno([&] {
    Reference<css::frame::XModel> model(document, css::uno::UNO_QUERY_THROW);
    Reference<css::view::XSelectionSupplier> selection(model->getCurrentController(),
                                                       css::uno::UNO_QUERY_THROW);
    selection->select(css::uno::Any(CellAt(ActiveSheetOf(document), cell)));
  });
}

void PrepareForPaste(Office& office, const Document& document) {
  Uno([&] {
    Reference<css::frame::XModel> model(document, css::uno::UNO_QUERY_THROW);
    const auto controller = model->getCurrentController();
    if (!controller.is()) return;
    const auto frame = controller->getFrame();
    Reference<css::awt::XTopWindow> window(frame->getContainerWindow(), css::uno::UNO_QUERY);
    Reference<css::awt::XWindow2> shown(window, css::uno::UNO_QUERY);
    if (window.is() && shown.is() && shown->isVisible()) window->toFront();
    Reference<css::frame::XDispatchProvider> provider(frame, css::uno::UNO_QUERY_THROW);
    css::frame::DispatchHelper::create(office.context)
        ->executeDispatch(provider, ".uno:Cancel", "", 0, {});
  });
}

Reference<css::table::XCell> CellAt(const Reference<css::sheet::XSpreadsheet>& sheet,
                                    CellPosition cell) {
  if (cell.column < 0 || cell.column >= kSheetColumns || cell.row < 0 || cell.row >= kSheetRows) {
    Refuse();
  }
  return Uno([&] { return sheet->getCellByPosition(cell.column, cell.row); });
}

CellBox BoxOf(const Reference<css::table::XCell>& cell) {
  return Uno([&] {
    Reference<css::beans::XPropertySet> properties(cell, css::uno::UNO_QUERY_THROW);
    css::awt::Point position;
    css::awt::Size size;
    properties->getPropertyValue("Position") >>= position;
    properties->getPropertyValue("Size") >>= size;
    return CellBox{PointsOf(position.X), PointsOf(position.Y), PointsOf(size.Width),
                   PointsOf(size.Height)};
  });
}

std::int32_t ColumnWidthOf(const Reference<css::sheet::XSpreadsheet>& sheet, std::int32_t column) {
  return Uno([&] {
    Reference<css::table::XColumnRowRange> range(sheet, css::uno::UNO_QUERY_THROW);
    Reference<css::beans::XPropertySet> properties(range->getColumns()->getByIndex(column),
                                                   css::uno::UNO_QUERY_THROW);
    sal_Int32 width = 0;
    properties->getPropertyValue("Width") >>= width;
    return static_cast<std::int32_t>(width);
  });
}

}  // namespace harumado::calc
