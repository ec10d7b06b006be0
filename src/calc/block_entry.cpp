#include "calc/block_entry.h"

#include <algorithm>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/sheet/XCellFormatRangesSupplier.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "calc/calc_document.h"
#include "runtime/typed_input.h"

namespace harumado::calc {
namespace {

// One cell of the block as it is to be written: its content (empty, a number or a text), the
// number format it ends with, and whether that needs writing.
struct Entry {
  css::uno::Any content;
  std::int32_t key = -1;
  bool format_written = false;
};

using KeyGrid = std::vector<std::vector<std::int32_t>>;

Reference<css::table::XCellRange> RangeOf(const Reference<css::sheet::XSpreadsheet>& sheet,
                                          CellPosition first, std::int32_t columns,
                                          std::int32_t rows) {
  return Uno([&] {
    return sheet->getCellRangeByPosition(first.column, first.row, first.column + columns - 1,
                                         first.row + rows - 1);
  });
}

// The number format keys of the rectangle's cells: one read for a single cell, else one for each
// part of the rectangle that is formatted alike (a range's own NumberFormat is that of one of its
// cells, whether or not the others share it).
KeyGrid KeysOf(const Reference<css::table::XCellRange>& range, CellPosition first,
               std::size_t columns, std::size_t rows) {
  KeyGrid keys(rows, std::vector<std::int32_t>(columns, -1));
  if (columns == 1 && rows == 1) {
    keys[0][0] = CellFormats::KeyOfCell(range);
    return keys;
  }
  Uno([&] {
    Reference<css::sheet::XCellFormatRangesSupplier> supplier(range, css::uno::UNO_QUERY_THROW);
    const auto parts = supplier->getCellFormatRanges();
    for (sal_Int32 i = 0; i < parts->getCount(); ++i) {
      Reference<css::sheet::XCellRangeAddressable> part(parts->getByIndex(i),
                                                        css::uno::UNO_QUERY_THROW);
      const auto address = part->getRangeAddress();
      const std::int32_t key = CellFormats::KeyOfCell(part);
      // The parts lie within the rectangle; the bounds are kept all the same.
      const auto top = std::max<sal_Int32>(address.StartRow, first.row);
      const auto left = std::max<sal_Int32>(address.StartColumn, first.column);
      const auto bottom =
          std::min<sal_Int32>(address.EndRow, first.row + static_cast<sal_Int32>(rows) - 1);
      const auto right = std::min<sal_Int32>(address.EndColumn,
                                             first.column + static_cast<sal_Int32>(columns) - 1);
      for (sal_Int32 r = top; r <= bottom; ++r) {
        for (sal_Int32 c = left; c <= right; ++c) {
          keys[static_cast<std::size_t>(r - first.row)]
              [static_cast<std::size_t>(c - first.column)] = key;
        }
      }
    }
  });
  return keys;
}

// What Excel makes of each field in its cell, and the format the cell ends with: the entry's
// own, the logical one for TRUE and FALSE, or the one it had (Calc may give a text that looks
// like a number the text format; Excel keeps the cell's).
std::vector<std::vector<Entry>> Entries(const FieldBlock& block, const KeyGrid& keys,
                                        CellFormats& formats) {
  std::vector<std::vector<Entry>> entries(block.size());
  for (std::size_t r = 0; r < block.size(); ++r) {
    for (std::size_t c = 0; c < block[r].size(); ++c) {
      const std::int32_t had = keys[r][c];
      const rt::TypedInput in = rt::ReadTypedInput(block[r][c], formats.LocalCodeOf(had));
      Entry entry;
      entry.key = had;
      switch (in.value.kind()) {
        case rt::Value::Kind::kEmpty:
          entry.content <<= rtl::OUString();
          break;
        case rt::Value::Kind::kText:
          entry.content <<= ToOU(in.value.text());
          break;
        case rt::Value::Kind::kLogical:
          entry.content <<= in.value.logical() ? 1.0 : 0.0;
          entry.key = formats.LogicalKey();
          break;
        case rt::Value::Kind::kNumber:
          entry.content <<= in.value.number();
          break;
        case rt::Value::Kind::kDate:
          entry.content <<= in.value.date_serial();
          break;
        case rt::Value::Kind::kError:
          Refuse();
      }
      if (in.format) entry.key = formats.KeyOf(*in.format);
      entry.format_written = entry.key != had || in.value.kind() == rt::Value::Kind::kText;
      entries[r].push_back(std::move(entry));
    }
  }
  return entries;
}

// The values, one call for each run of rows with the same number of fields.
void WriteContents(const Reference<css::sheet::XSpreadsheet>& sheet, CellPosition first,
                   const std::vector<std::vector<Entry>>& entries) {
  std::size_t start = 0;
  while (start < entries.size()) {
    std::size_t end = start + 1;
    while (end < entries.size() && entries[end].size() == entries[start].size()) ++end;
    const std::size_t width = entries[start].size();
    if (width > 0) {
      css::uno::Sequence<css::uno::Sequence<css::uno::Any>> rows(
          static_cast<sal_Int32>(end - start));
      auto* row = rows.getArray();
      for (std::size_t r = start; r < end; ++r, ++row) {
        row->realloc(static_cast<sal_Int32>(width));
        auto* cell = row->getArray();
        for (const Entry& e : entries[r]) *cell++ = e.content;
      }
      const CellPosition at{first.column, first.row + static_cast<std::int32_t>(start)};
      const auto range = RangeOf(sheet, at, static_cast<std::int32_t>(width),
                                 static_cast<std::int32_t>(end - start));
      Uno([&] {
        Reference<css::sheet::XCellRangeData> data(range, css::uno::UNO_QUERY_THROW);
        data->setDataArray(rows);
      });
    }
    start = end;
  }
}

// A run of cells in one row or one column that end with the same format.
struct Run {
  CellPosition first;
  std::int32_t columns = 1;
  std::int32_t rows = 1;
  std::int32_t key = -1;
};

std::vector<Run> RowRuns(CellPosition first, const std::vector<std::vector<Entry>>& entries) {
  std::vector<Run> runs;
  for (std::size_t r = 0; r < entries.size(); ++r) {
    for (std::size_t c = 0; c < entries[r].size(); ++c) {
      const CellPosition at{first.column + static_cast<std::int32_t>(c),
                            first.row + static_cast<std::int32_t>(r)};
      if (c > 0 && runs.back().key == entries[r][c].key) {
        ++runs.back().columns;
      } else {
        runs.push_back(Run{at, 1, 1, entries[r][c].key});
      }
    }
  }
  return runs;
}

std::vector<Run> ColumnRuns(CellPosition first, const std::vector<std::vector<Entry>>& entries) {
  std::vector<Run> runs;
  std::size_t width = 0;
  for (const auto& row : entries) width = std::max(width, row.size());
  for (std::size_t c = 0; c < width; ++c) {
    bool continues = false;
    for (std::size_t r = 0; r < entries.size(); ++r) {
      if (c >= entries[r].size()) {
        continues = false;
        continue;
      }
      const CellPosition at{first.column + static_cast<std::int32_t>(c),
                            first.row + static_cast<std::int32_t>(r)};
      if (continues && runs.back().key == entries[r][c].key) {
        ++runs.back().rows;
      } else {
        runs.push_back(Run{at, 1, 1, entries[r][c].key});
      }
      continues = true;
    }
  }
  return runs;
}

// The formats, when any cell's needs writing: one call for the whole rectangle when every cell
// ends with the same one, else one for each run (by rows or by columns, whichever makes fewer).
void WriteFormats(const Reference<css::sheet::XSpreadsheet>& sheet, CellPosition first,
                  const Reference<css::table::XCellRange>& rectangle, std::size_t width,
                  const std::vector<std::vector<Entry>>& entries) {
  bool any = false;
  bool full = true;
  std::optional<std::int32_t> one_key;  // the format of every cell, while they share one
  bool shared = true;
  for (const auto& row : entries) {
    full = full && row.size() == width;
    for (const Entry& e : row) {
      any = any || e.format_written;
      if (!one_key) one_key = e.key;
      shared = shared && e.key == *one_key;
    }
  }
  if (!any) return;
  if (shared && full) {
    CellFormats::SetKey(rectangle, *one_key);
    return;
  }
  std::vector<Run> runs = RowRuns(first, entries);
  const std::vector<Run> by_columns = ColumnRuns(first, entries);
  if (by_columns.size() < runs.size()) runs = by_columns;
  for (const Run& run : runs) {
    CellFormats::SetKey(RangeOf(sheet, run.first, run.columns, run.rows), run.key);
  }
}

}  // namespace

void EnterBlock(const Reference<css::sheet::XSpreadsheet>& sheet, CellPosition first,
                const FieldBlock& block, CellFormats& formats) {
  std::size_t width = 0;
  for (const auto& row : block) width = std::max(width, row.size());
  if (width == 0) return;
  const auto rectangle = RangeOf(sheet, first, static_cast<std::int32_t>(width),
                                 static_cast<std::int32_t>(block.size()));
  const KeyGrid keys = KeysOf(rectangle, first, width, block.size());
  const auto entries = Entries(block, keys, formats);
  WriteContents(sheet, first, entries);
  WriteFormats(sheet, first, rectangle, width, entries);
}

}  // namespace harumado::calc
