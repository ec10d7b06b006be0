#pragma once
// How Excel types a cell's value by the cell's number format: Range.Value gives a number under a
// date or time format as a Date, under a currency format (one that shows a currency symbol, such
// as the yen formats "\#,##0" and "[$¥-411]#,##0") as a Currency, and any other number as a
// Double.
#include <string_view>

#include "../common/dispatch_server.h"

namespace harumado::doubles {

NumberType NumberTypeOfFormat(std::wstring_view local_format);

}  // namespace harumado::doubles
