#include "win32/dispatch_win32.h"

#include <vector>

#include "runtime/automation_error.h"
#include "win32/errors_win32.h"

namespace harumado::win32 {

Variant TextArgument(const std::wstring& text) {
  Variant v;
  v.get()->vt = VT_BSTR;
  v.get()->bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return v;
}

// An exception raised by the server carries its own code in the exception record.
Variant Invoke(IDispatch* object, const wchar_t* member, WORD flags,
               std::initializer_list<const Variant*> arguments) {
  if (object == nullptr) throw rt::AutomationError(rt::err::kObjectNotSet, member);
  DISPID id = 0;
  auto* name = const_cast<LPOLESTR>(member);
  HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) ThrowHresult(hr, member);
  // IDispatch takes the arguments last to first.
  std::vector<VARIANTARG> args;
  args.reserve(arguments.size());
  for (auto it = std::rbegin(arguments); it != std::rend(arguments); ++it) {
    args.push_back(*(*it)->get());
  }
  DISPPARAMS params{};
  params.rgvarg = args.empty() ? nullptr : args.data();
  params.cArgs = static_cast<UINT>(args.size());
  Variant result;
  EXCEPINFO exception{};
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.put(), &exception,
                      nullptr);
  if (hr == DISP_E_EXCEPTION) {
    const HRESULT code = exception.scode != 0 ? exception.scode : hr;
    std::wstring what = exception.bstrDescription != nullptr ? exception.bstrDescription : member;
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    ThrowHresult(code, what);
  }
  if (FAILED(hr)) ThrowHresult(hr, member);
  return result;
}

Variant GetProperty(IDispatch* object, const wchar_t* member,
                    std::initializer_list<const Variant*> arguments) {
  return Invoke(object, member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, arguments);
}

ComPtr<IDispatch> ObjectOf(const Variant& value) {
  const VARIANT* v = value.get();
  ComPtr<IDispatch> object;
  if (v->vt == VT_DISPATCH && v->pdispVal != nullptr) {
    v->pdispVal->QueryInterface(IID_IDispatch, object.put_void());
  } else if (v->vt == VT_UNKNOWN && v->punkVal != nullptr) {
    v->punkVal->QueryInterface(IID_IDispatch, object.put_void());
  }
  if (!object) throw rt::AutomationError(rt::err::kObjectNotSet, L"object");
  return object;
}

std::wstring TextOf(const Variant& value) {
  Variant text;
  const HRESULT hr = ::VariantChangeType(text.get(), const_cast<VARIANT*>(value.get()), 0, VT_BSTR);
  if (FAILED(hr)) throw rt::AutomationError(rt::err::kTypeMismatch, L"text");
  const BSTR s = text.get()->bstrVal;
  return s != nullptr ? std::wstring(s, ::SysStringLen(s)) : std::wstring();
}

CollectionEnumerator::CollectionEnumerator(IDispatch* collection) {
  if (collection == nullptr) throw rt::AutomationError(rt::err::kObjectNotSet, L"collection");
  DISPPARAMS none{};
  Variant result;
  HRESULT hr = collection->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                                  DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none, result.put(),
                                  nullptr, nullptr);
  if (FAILED(hr)) ThrowHresult(hr, L"_NewEnum");
  IUnknown* unknown = result.get()->vt == VT_UNKNOWN    ? result.get()->punkVal
                      : result.get()->vt == VT_DISPATCH ? result.get()->pdispVal
                                                        : nullptr;
  if (unknown == nullptr) throw rt::AutomationError(rt::err::kObjectNotSet, L"_NewEnum");
  hr = unknown->QueryInterface(IID_IEnumVARIANT, enum_.put_void());
  if (FAILED(hr)) ThrowHresult(hr, L"IEnumVARIANT");
}

bool CollectionEnumerator::Next(Variant& item) {
  ULONG fetched = 0;
  const HRESULT hr = enum_->Next(1, item.put(), &fetched);
  if (FAILED(hr)) ThrowHresult(hr, L"Next");
  return hr == S_OK && fetched == 1;
}

}  // namespace harumado::win32
