// For the Linux program's harness: what the LibreOffice on a pipe holds, read through UNO.
//   harumado-calc-cells PIPE ROWS    prints "A<row> <EMPTY|VALUE|TEXT|FORMULA> <shown>" for rows
//                                    1..ROWS of column A of the active document's active sheet
//                                    (exit status 1 when nothing answers or no document is open)
//   harumado-calc-cells PIPE cell NAME...
//                                    prints "<name> <EMPTY|VALUE|TEXT|FORMULA> <value>|<number
//                                    format as the program's local code>|<shown>" for each cell
//                                    named (A1, B2, ...) of that sheet
//   harumado-calc-cells PIPE width COLUMN
//                                    prints the width of a column (A, B, ...) in 1/100 mm
//   harumado-calc-cells PIPE close   closes its documents unsaved, as their user closes their
//                                    windows; the LibreOffice goes on running
//   harumado-calc-cells PIPE quit    ends that LibreOffice, its documents unsaved
#include <cctype>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "calc/calc_document.h"
#include "calc/cell_formats.h"
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

// "B12" as a 0-based position; none for a name that is not a cell's.
std::optional<CellPosition> PositionOf(const std::string& name) {
  std::size_t i = 0;
  std::int32_t column = 0;
  while (i < name.size() && std::isupper(static_cast<unsigned char>(name[i])) != 0) {
    column = column * 26 + (name[i] - 'A' + 1);
    ++i;
  }
  if (column == 0 || i == name.size()) return std::nullopt;
  const int row = std::atoi(name.c_str() + i);
  if (row < 1) return std::nullopt;
  return CellPosition{column - 1, row - 1};
}

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

int PrintCells(const Document& document, const std::vector<std::string>& names) {
  const auto sheet = ActiveSheetOf(document);
  CellFormats formats(document);
  for (const auto& name : names) {
    const auto position = PositionOf(name);
    if (!position) return 2;
    const auto cell = CellAt(sheet, *position);
    Reference<css::text::XText> text(cell, css::uno::UNO_QUERY_THROW);
    const auto type = cell->getType();
    const std::string value = type == css::table::CellContentType_VALUE ? Number(cell->getValue())
                                                                        : Utf8(text->getString());
    const rtl::OUString local = ToOU(formats.LocalCodeOf(CellFormats::KeyOfCell(cell)));
    std::printf("%s %s %s|%s|%s\n", name.c_str(), TypeName(type), value.c_str(),
                Utf8(local).c_str(), Utf8(text->getString()).c_str());
  }
  return 0;
}

int Run(const std::string& pipe, const std::string& what, const std::vector<std::string>& names) {
  const auto context = ConnectToPipe(pipe);
  if (!context.is()) return 1;
  Office office;
  office.context = context;
  office.desktop = css::frame::Desktop::create(context);
  if (what == "quit" || what == "close") {
    // The documents are closed unsaved (first, when quitting: an office with a modified document
    // would ask whether to save it).
    const auto components = office.desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
      Reference<css::util::XCloseable> document(components->nextElement(), css::uno::UNO_QUERY);
      if (document.is()) document->close(true);
    }
    if (what == "close") return 0;
    try {
      office.desktop->terminate();
    } catch (const css::uno::RuntimeException&) {
      // The bridge goes down with the office.
    }
    return WaitUntilGone(pipe, kQuitTimeoutMs) ? 0 : 1;
  }
  const Document document = ActiveDocument(office);
  if (!document.is()) return 1;
  if (what == "cell") return PrintCells(document, names);
  const auto sheet = ActiveSheetOf(document);
  if (what == "width") {
    const auto position = PositionOf(names.empty() ? std::string() : names.front() + "1");
    if (!position || names.size() != 1) return 2;
    std::printf("%d\n", static_cast<int>(ColumnWidthOf(sheet, position->column)));
    return 0;
  }
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
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: harumado-calc-cells PIPE ROWS|close|quit|cell NAME...|width COLUMN\n");
    return 2;
  }
  int status = 1;
  try {
    status = harumado::calc::Run(argv[1], argv[2], std::vector<std::string>(argv + 3, argv + argc));
  } catch (const harumado::rt::AutomationError& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  // What was asked is printed; the process ends at once. Taking the UNO bridge down on the way
  // out can wait on the office for many seconds (seen under the sanitizers), and the journeys
  // ask again and again within their bounds.
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}
