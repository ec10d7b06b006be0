#pragma once
// The host's objects over late-bound automation objects of Excel's object model.
#include <memory>

#include "automation/dispatch.h"
#include "platform/spreadsheet_host.h"

namespace harumado::automation {

std::unique_ptr<platform::ExcelApplication> MakeLateBoundApplication(ObjectRef application);
std::unique_ptr<platform::ExcelWorkbook> MakeLateBoundWorkbook(ObjectRef workbook);
std::unique_ptr<platform::ExcelSheet> MakeLateBoundSheet(ObjectRef worksheet);
std::unique_ptr<platform::ExcelRange> MakeLateBoundRange(ObjectRef range);

// The A1 address of a block of one column (column 1 is A): "C2:C9", or "C2" for one row.
std::wstring ColumnBlockAddress(std::int32_t column, std::int32_t first_row, std::int32_t last_row);

}  // namespace harumado::automation
