#pragma once
// The object model's classes, made by one another.
#include <memory>

#include "automation/model/model.h"
#include "platform/spreadsheet_host.h"

namespace harumado::automation::model {

using ApplicationRef = std::shared_ptr<platform::ExcelApplication>;
using SheetRef = std::shared_ptr<platform::ExcelSheet>;

ModelRef ServeWorkbook(std::unique_ptr<platform::ExcelWorkbook> workbook);
ModelRef ServeWorksheet(SheetRef sheet);

// Ranges.
ModelRef ServeCell(SheetRef sheet, std::int32_t row, std::int32_t column);
ModelRef ServeCells(SheetRef sheet);
ModelRef ServeRangeAddress(SheetRef sheet, std::wstring_view address);
ModelRef ServeColumn(SheetRef sheet, std::int32_t column);
ModelRef ServeRows(SheetRef sheet);
ModelRef ServeActiveCell(ApplicationRef application);
ModelRef ServeSelection(std::shared_ptr<platform::ExcelRange> range);

}  // namespace harumado::automation::model
