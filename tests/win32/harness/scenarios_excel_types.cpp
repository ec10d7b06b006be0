// The value types of Excel's cells through the Excel double, as Excel gives them: Range.Value of
// a number is a Double, a Currency under a currency format (four decimals), a Date under a date
// format; Value2 gives every number and date as a Double; a block's values follow the same rules
// cell by cell. The program reads each as the value its conversions expect, pastes a yen amount
// and a whole number as on the simulated desktop, leaves a date cell next to its pastes and under
// the column fit as it was, and its topmost main window stays in front of Excel's window that
// each paste brings forward.
#include <vector>

#include "automation/late_bound_host.h"
#include "excel_support.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "scenario_support.h"
#include "stacking.h"
#include "win32/automation/com_runtime.h"

namespace harumado::harness {
namespace {

// The date cells of column C, standard width: too narrow for their dates.
constexpr wchar_t kC1[] = L"cell C1 date 46366|yyyy/m/d|########";
constexpr wchar_t kC2[] = L"cell C2 number 46366|yyyy/mm/dd|########";

// A member of an automation object read with raw IDispatch, so that the VARIANT type that
// crosses from Excel is seen as it is.
bool RawGet(IDispatch* object, const wchar_t* name, const std::vector<std::wstring>& text_args,
            win32::Variant& result) {
  if (object == nullptr) return false;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
  std::vector<win32::Variant> args(text_args.size());
  std::vector<VARIANT> raw(text_args.size());
  for (std::size_t i = 0; i < text_args.size(); ++i) {
    // Arguments go last to first.
    VARIANT* v = args[text_args.size() - 1 - i].put();
    v->vt = VT_BSTR;
    v->bstrVal = ::SysAllocString(text_args[i].c_str());
  }
  for (std::size_t i = 0; i < args.size(); ++i) raw[i] = *args[i].get();
  DISPPARAMS params{raw.empty() ? nullptr : raw.data(), nullptr, static_cast<UINT>(raw.size()), 0};
  return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                                  DISPATCH_PROPERTYGET | DISPATCH_METHOD, &params, result.put(),
                                  nullptr, nullptr));
}

win32::ComPtr<IDispatch> RawObject(IDispatch* object, const wchar_t* name,
                                   const std::vector<std::wstring>& args = {}) {
  win32::Variant v;
  win32::ComPtr<IDispatch> out;
  if (RawGet(object, name, args, v) && v.get()->vt == VT_DISPATCH && v.get()->pdispVal) {
    v.get()->pdispVal->QueryInterface(IID_IDispatch, out.put_void());
  }
  return out;
}

// The running Excel's active sheet, by raw IDispatch.
win32::ComPtr<IDispatch> RawActiveSheet() {
  CLSID clsid;
  win32::ComPtr<IUnknown> unknown;
  win32::ComPtr<IDispatch> app;
  if (FAILED(::CLSIDFromProgID(L"Excel.Application", &clsid)) ||
      FAILED(::GetActiveObject(clsid, nullptr, unknown.put())) ||
      FAILED(unknown->QueryInterface(IID_IDispatch, app.put_void()))) {
    return {};
  }
  return RawObject(app.get(), L"ActiveSheet");
}

std::wstring TypeName(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
      return L"Empty";
    case VT_I4:
      return L"Long";
    case VT_R8:
      return L"Double";
    case VT_CY:
      return L"Currency";
    case VT_DATE:
      return L"Date";
    case VT_BSTR:
      return L"String";
    default:
      return L"type " + std::to_wstring(vt);
  }
}

// A VARIANT's number: a Double's or a Date's as it is, a Currency's ten-thousandths.
double RawNumber(const VARIANT& v) {
  if (v.vt == VT_CY) return static_cast<double>(v.cyVal.int64) / 10000.0;
  if (v.vt == VT_DATE) return v.date;
  if (v.vt == VT_R8) return v.dblVal;
  return -1e300;
}

// The cells of column A: what is typed, the local format given afterwards (empty: the one the
// typing gave), the type and number of Value and Value2, and what the program reads.
struct TypedCell {
  const wchar_t* entry;
  const wchar_t* format;
  VARTYPE value_type;
  double number;  // as Value gives it (a Currency rounded to four decimals)
  VARTYPE value2_type;
  double number2;
  rt::Value read;  // what the program's host reads as Value
};

std::vector<TypedCell> Cells() {
  return {
      {L"7", L"", VT_R8, 7, VT_R8, 7, rt::Value::Number(7)},
      {L"-12345", L"#,##0", VT_R8, -12345, VT_R8, -12345, rt::Value::Number(-12345)},
      {L"\\1,000", L"", VT_CY, 1000, VT_R8, 1000, rt::Value::Number(1000)},
      // The program reads the cell's own number, not Excel's four-decimal Currency.
      {L"1234.56789", L"\\#,##0.00;\\-#,##0.00", VT_CY, 1234.5679, VT_R8, 1234.56789,
       rt::Value::Number(1234.56789)},
      {L"1.25", L"[$¥-411]#,##0.00", VT_CY, 1.25, VT_R8, 1.25, rt::Value::Number(1.25)},
      {L"2026/12/10", L"", VT_DATE, 46366, VT_R8, 46366, rt::Value::FromDate(46366)},
      {L"46366.5", L"yyyy/mm/dd h:mm", VT_DATE, 46366.5, VT_R8, 46366.5,
       rt::Value::FromDate(46366.5)},
      {L"0.5", L"0.00", VT_R8, 0.5, VT_R8, 0.5, rt::Value::Number(0.5)},
      {L"東京", L"\\#,##0", VT_BSTR, 0, VT_BSTR, 0, rt::Value::Text(L"東京")},
  };
}

bool PrepareColumnA(const std::vector<TypedCell>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::wstring ref = L"A" + std::to_wstring(i + 1);
    if (!CallExcel(L"HarumadoEnter", {ref, cells[i].entry})) return false;
    if (*cells[i].format != 0 && !CallExcel(L"HarumadoFormat", {ref, cells[i].format})) {
      return false;
    }
  }
  return true;
}

void ExpectRaw(const std::wstring& what, VARTYPE type, double number, const VARIANT& got) {
  ExpectText(what + L" type", TypeName(type), TypeName(got.vt));
  if (type == VT_R8 || type == VT_CY || type == VT_DATE) {
    Expect(RawNumber(got) == number, what + L" number " + rt::NumberText(number) + L", got " +
                                         rt::NumberText(RawNumber(got)));
  }
}

}  // namespace

// Each cell's Value and Value2 by raw IDispatch, one cell at a time and the whole column at
// once, and what the program's late-bound host reads from them.
void ExcelValueTypes(const std::wstring&, const std::vector<std::wstring>& args) {
  DoublesFrom(args);
  Expect(CloseAllExcel(), L"no Excel runs at the start");
  const std::wstring path = DesktopFolder() + L"\\types.xlsx";
  PutWorkbookOnDesktop(L"types.xlsx");
  if (!StartVisibleExcel(path)) return;
  const std::vector<TypedCell> cells = Cells();
  if (!PrepareColumnA(cells)) return;
  win32::ComApartment apartment;
  win32::ComPtr<IDispatch> sheet = RawActiveSheet();
  if (!Expect(sheet.get() != nullptr, L"the running Excel's active sheet")) return;

  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::wstring ref = L"A" + std::to_wstring(i + 1);
    win32::ComPtr<IDispatch> range = RawObject(sheet.get(), L"Range", {ref});
    win32::Variant value;
    win32::Variant value2;
    if (!Expect(
            RawGet(range.get(), L"Value", {}, value) && RawGet(range.get(), L"Value2", {}, value2),
            ref + L" Value and Value2 are read")) {
      continue;
    }
    ExpectRaw(ref + L" (" + cells[i].entry + L") Value", cells[i].value_type, cells[i].number,
              *value.get());
    ExpectRaw(ref + L" Value2", cells[i].value2_type, cells[i].number2, *value2.get());
  }

  // The column at once: an array of Variants, each typed as its cell.
  const std::wstring block = L"A1:A" + std::to_wstring(cells.size());
  win32::ComPtr<IDispatch> range = RawObject(sheet.get(), L"Range", {block});
  for (const bool value2 : {false, true}) {
    win32::Variant column;
    const wchar_t* member = value2 ? L"Value2" : L"Value";
    if (!Expect(
            RawGet(range.get(), member, {}, column) && column.get()->vt == (VT_ARRAY | VT_VARIANT),
            block + L" " + member + L" is an array of Variants")) {
      continue;
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
      LONG at[2] = {static_cast<LONG>(i + 1), 1};
      win32::Variant element;
      if (FAILED(::SafeArrayGetElement(column.get()->parray, at, element.put()))) {
        Fail(block + L" element", std::to_wstring(i + 1), L"missing");
        continue;
      }
      ExpectRaw(block + L" " + member + L" row " + std::to_wstring(i + 1),
                value2 ? cells[i].value2_type : cells[i].value_type,
                value2 ? cells[i].number2 : cells[i].number, *element.get());
    }
  }

  // The program's reading: cell by cell and the column at once give the same values.
  try {
    win32::ComRuntime runtime;
    automation::LateBoundHost host(runtime);
    auto app = host.GetActiveObject();
    auto active = app->ActiveSheet();
    const auto count = static_cast<std::int32_t>(cells.size());
    const std::vector<rt::Value> column =
        active->GetColumnCells(1, 1, count, platform::CellProperty::kValue);
    ExpectInt(L"the program's column read", count, static_cast<long long>(column.size()));
    for (std::int32_t row = 1; row <= count && row <= static_cast<std::int32_t>(column.size());
         ++row) {
      const TypedCell& c = cells[static_cast<std::size_t>(row - 1)];
      const rt::Value one = active->GetCell(row, 1, platform::CellProperty::kValue);
      ExpectText(L"the program reads A" + std::to_wstring(row), rt::TextForm(c.read),
                 rt::TextForm(one));
      Expect(one == c.read && column[static_cast<std::size_t>(row - 1)] == c.read,
             L"A" + std::to_wstring(row) + L" reads as the same value, alone and in the column");
    }
  } catch (const rt::AutomationError& e) {
    Fail(L"the program reads the cells", L"read", L"error " + rt::ErrorNumberText(e.number()));
  }
  CloseAllExcel();
}

// Pasting with the main window topmost (mode 整数, two cells a row): yen amounts (one with more
// decimals than Excel's Currency keeps) and whole numbers are pasted as on the simulated desktop,
// the date cells beside the pastes stay, and the main window stays in front of Excel's window,
// which each paste brings forward. The column fit afterwards leaves the date cells as they were.
void ExcelTypedPaste(const std::wstring& program, const std::vector<std::wstring>& args) {
  DoublesFrom(args);
  Expect(CloseAllExcel(), L"no Excel runs at the start");
  const std::wstring name = L"型の確認";
  const std::wstring path = DesktopFolder() + L"\\" + name + L".xlsx";
  PutWorkbookOnDesktop(name + L".xlsx");
  if (!StartVisibleExcel(path)) return;
  // C1 a typed date, C2 a number under a date format: Excel gives both as Dates, which the
  // program takes as no numbers; with a text below them column C has nothing numeric, and the
  // fit leaves it as it is (its dates too narrow to show). Column D has a long number above a
  // date and a text: the fit empties the date and the text, fits the number and gives them back.
  if (!CallExcel(L"HarumadoEnter", {L"C1", L"2026/12/10"}) ||
      !CallExcel(L"HarumadoEnter", {L"C2", L"46366"}) ||
      !CallExcel(L"HarumadoFormat", {L"C2", L"yyyy/mm/dd"}) ||
      !CallExcel(L"HarumadoEnter", {L"C3", L"メモ"}) ||
      !CallExcel(L"HarumadoEnter", {L"D1", L"123456789012"}) ||
      !CallExcel(L"HarumadoFormat", {L"D1", L"0"}) ||
      !CallExcel(L"HarumadoEnter", {L"D2", L"46366"}) ||
      !CallExcel(L"HarumadoFormat", {L"D2", L"yyyy/mm/dd"}) ||
      !CallExcel(L"HarumadoEnter", {L"D3", L"メモ"})) {
    return;
  }
  const std::wstring exe =
      PrepareProgram(L"excel-typed-paste", program, std::string("100,100,2,1,1\r\n"));
  RunningProgram p(exe);
  HWND main = nullptr;
  if (!StartPasting(p, main, name, path)) return;
  Expect(IsTopmost(main), L"the main window is topmost");

  const struct {
    const wchar_t* copied;
    const wchar_t* line;
    const wchar_t* next;
  } pastes[] = {
      {L"\\1,000", L"cell A1 number 1000|\\###0|\\1000", L"active B1"},
      {L"7", L"cell B1 number 7|###0|7", L"active A2"},
      {L"\\1,000.5", L"cell A2 number 1000.5|\\###0|\\1001", L"active B2"},
      {L"2,500", L"cell B2 number 2500|###0|2500", L"active A3"},
      // More decimals than a Currency holds: the value is written back whole.
      {L"\\1,000.123456", L"cell A3 number 1000.123456|\\###0|\\1000", L"active B3"},
  };
  for (const auto& paste : pastes) {
    Expect(CopyTextFromAnotherProcess(paste.copied), std::wstring(L"copied ") + paste.copied);
    WaitForLines({paste.line, paste.next}, kPasteLimit);
  }
  WaitForLines({kC1, kC2}, kPasteLimit);
  // Excel's window was brought forward by the pastes; the topmost main window stays in front.
  HWND excel = ExcelWindow();
  if (Expect(excel != nullptr, L"Excel's window")) {
    Expect(!IsTopmost(excel), L"Excel's window is not topmost");
    Expect(StackedInFront(main, excel), L"the main window in front of Excel's window");
    Expect(IsTopmost(main), L"the main window is still topmost");
  }

  PostClick(Main(main, L"Command5"));
  WaitForText(Main(main, L"Command5"), kStoppedCaption, kPasteLimit);
  PostClick(Main(main, L"Command2"));
  WaitForText(Main(main, L"Text2"), L"セル幅が自動調整されました。", kExcelLimit);
  if (auto report = ExpectExcelReport(L"the column fit")) {
    ExpectText(L"C1 after the column fit", kC1, LineStarting(*report, L"cell C1 "));
    ExpectText(L"C2 after the column fit", kC2, LineStarting(*report, L"cell C2 "));
    ExpectText(L"C3 after the column fit", L"cell C3 text メモ|G/標準|メモ",
               LineStarting(*report, L"cell C3 "));
    Expect(LineStarting(*report, L"width C ").empty(), L"column C keeps its width");
    ExpectText(L"column D fitted to its number", L"width D 12", LineStarting(*report, L"width D "));
    ExpectText(L"D1 after the column fit", L"cell D1 number 123456789012|0|123456789012",
               LineStarting(*report, L"cell D1 "));
    // The date went back as the Date it was read as (Excel holds no other kind for it).
    const std::wstring d2 = LineStarting(*report, L"cell D2 ");
    Expect(d2 == L"cell D2 number 46366|yyyy/mm/dd|2026/12/10" ||
               d2 == L"cell D2 date 46366|yyyy/mm/dd|2026/12/10",
           L"D2 keeps its date after the column fit: " + d2);
    ExpectText(L"D3 after the column fit", L"cell D3 text メモ|G/標準|メモ",
               LineStarting(*report, L"cell D3 "));
    Expect(HasLine(*report, L"cell A2 number 1000.5|\\###0|\\1001"), L"A2 stays");
  }
  CloseAndExpectEnd(p, main);
  CloseAllExcel();
}

}  // namespace harumado::harness
