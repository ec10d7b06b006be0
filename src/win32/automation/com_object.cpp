#include "win32/automation/com_object.h"

#include <vector>

#include "automation/error_numbers.h"
#include "automation/excel_members.h"
#include "runtime/automation_error.h"
#include "win32/automation/com_values.h"

namespace harumado::win32 {
namespace {

WORD DispatchFlags(automation::CallKind kind) {
  switch (kind) {
    case automation::CallKind::kGet:
      return DISPATCH_PROPERTYGET | DISPATCH_METHOD;
    case automation::CallKind::kPut:
      return DISPATCH_PROPERTYPUT;
    case automation::CallKind::kMethod:
      break;
  }
  return DISPATCH_METHOD;
}

std::wstring Described(const automation::Member& member) {
  return std::wstring(member.interface_name) + L"." + std::wstring(member.name);
}

// The arguments, owned: IDispatch takes them last to first, as one array of VARIANTARG.
static_assert(sizeof(Variant) == sizeof(VARIANT));
class Arguments {
 public:
  explicit Arguments(automation::Arguments args) : values_(args.size()) {
    for (std::size_t i = 0; i < args.size(); ++i) Put(args[i], values_[args.size() - 1 - i].get());
  }
  VARIANTARG* data() { return values_.empty() ? nullptr : values_.front().get(); }
  UINT size() const { return static_cast<UINT>(values_.size()); }

 private:
  static void Put(const automation::Variant& a, VARIANT* out) {
    switch (a.kind()) {
      case automation::Variant::Kind::kValue:
        PutValue(a.value(), out);
        return;
      case automation::Variant::Kind::kNull:
        out->vt = VT_NULL;
        return;
      case automation::Variant::Kind::kArray:
        out->vt = VT_ARRAY | VT_VARIANT;
        out->parray = SafeArrayOf(a.array()).release();
        return;
      case automation::Variant::Kind::kObject:
        out->vt = VT_DISPATCH;
        out->pdispVal = nullptr;
        if (a.is_nothing()) return;
        if (const auto* com = dynamic_cast<const ComObject*>(a.object().get())) {
          out->pdispVal = com->dispatch();
          out->pdispVal->AddRef();
          return;
        }
        throw rt::AutomationError(rt::err::kTypeMismatch);
    }
  }

  std::vector<Variant> values_;
};

constexpr automation::Member kCellValue = automation::excel::range::kValue;
constexpr automation::Member kCellValue2{automation::excel::interface_name::kRange, L"Value2"};

// A cell value that Excel gave as a Currency (a number under a currency format), alone or in an
// array of Variants.
bool HoldsCurrency(const VARIANT& v) {
  if (v.vt == VT_CY) return true;
  if (v.vt != (VT_ARRAY | VT_VARIANT) || v.parray == nullptr) return false;
  std::size_t count = 1;
  for (UINT d = 1; d <= ::SafeArrayGetDim(v.parray); ++d) {
    LONG low = 0;
    LONG high = -1;
    if (FAILED(::SafeArrayGetLBound(v.parray, d, &low)) ||
        FAILED(::SafeArrayGetUBound(v.parray, d, &high)) || high < low) {
      return false;
    }
    count *= static_cast<std::size_t>(high - low + 1);
  }
  SafeArrayData data(v.parray);
  if (!data.ok()) return false;
  for (std::size_t i = 0; i < count; ++i) {
    if (data.as<VARIANT>()[i].vt == VT_CY) return true;
  }
  return false;
}

// The numbers of `exact` in place of those of `rounded`, where both hold a number (dates and
// texts stay as read).
automation::Variant WithExactNumbers(const automation::Variant& rounded,
                                     const automation::Variant& exact) {
  if (rounded.is_value()) {
    return exact.is_value() && rounded.value().is_number() && exact.value().is_number() ? exact
                                                                                        : rounded;
  }
  if (!rounded.is_array() || !exact.is_array()) return rounded;
  automation::Array merged = rounded.array();
  const automation::Array& numbers = exact.array();
  if (numbers.items.size() != merged.items.size()) return rounded;
  for (std::size_t i = 0; i < merged.items.size(); ++i) {
    if (merged.items[i].is_number() && numbers.items[i].is_number()) {
      merged.items[i] = numbers.items[i];
    }
  }
  return merged;
}

// The one call through IDispatch::Invoke; a failure is thrown as the program sees it.
Variant CallDispatch(IDispatch* dispatch, DISPID id, WORD flags, DISPPARAMS& params,
                     bool wants_result, std::wstring_view what) {
  Variant result;
  ExceptionInfo exception;
  const HRESULT hr =
      dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                       wants_result ? result.put() : nullptr, exception.get(), nullptr);
  if (FAILED(hr)) ThrowCallFailure(hr, &exception, what);
  return result;
}

}  // namespace

DISPID DispatchIds::Lookup(IDispatch* object, const automation::Member& member) {
  auto key = std::make_pair(std::wstring(member.interface_name), std::wstring(member.name));
  if (auto it = ids_.find(key); it != ids_.end()) return it->second;
  DISPID id = DISPID_UNKNOWN;
  std::wstring name(member.name);
  LPOLESTR names[] = {name.data()};
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) ThrowCallFailure(hr, nullptr, Described(member));
  ids_.emplace(std::move(key), id);
  return id;
}

// A property write names its value as the DISPID_PROPERTYPUT argument.
automation::Variant ComObject::Invoke(const automation::Member& member, automation::CallKind kind,
                                      automation::Arguments args) {
  const DISPID id = ids_->Lookup(dispatch_.get(), member);
  Arguments values(args);
  DISPPARAMS params{};
  params.rgvarg = values.data();
  params.cArgs = values.size();
  DISPID put = DISPID_PROPERTYPUT;
  if (kind == automation::CallKind::kPut) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  const Variant result = CallDispatch(dispatch_.get(), id, DispatchFlags(kind), params,
                                      kind != automation::CallKind::kPut, Described(member));
  // Excel gives a number under a currency format as a Currency, rounded to four decimals; the
  // cell's number itself is read again through Value2 (which has no currency or date types).
  // A failure of that second read leaves the value as Value gave it.
  if (kind == automation::CallKind::kGet && member.interface_name == kCellValue.interface_name &&
      member.name == kCellValue.name && HoldsCurrency(*result.get())) {
    const automation::Variant rounded = Result(*result.get());
    try {
      return WithExactNumbers(rounded, Invoke(kCellValue2, automation::CallKind::kGet, args));
    } catch (const rt::AutomationError&) {
      return rounded;
    }
  }
  return Result(*result.get());
}

// A collection hands out its items through the enumerator of its _NewEnum member.
std::vector<automation::Variant> ComObject::Items() {
  DISPPARAMS none{};
  const Variant enumerator =
      CallDispatch(dispatch_.get(), DISPID_NEWENUM, DISPATCH_PROPERTYGET | DISPATCH_METHOD, none,
                   true, L"_NewEnum");
  const VARIANT& e = *enumerator.get();
  IUnknown* unknown = e.vt == VT_UNKNOWN ? e.punkVal : e.vt == VT_DISPATCH ? e.pdispVal : nullptr;
  if (unknown == nullptr) throw rt::AutomationError(rt::err::kObjectNotSet, L"_NewEnum");
  ComPtr<IEnumVARIANT> items;
  HRESULT hr = unknown->QueryInterface(IID_IEnumVARIANT, items.put_void());
  if (FAILED(hr)) ThrowCallFailure(hr, nullptr, L"IEnumVARIANT");
  std::vector<automation::Variant> out;
  for (;;) {
    Variant item;
    ULONG fetched = 0;
    hr = items->Next(1, item.put(), &fetched);
    if (FAILED(hr)) ThrowCallFailure(hr, nullptr, L"IEnumVARIANT");
    if (hr != S_OK || fetched != 1) return out;
    out.push_back(Result(*item.get()));
  }
}

automation::Variant ComObject::Result(const VARIANT& v) const {
  if ((v.vt & VT_ARRAY) != 0) {
    const SAFEARRAY* array = (v.vt & VT_BYREF) != 0 ? *v.pparray : v.parray;
    if (array == nullptr) return automation::Array{};
    return ArrayOfSafeArray(array, static_cast<VARTYPE>(v.vt & VT_TYPEMASK));
  }
  switch (v.vt) {
    case VT_NULL:
      return automation::Variant::Null();
    case VT_DISPATCH:
    case VT_UNKNOWN: {
      IUnknown* unknown = v.vt == VT_DISPATCH ? v.pdispVal : v.punkVal;
      if (unknown == nullptr) return automation::Variant::Nothing();
      ComPtr<IDispatch> dispatch;
      const HRESULT hr = unknown->QueryInterface(IID_IDispatch, dispatch.put_void());
      if (FAILED(hr)) ThrowCallFailure(hr, nullptr, L"IDispatch");
      return automation::ObjectRef(std::make_shared<ComObject>(std::move(dispatch), ids_));
    }
    default:
      return ValueOfVariant(v);
  }
}

// The exception record names the server's own error: its scode, or its wCode as a run-time
// error number.
void ThrowCallFailure(HRESULT hr, ExceptionInfo* exception, std::wstring_view what) {
  std::wstring description(what);
  if (hr == DISP_E_EXCEPTION && exception != nullptr) {
    exception->FillIn();
    const EXCEPINFO& record = *exception->get();
    const std::int32_t number =
        record.scode != 0 ? automation::ErrorNumberFor(static_cast<std::uint32_t>(record.scode))
                          : record.wCode;
    if (record.bstrDescription != nullptr) description = exception->description();
    throw rt::AutomationError(number, description);
  }
  throw rt::AutomationError(automation::ErrorNumberFor(static_cast<std::uint32_t>(hr)),
                            description);
}

}  // namespace harumado::win32
