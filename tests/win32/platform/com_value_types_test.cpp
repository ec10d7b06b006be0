// The value types Excel gives for cells, as the program reads them: Range.Value of a number under
// a currency format is a Currency (four decimals), under a date format a Date, otherwise a
// Double; a column read at once is an array of such values. Each reads as the value the
// program's conversions expect, with the text form and whole number they give.
#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "automation/excel_members.h"
#include "fake_dispatch.h"
#include "platform_test.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "win32/automation/com_object.h"
#include "win32/automation/com_values.h"

namespace {

using harumado::rt::Value;
namespace automation = harumado::automation;
namespace rt = harumado::rt;
namespace win32 = harumado::win32;

template <typename F>
long long ErrorOf(F&& f) {
  try {
    f();
  } catch (const rt::AutomationError& e) {
    return e.number();
  }
  return 0;
}

VARIANT Currency(LONGLONG ten_thousandths) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_CY;
  v.cyVal.int64 = ten_thousandths;
  return v;
}

VARIANT DateVariant(double serial) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_DATE;
  v.date = serial;
  return v;
}

VARIANT DoubleVariant(double d) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_R8;
  v.dblVal = d;
  return v;
}

// A cell (or a column of two cells) as Excel serves it: Value gives the given VARIANTs, Value2
// the cells' own numbers; it counts the Value2 reads.
class CellServer final : public harumado::platform_test::FakeDispatch {
 public:
  std::vector<VARIANT> value;   // one item: a cell; more: a column
  std::vector<double> numbers;  // what Value2 gives for each
  int value2_reads = 0;

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                          DISPID* ids) override {
    const std::wstring name = names[0];
    if (name != L"Value" && name != L"Value2") return DISP_E_UNKNOWNNAME;
    *ids = name == L"Value" ? 1 : 2;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    std::vector<VARIANT> items = value;
    if (id == 2) {
      ++value2_reads;
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].vt == VT_CY || items[i].vt == VT_DATE || items[i].vt == VT_R8) {
          items[i] = DoubleVariant(numbers[i]);
        }
      }
    }
    if (items.size() == 1) {
      *result = items[0];
      return S_OK;
    }
    SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(items.size()), 1}, {1, 1}};
    SAFEARRAY* sa = ::SafeArrayCreate(VT_VARIANT, 2, bounds);
    for (LONG row = 1; row <= static_cast<LONG>(items.size()); ++row) {
      LONG at[2] = {row, 1};
      ::SafeArrayPutElement(sa, at, &items[row - 1]);
    }
    result->vt = VT_ARRAY | VT_VARIANT;
    result->parray = sa;
    return S_OK;
  }
};

win32::ComPtr<IDispatch> Hold(CellServer& c) {
  c.AddRef();
  return win32::ComPtr<IDispatch>::Adopt(&c);
}

}  // namespace

// A number under a currency format comes from Excel's Value as a Currency, rounded to four
// decimals; the program reads the cell's own number through Value2 in its place, once per read,
// and only then. Dates keep their type; a read without a Currency asks for nothing more.
PLATFORM_TEST(CurrencyCellsAreReadWithTheirOwnNumbers) {
  const automation::Member value = automation::excel::range::kValue;
  CellServer cell;
  cell.value = {Currency(10001235)};
  cell.numbers = {1000.123456};
  win32::ComObject object(Hold(cell), std::make_shared<win32::DispatchIds>());
  CHECK(object.Get(value).value() == Value::Number(1000.123456));
  CHECK_INT(1, cell.value2_reads);

  CellServer plain;
  plain.value = {DoubleVariant(1000.123456)};
  plain.numbers = {1000.123456};
  win32::ComObject plain_object(Hold(plain), std::make_shared<win32::DispatchIds>());
  CHECK(plain_object.Get(value).value() == Value::Number(1000.123456));
  CHECK_INT(0, plain.value2_reads);

  // A column: the currency cell gets its own number, the date stays a Date, the Double as it is.
  CellServer column;
  column.value = {Currency(12345679), DateVariant(46366), DoubleVariant(7)};
  column.numbers = {1234.56789, 46366, 7};
  win32::ComObject column_object(Hold(column), std::make_shared<win32::DispatchIds>());
  const automation::Variant read = column_object.Get(value);
  CHECK(read.is_array());
  if (read.is_array() && read.array().items.size() == 3) {
    CHECK(read.array().at(0, 0) == Value::Number(1234.56789));
    CHECK(read.array().at(1, 0) == Value::FromDate(46366));
    CHECK(read.array().at(2, 0) == Value::Number(7));
  }
  CHECK_INT(1, column.value2_reads);
}

// A Currency is the number of ten-thousandths it holds: exact for Excel's four decimals, its
// text form as the runtime writes a number, whole numbers as Long with halves to even.
PLATFORM_TEST(CurrencyValuesReadAsTheirNumbers) {
  const struct {
    LONGLONG ten_thousandths;
    double number;
    const wchar_t* text;
    long long whole;
    bool fits_long;  // otherwise overflow, error 6
  } cases[] = {
      {10000000, 1000, L"1000", 1000, true},
      {10005000, 1000.5, L"1000.5", 1000, true},  // half to even
      {10015000, 1001.5, L"1001.5", 1002, true},
      {12345678, 1234.5678, L"1234.5678", 1235, true},
      {-5, -0.0005, L"-0.0005", 0, true},
      {-123450000, -12345, L"-12345", -12345, true},
      {0, 0, L"0", 0, true},
      {9223372036854775807LL, 922337203685477.5807, L"922337203685478", 0, false},
  };
  for (const auto& c : cases) {
    const VARIANT v = Currency(c.ten_thousandths);
    const Value value = win32::ValueOfVariant(v);
    CHECK(value.is_number());
    CHECK(value == Value::Number(c.number));
    CHECK_TEXT(c.text, rt::TextForm(value));
    CHECK(rt::IsNumericValue(value));
    if (c.fits_long) {
      CHECK_INT(c.whole, automation::LongOf(value));
    } else {
      CHECK_INT(6, ErrorOf([&] { automation::LongOf(value); }));
    }
  }
}

// A Date keeps its serial and is no number to the runtime: its text form is the date, with the
// time when it has one.
PLATFORM_TEST(DateValuesReadAsDates) {
  const struct {
    double serial;
    const wchar_t* text;
  } cases[] = {
      {46366, L"2026/12/10"},
      {46027.5, L"2026/01/05 12:00:00"},
      {61, L"1900/03/01"},
      {2958465, L"9999/12/31"},
  };
  for (const auto& c : cases) {
    const Value value = win32::ValueOfVariant(DateVariant(c.serial));
    CHECK(value == Value::FromDate(c.serial));
    CHECK_TEXT(c.text, rt::TextForm(value));
    CHECK(!rt::IsNumericValue(value));
    // A date goes back to the host as a Date, unchanged.
    win32::Variant back;
    win32::PutValue(value, back.put());
    CHECK_INT(VT_DATE, back.get()->vt);
    CHECK(back.get()->date == c.serial);
  }
}

// Excel's whole numbers come as Doubles: the same values as the Longs of before.
PLATFORM_TEST(WholeDoublesReadAsNumbers) {
  for (const double d : {7.0, -5.0, 0.0, 123456789.0, 1e15}) {
    const Value value = win32::ValueOfVariant(DoubleVariant(d));
    CHECK(value == Value::Number(d));
  }
  for (const LONG n : {7, -5, 0, 123456789}) {
    VARIANT as_long;
    ::VariantInit(&as_long);
    as_long.vt = VT_I4;
    as_long.lVal = n;
    CHECK(win32::ValueOfVariant(as_long) == win32::ValueOfVariant(DoubleVariant(n)));
  }
  CHECK_TEXT(L"7", rt::TextForm(win32::ValueOfVariant(DoubleVariant(7))));
  CHECK_TEXT(L"1E+15", rt::TextForm(win32::ValueOfVariant(DoubleVariant(1e15))));
}

// A Currency or a Date passed by reference reads as the value itself.
PLATFORM_TEST(CurrencyAndDateByReference) {
  CY cy;
  cy.int64 = 15000;
  VARIANT by_ref;
  ::VariantInit(&by_ref);
  by_ref.vt = VT_BYREF | VT_CY;
  by_ref.pcyVal = &cy;
  CHECK(win32::ValueOfVariant(by_ref) == Value::Number(1.5));
  DATE date = 46366;
  by_ref.vt = VT_BYREF | VT_DATE;
  by_ref.pdate = &date;
  CHECK(win32::ValueOfVariant(by_ref) == Value::FromDate(46366));
}

// A column read at once, as Excel gives it: an array of Variants mixing Currency, Date, Double,
// text and empty cells, 1-based, the row index first.
PLATFORM_TEST(ColumnArraysMixCurrencyDateAndDouble) {
  SAFEARRAYBOUND bounds[2] = {{5, 1}, {1, 1}};
  win32::SafeArray sa(::SafeArrayCreate(VT_VARIANT, 2, bounds));
  std::vector<VARIANT> items = {Currency(10005000), DateVariant(46366), DoubleVariant(42)};
  VARIANT text;
  ::VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = ::SysAllocString(L"メモ");
  items.push_back(text);
  VARIANT empty;
  ::VariantInit(&empty);
  items.push_back(empty);
  for (LONG row = 1; row <= 5; ++row) {
    LONG at[2] = {row, 1};
    CHECK(SUCCEEDED(::SafeArrayPutElement(sa.get(), at, &items[row - 1])));
  }
  ::VariantClear(&text);
  const automation::Array column = win32::ArrayOfSafeArray(sa.get(), VT_VARIANT);
  CHECK_INT(5, column.rows);
  CHECK_INT(1, column.columns);
  CHECK(column.at(0, 0) == Value::Number(1000.5));
  CHECK(column.at(1, 0) == Value::FromDate(46366));
  CHECK(column.at(2, 0) == Value::Number(42));
  CHECK(column.at(3, 0) == Value::Text(L"メモ"));
  CHECK(column.at(4, 0).is_empty());

  // Arrays of the plain types read element by element.
  SAFEARRAYBOUND bound{2, 0};
  win32::SafeArray currencies(::SafeArrayCreate(VT_CY, 1, &bound));
  win32::SafeArray dates(::SafeArrayCreate(VT_DATE, 1, &bound));
  for (LONG i = 0; i < 2; ++i) {
    CY cy;
    cy.int64 = 12345 * (i + 1);
    DATE date = 46366 + i;
    CHECK(SUCCEEDED(::SafeArrayPutElement(currencies.get(), &i, &cy)));
    CHECK(SUCCEEDED(::SafeArrayPutElement(dates.get(), &i, &date)));
  }
  const automation::Array cy_list = win32::ArrayOfSafeArray(currencies.get(), VT_CY);
  CHECK(cy_list.items[1] == Value::Number(2.469));
  const automation::Array date_list = win32::ArrayOfSafeArray(dates.get(), VT_DATE);
  CHECK(date_list.items[1] == Value::FromDate(46367));
}
