#pragma once
// The host's objects over a Calc connection.
#include <memory>

#include "calc/calc_document.h"
#include "platform/spreadsheet_host.h"

namespace harumado::calc {

// An application that opens its workbooks visible, or hidden until it is made visible.
std::unique_ptr<platform::ExcelApplication> MakeCalcApplication(OfficeRef office, bool visible);
std::unique_ptr<platform::ExcelWorkbook> MakeCalcWorkbook(OfficeRef office, Document document);
std::unique_ptr<platform::ExcelSheet> MakeCalcSheet(OfficeRef office, Document document);

// The Calc filter that writes an Excel file format, or nothing when Calc cannot write it (50,
// the binary xlsb, is read by Calc but never written).
const char* FilterOfFileFormat(int file_format);

}  // namespace harumado::calc
