#pragma once
// A block of fields entered into cells as Excel reads typed input, in a few calls: what each
// field becomes is worked out first, then the values go in by rectangles of rows of one width
// and the number formats by runs of cells of one format.
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <string>
#include <vector>

#include "calc/cell_formats.h"
#include "calc/view_cursor.h"

namespace harumado::calc {

using FieldBlock = std::vector<std::vector<std::wstring>>;

// Enters each row's fields from `first` to the right (a short row leaves the cells after its
// last field alone). A field that cannot be entered (an error value, a format Calc cannot take)
// refuses the whole block with 1004 before anything is written.
void EnterBlock(const Reference<css::sheet::XSpreadsheet>& sheet, CellPosition first,
                const FieldBlock& block, CellFormats& formats);

}  // namespace harumado::calc
