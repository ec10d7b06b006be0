// The automation runtime over COM, in process: values to and from VARIANT and SAFEARRAY, member
// identifiers asked for once per interface and name, arguments in their order, property writes,
// the server's exception record as the error number, and the busy policy's answers.
#include <map>
#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "fake_dispatch.h"
#include "platform_test.h"
#include "runtime/automation_error.h"
#include "win32/automation/busy_message_filter.h"
#include "win32/automation/com_object.h"
#include "win32/automation/com_values.h"

namespace {

using harumado::rt::Value;
namespace automation = harumado::automation;
namespace win32 = harumado::win32;

template <typename F>
long long ErrorOf(F&& f) {
  try {
    f();
  } catch (const harumado::rt::AutomationError& e) {
    return e.number();
  }
  return 0;
}

// A small automation object: "Sum"(a, b, c) gives a*100 + b*10 + c, "Text" is a property that
// can be written, "Fail" raises Excel's 1004 through the exception record, "Self" gives itself.
class Calculator final : public harumado::platform_test::FakeDispatch {
 public:
  std::map<std::wstring, int> lookups;
  std::wstring text = L"初め";
  WORD last_flags = 0;

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                          DISPID* ids) override {
    static const std::map<std::wstring, DISPID> kIds = {
        {L"Sum", 1}, {L"Text", 2}, {L"Fail", 3}, {L"Self", 4}};
    ++lookups[names[0]];
    const auto it = kIds.find(names[0]);
    if (it == kIds.end()) return DISP_E_UNKNOWNNAME;
    *ids = it->second;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    last_flags = flags;
    switch (id) {
      case 1: {  // arguments arrive last to first
        if (p->cArgs != 3) return DISP_E_BADPARAMCOUNT;
        const long sum = p->rgvarg[2].lVal * 100 + p->rgvarg[1].lVal * 10 + p->rgvarg[0].lVal;
        result->vt = VT_I4;
        result->lVal = sum;
        return S_OK;
      }
      case 2:
        if (flags & DISPATCH_PROPERTYPUT) {
          if (p->cNamedArgs != 1 || p->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT ||
              p->rgvarg[0].vt != VT_BSTR) {
            return DISP_E_PARAMNOTFOUND;
          }
          text = p->rgvarg[0].bstrVal;
          return S_OK;
        }
        result->vt = VT_BSTR;
        result->bstrVal = ::SysAllocString(text.c_str());
        return S_OK;
      case 3:
        win32::ExceptionInfo(static_cast<SCODE>(0x800A03ECu), nullptr,
                             L"アプリケーション定義のエラー")
            .HandOver(exception);
        return DISP_E_EXCEPTION;
      case 4:
        result->vt = VT_DISPATCH;
        result->pdispVal = this;
        AddRef();
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }
};

constexpr automation::Member kSum{L"Calculator", L"Sum"};
constexpr automation::Member kText{L"Calculator", L"Text"};
constexpr automation::Member kFail{L"Calculator", L"Fail"};
constexpr automation::Member kSelf{L"Calculator", L"Self"};
constexpr automation::Member kMissing{L"Calculator", L"Missing"};

win32::ComPtr<IDispatch> Hold(Calculator& c) {
  c.AddRef();
  return win32::ComPtr<IDispatch>::Adopt(&c);
}

}  // namespace

PLATFORM_TEST(ValuesGoToVariantsAndBack) {
  const Value values[] = {Value(),
                          Value::Number(42),
                          Value::Number(-7.25),
                          Value::Number(1e15),
                          Value::Text(L"東京 ￥1,000"),
                          Value::Logical(true),
                          Value::Logical(false),
                          Value::FromDate(45000.5),
                          Value::Error(2007)};
  for (const Value& v : values) {
    win32::Variant variant;
    win32::PutValue(v, variant.put());
    CHECK(win32::ValueOfVariant(*variant.get()) == v);
  }
  win32::Variant whole;
  win32::PutValue(Value::Number(12), whole.put());
  CHECK_INT(VT_I4, whole.get()->vt);
  win32::Variant fraction;
  win32::PutValue(Value::Number(0.5), fraction.put());
  CHECK_INT(VT_R8, fraction.get()->vt);
  win32::Variant error;
  win32::PutValue(Value::Error(2007), error.put());
  CHECK_INT(VT_ERROR, error.get()->vt);
  CHECK_INT(static_cast<long long>(0x800A07D7u), static_cast<unsigned>(error.get()->scode));
}

// A range's values: the first index is the row, lower bounds 1 as Excel gives them.
PLATFORM_TEST(TwoDimensionalArraysKeepRowsAndColumns) {
  automation::Array cells;
  cells.dimensions = 2;
  cells.rows = 3;
  cells.columns = 2;
  for (int i = 0; i < 6; ++i) cells.items.push_back(Value::Number(i));  // row by row
  win32::SafeArray sa = win32::SafeArrayOf(cells);
  LONG row_then_column[2] = {2, 1};  // row 2, column 1, as the automation runtime indexes
  win32::Variant element;
  CHECK(SUCCEEDED(::SafeArrayGetElement(sa.get(), row_then_column, element.put())));
  CHECK(win32::ValueOfVariant(*element.get()) == Value::Number(2));  // row 2, column 1
  const automation::Array back = win32::ArrayOfSafeArray(sa.get(), VT_VARIANT);
  CHECK_INT(3, back.rows);
  CHECK_INT(2, back.columns);
  CHECK(back.items == cells.items);
}

PLATFORM_TEST(TypedListsWithAnyLowerBoundAreRead) {
  SAFEARRAYBOUND bound{3, 0};
  win32::SafeArray sa(::SafeArrayCreate(VT_I4, 1, &bound));
  for (LONG i = 0; i < 3; ++i) {
    LONG value = 10 + i;
    ::SafeArrayPutElement(sa.get(), &i, &value);
  }
  const automation::Array list = win32::ArrayOfSafeArray(sa.get(), VT_I4);
  CHECK_INT(1, list.dimensions);
  CHECK_INT(3, list.rows);
  CHECK(list.items[2] == Value::Number(12));

  SAFEARRAYBOUND bounds[2] = {{2, 1}, {3, 1}};  // 2 rows, 3 columns
  win32::SafeArray grid(::SafeArrayCreate(VT_I4, 2, bounds));
  for (LONG row = 1; row <= 2; ++row) {
    for (LONG column = 1; column <= 3; ++column) {
      LONG at[2] = {row, column};
      LONG value = row * 10 + column;
      ::SafeArrayPutElement(grid.get(), at, &value);
    }
  }
  const automation::Array cells = win32::ArrayOfSafeArray(grid.get(), VT_I4);
  CHECK_INT(2, cells.rows);
  CHECK_INT(3, cells.columns);
  CHECK(cells.at(1, 2) == Value::Number(23));
  CHECK(cells.at(0, 1) == Value::Number(12));
}

PLATFORM_TEST(MembersAreLookedUpOncePerInterfaceAndName) {
  Calculator calculator;
  auto ids = std::make_shared<win32::DispatchIds>();
  win32::ComObject first(Hold(calculator), ids);
  win32::ComObject second(Hold(calculator), ids);
  CHECK(first.Get(kSum, {Value::Number(1), Value::Number(2), Value::Number(3)}).value() ==
        Value::Number(123));
  CHECK(second.Get(kSum, {Value::Number(4), Value::Number(5), Value::Number(6)}).value() ==
        Value::Number(456));
  CHECK_INT(1, calculator.lookups[L"Sum"]);
  // The same name of another interface is looked up for that interface.
  win32::ComObject other(Hold(calculator), ids);
  other.Get({L"Other", L"Sum"}, {Value::Number(0), Value::Number(0), Value::Number(1)});
  CHECK_INT(2, calculator.lookups[L"Sum"]);
  CHECK_INT(DISPATCH_PROPERTYGET | DISPATCH_METHOD, calculator.last_flags);
}

PLATFORM_TEST(PropertiesAreWrittenAndObjectsComeBack) {
  Calculator calculator;
  auto ids = std::make_shared<win32::DispatchIds>();
  win32::ComObject object(Hold(calculator), ids);
  object.Put(kText, Value::Text(L"書いた"));
  CHECK_TEXT(L"書いた", calculator.text);
  CHECK_INT(DISPATCH_PROPERTYPUT, calculator.last_flags);
  automation::ObjectRef self = object.GetObject(kSelf);
  CHECK(self->Get(kText).value() == Value::Text(L"書いた"));
  object.Call(kSelf);
  CHECK_INT(DISPATCH_METHOD, calculator.last_flags);
}

PLATFORM_TEST(FailuresCarryTheProgramsNumbers) {
  Calculator calculator;
  auto ids = std::make_shared<win32::DispatchIds>();
  win32::ComObject object(Hold(calculator), ids);
  CHECK_INT(1004, ErrorOf([&] { object.Call(kFail); }));
  try {
    object.Call(kFail);
  } catch (const harumado::rt::AutomationError& e) {
    CHECK_TEXT(L"アプリケーション定義のエラー", e.description());
  }
  CHECK_INT(438, ErrorOf([&] { object.Get(kMissing); }));
  CHECK_INT(450, ErrorOf([&] { object.Get(kSum, {Value::Number(1)}); }));
}

PLATFORM_TEST(ABusyServerIsRetriedForTheTimeout) {
  using win32::BusyMessageFilter;
  CHECK_INT(100, BusyMessageFilter::RetryAnswer(0, SERVERCALL_RETRYLATER, 1000));
  CHECK_INT(100, BusyMessageFilter::RetryAnswer(900, SERVERCALL_RETRYLATER, 1000));
  CHECK_INT(0xFFFFFFFF, BusyMessageFilter::RetryAnswer(950, SERVERCALL_RETRYLATER, 1000));
  CHECK_INT(0xFFFFFFFF, BusyMessageFilter::RetryAnswer(0, SERVERCALL_REJECTED, 1000));
  CHECK_INT(0xFFFFFFFF, BusyMessageFilter::RetryAnswer(0, SERVERCALL_RETRYLATER, 0));
}
