// For the Linux program's harness: what the LibreOffice on a pipe holds, read through UNO.
//   harumado-calc-cells PIPE ROWS    prints "A<row> <EMPTY|VALUE|TEXT|FORMULA> <shown>" for rows
//                                    1..ROWS of column A of the active document's active sheet
//                                    (exit status 1 when nothing answers or no document is open)
//   harumado-calc-cells PIPE quit    ends that LibreOffice, its documents unsaved
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "calc/calc_document.h"
#include "calc/office_connection.h"

namespace harumado::calc {
namespace {

constexpr int kQuitTimeoutMs = 20000;

std::string Utf8(const rtl::OUString& text) {
  return rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr();
}

const char* TypeName(css::table::CellContentType type) {
  switch (type) {
    case css::table::CellContentType_EMPTY:
      return "EMPTY";
    case css::table::CellContentType_VALUE:
      return "VALUE";
    case css::table::CellContentType_TEXT:
      return "TEXT";
    default:
      return "FORMULA";
  }
}

int Run(const std::string& pipe, const std::string& what) {
  const auto context = ConnectToPipe(pipe);
  if (!context.is()) return 1;
  Office office;
  office.context = context;
  office.desktop = css::frame::Desktop::create(context);
  if (what == "quit") {
    // The documents are closed unsaved first: an office with a modified document would ask
    // whether to save it.
    const auto components = office.desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
      Reference<css::util::XCloseable> document(components->nextElement(), css::uno::UNO_QUERY);
      if (document.is()) document->close(true);
    }
    try {
      office.desktop->terminate();
    } catch (const css::uno::RuntimeException&) {
      // The bridge goes down with the office.
    }
    return WaitUntilGone(pipe, kQuitTimeoutMs) ? 0 : 1;
  }
  const Document document = ActiveDocument(office);
  if (!document.is()) return 1;
  const auto sheet = ActiveSheetOf(document);
  const int rows = std::atoi(what.c_str());
  for (int row = 0; row < rows; ++row) {
    const auto cell = CellAt(sheet, CellPosition{0, row});
    Reference<css::text::XText> text(cell, css::uno::UNO_QUERY_THROW);
    std::printf("A%d %s %s\n", row + 1, TypeName(cell->getType()), Utf8(text->getString()).c_str());
  }
  return 0;
}

}  // namespace
}  // namespace harumado::calc

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: harumado-calc-cells PIPE ROWS|quit\n");
    return 2;
  }
  try {
    return harumado::calc::Run(argv[1], argv[2]);
  } catch (const harumado::rt::AutomationError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
