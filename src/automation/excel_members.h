#pragma once
// The members of Excel's object model that the program calls, by interface.
#include "automation/dispatch.h"

namespace harumado::automation::excel {

inline constexpr wchar_t kApplicationProgId[] = L"Excel.Application";
inline constexpr wchar_t kGlobalProgId[] = L"Excel.Global";

inline constexpr std::int32_t kXlUp = -4162;

namespace interface_name {
inline constexpr std::wstring_view kGlobal = L"Global";
inline constexpr std::wstring_view kApplication = L"Application";
inline constexpr std::wstring_view kWorkbooks = L"Workbooks";
inline constexpr std::wstring_view kWorkbook = L"Workbook";
inline constexpr std::wstring_view kWorksheet = L"Worksheet";
inline constexpr std::wstring_view kPictures = L"Pictures";
inline constexpr std::wstring_view kShapes = L"Shapes";
inline constexpr std::wstring_view kShape = L"Shape";
inline constexpr std::wstring_view kRange = L"Range";
inline constexpr std::wstring_view kWindow = L"Window";
}  // namespace interface_name

namespace global {
inline constexpr Member kApplication{interface_name::kGlobal, L"Application"};
}

namespace application {
inline constexpr Member kVisible{interface_name::kApplication, L"Visible"};
inline constexpr Member kDisplayAlerts{interface_name::kApplication, L"DisplayAlerts"};
inline constexpr Member kWorkbooks{interface_name::kApplication, L"Workbooks"};
inline constexpr Member kQuit{interface_name::kApplication, L"Quit"};
inline constexpr Member kHwnd{interface_name::kApplication, L"Hwnd"};
inline constexpr Member kClipboardFormats{interface_name::kApplication, L"ClipboardFormats"};
inline constexpr Member kActiveSheet{interface_name::kApplication, L"ActiveSheet"};
inline constexpr Member kActiveCell{interface_name::kApplication, L"ActiveCell"};
inline constexpr Member kActiveWindow{interface_name::kApplication, L"ActiveWindow"};
}  // namespace application

namespace workbooks {
inline constexpr Member kOpen{interface_name::kWorkbooks, L"Open"};
inline constexpr Member kAdd{interface_name::kWorkbooks, L"Add"};
}  // namespace workbooks

namespace workbook {
inline constexpr Member kName{interface_name::kWorkbook, L"Name"};
inline constexpr Member kSaveAs{interface_name::kWorkbook, L"SaveAs"};
inline constexpr Member kClose{interface_name::kWorkbook, L"Close"};
}  // namespace workbook

namespace worksheet {
inline constexpr Member kPaste{interface_name::kWorksheet, L"Paste"};
inline constexpr Member kPictures{interface_name::kWorksheet, L"Pictures"};
inline constexpr Member kShapes{interface_name::kWorksheet, L"Shapes"};
inline constexpr Member kCells{interface_name::kWorksheet, L"Cells"};
inline constexpr Member kRange{interface_name::kWorksheet, L"Range"};
inline constexpr Member kRows{interface_name::kWorksheet, L"Rows"};
inline constexpr Member kColumns{interface_name::kWorksheet, L"Columns"};
}  // namespace worksheet

namespace pictures {
inline constexpr Member kPaste{interface_name::kPictures, L"Paste"};
}

namespace shapes {
inline constexpr Member kCount{interface_name::kShapes, L"Count"};
inline constexpr Member kItem{interface_name::kShapes, L"Item"};
}  // namespace shapes

namespace shape {
inline constexpr Member kLockAspectRatio{interface_name::kShape, L"LockAspectRatio"};
inline constexpr Member kPlacement{interface_name::kShape, L"Placement"};
inline constexpr Member kLeft{interface_name::kShape, L"Left"};
inline constexpr Member kTop{interface_name::kShape, L"Top"};
inline constexpr Member kWidth{interface_name::kShape, L"Width"};
inline constexpr Member kHeight{interface_name::kShape, L"Height"};
}  // namespace shape

namespace range {
inline constexpr Member kValue{interface_name::kRange, L"Value"};
inline constexpr Member kText{interface_name::kRange, L"Text"};
inline constexpr Member kNumberFormatLocal{interface_name::kRange, L"NumberFormatLocal"};
inline constexpr Member kFormula{interface_name::kRange, L"Formula"};
inline constexpr Member kRow{interface_name::kRange, L"Row"};
inline constexpr Member kColumn{interface_name::kRange, L"Column"};
inline constexpr Member kLeft{interface_name::kRange, L"Left"};
inline constexpr Member kTop{interface_name::kRange, L"Top"};
inline constexpr Member kWidth{interface_name::kRange, L"Width"};
inline constexpr Member kHeight{interface_name::kRange, L"Height"};
inline constexpr Member kOffset{interface_name::kRange, L"Offset"};
inline constexpr Member kSelect{interface_name::kRange, L"Select"};
inline constexpr Member kEnd{interface_name::kRange, L"End"};
inline constexpr Member kCount{interface_name::kRange, L"Count"};
inline constexpr Member kItem{interface_name::kRange, L"Item"};
inline constexpr Member kColumnWidth{interface_name::kRange, L"ColumnWidth"};
inline constexpr Member kAutoFit{interface_name::kRange, L"AutoFit"};
}  // namespace range

namespace window {
inline constexpr Member kRangeSelection{interface_name::kWindow, L"RangeSelection"};
}

}  // namespace harumado::automation::excel
