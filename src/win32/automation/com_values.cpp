#include "win32/automation/com_values.h"

#include <cmath>
#include <limits>

#include "automation/error_numbers.h"
#include "runtime/automation_error.h"

namespace harumado::win32 {
namespace {

// A cell error value is an SCODE in the control facility: 2007 -> #DIV/0!.
constexpr std::uint32_t kCellErrorBase = automation::hresult::kControlFacility;
constexpr HRESULT kParamNotFound = static_cast<HRESULT>(automation::hresult::kParamNotFound);

[[noreturn]] void TypeMismatch() { throw rt::AutomationError(rt::err::kTypeMismatch); }

bool FitsLong(double d) {
  return std::trunc(d) == d && d >= std::numeric_limits<std::int32_t>::min() &&
         d <= std::numeric_limits<std::int32_t>::max() && !(d == 0 && std::signbit(d));
}

}  // namespace

void PutValue(const rt::Value& value, VARIANT* out) {
  ::VariantInit(out);
  switch (value.kind()) {
    case rt::Value::Kind::kEmpty:
      return;
    case rt::Value::Kind::kNumber:
      if (FitsLong(value.number())) {
        out->vt = VT_I4;
        out->lVal = static_cast<LONG>(value.number());
      } else {
        out->vt = VT_R8;
        out->dblVal = value.number();
      }
      return;
    case rt::Value::Kind::kText:
      out->vt = VT_BSTR;
      out->bstrVal =
          ::SysAllocStringLen(value.text().data(), static_cast<UINT>(value.text().size()));
      if (out->bstrVal == nullptr) throw rt::AutomationError(7);  // out of memory
      return;
    case rt::Value::Kind::kLogical:
      out->vt = VT_BOOL;
      out->boolVal = value.logical() ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case rt::Value::Kind::kDate:
      out->vt = VT_DATE;
      out->date = value.date_serial();
      return;
    case rt::Value::Kind::kError:
      out->vt = VT_ERROR;
      out->scode =
          static_cast<SCODE>(kCellErrorBase | static_cast<std::uint32_t>(value.error_code()));
      return;
  }
}

// Numbers of every width become Double; a missing argument reads as empty.
rt::Value ValueOfVariant(const VARIANT& v) {
  switch (v.vt) {
    case VT_EMPTY:
      return rt::Value();
    case VT_BSTR:
      return rt::Value::Text(v.bstrVal != nullptr
                                 ? std::wstring(v.bstrVal, ::SysStringLen(v.bstrVal))
                                 : std::wstring());
    case VT_BOOL:
      return rt::Value::Logical(v.boolVal != VARIANT_FALSE);
    case VT_DATE:
      return rt::Value::FromDate(v.date);
    case VT_ERROR: {
      const auto code = static_cast<std::uint32_t>(v.scode);
      if (v.scode == kParamNotFound) return rt::Value();
      if ((code & 0xFFFF0000u) == kCellErrorBase) {
        return rt::Value::Error(static_cast<std::int32_t>(code & 0xFFFFu));
      }
      return rt::Value::Error(static_cast<std::int32_t>(code));
    }
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL: {
      Variant number;
      if (FAILED(::VariantChangeType(number.get(), const_cast<VARIANT*>(&v), 0, VT_R8))) {
        TypeMismatch();
      }
      return rt::Value::Number(number.get()->dblVal);
    }
    default:
      if ((v.vt & VT_BYREF) != 0) {
        Variant copy;
        if (FAILED(::VariantCopyInd(copy.get(), const_cast<VARIANT*>(&v)))) TypeMismatch();
        return ValueOfVariant(*copy.get());
      }
      TypeMismatch();
  }
}

// Row by row: element (r, c) of a two-dimensional array has r as its first (leftmost) index.
// SAFEARRAY data lie with the leftmost index changing fastest; an array of a plain type is read
// element by element.
automation::Array ArrayOfSafeArray(const SAFEARRAY* array, VARTYPE element_type) {
  auto* sa = const_cast<SAFEARRAY*>(array);
  const UINT dims = ::SafeArrayGetDim(sa);
  if (dims < 1 || dims > 2) TypeMismatch();
  LONG low[2] = {0, 0};
  LONG high[2] = {-1, 0};
  for (UINT d = 0; d < dims; ++d) {
    if (FAILED(::SafeArrayGetLBound(sa, d + 1, &low[d])) ||
        FAILED(::SafeArrayGetUBound(sa, d + 1, &high[d]))) {
      TypeMismatch();
    }
  }
  automation::Array out;
  out.dimensions = static_cast<int>(dims);
  out.rows = high[0] - low[0] + 1;
  out.columns = dims == 2 ? high[1] - low[1] + 1 : 1;
  if (out.rows < 0 || out.columns < 0) TypeMismatch();
  out.items.resize(static_cast<std::size_t>(out.rows) * out.columns);
  if (element_type == VT_VARIANT) {
    SafeArrayData data(sa);
    if (!data.ok()) TypeMismatch();
    for (std::int32_t r = 0; r < out.rows; ++r) {
      for (std::int32_t c = 0; c < out.columns; ++c) {
        out.items[static_cast<std::size_t>(r) * out.columns + c] =
            ValueOfVariant(data.as<VARIANT>()[static_cast<std::size_t>(c) * out.rows + r]);
      }
    }
    return out;
  }
  for (std::int32_t r = 0; r < out.rows; ++r) {
    for (std::int32_t c = 0; c < out.columns; ++c) {
      // The indices in their written order: row, then column.
      LONG indices[2] = {low[0] + r, low[1] + c};
      Variant element;
      element.get()->vt = element_type;
      if (FAILED(::SafeArrayGetElement(sa, indices, &element.get()->llVal))) TypeMismatch();
      out.items[static_cast<std::size_t>(r) * out.columns + c] = ValueOfVariant(*element.get());
    }
  }
  return out;
}

SafeArray SafeArrayOf(const automation::Array& array) {
  SAFEARRAYBOUND bounds[2];
  const UINT dims = array.dimensions == 2 ? 2 : 1;
  // The bounds are given leftmost first: the row index, then the column index.
  bounds[0].lLbound = 1;
  bounds[0].cElements = static_cast<ULONG>(array.rows);
  bounds[1].lLbound = 1;
  bounds[1].cElements = static_cast<ULONG>(array.columns);
  SafeArray sa(::SafeArrayCreate(VT_VARIANT, dims, bounds));
  if (!sa.get()) throw rt::AutomationError(7);
  SafeArrayData data(sa.get());
  if (!data.ok()) TypeMismatch();
  for (std::int32_t r = 0; r < array.rows; ++r) {
    for (std::int32_t c = 0; c < array.columns; ++c) {
      PutValue(array.at(r, c), &data.as<VARIANT>()[static_cast<std::size_t>(c) * array.rows + r]);
    }
  }
  return sa;
}

}  // namespace harumado::win32
