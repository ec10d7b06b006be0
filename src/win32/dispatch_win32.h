#pragma once
// Late-bound automation calls through IDispatch, by member name.
#include <initializer_list>
#include <string>

#include "win32/scoped.h"

namespace harumado::win32 {

// A text argument.
Variant TextArgument(const std::wstring& text);

// Calls a member (method or property get); the arguments are given in their written order.
// Throws rt::AutomationError with the failure's HRESULT.
Variant Invoke(IDispatch* object, const wchar_t* member, WORD flags,
               std::initializer_list<const Variant*> arguments = {});
Variant GetProperty(IDispatch* object, const wchar_t* member,
                    std::initializer_list<const Variant*> arguments = {});
// The object held by a result (VT_DISPATCH or VT_UNKNOWN); throws 91 when there is none.
ComPtr<IDispatch> ObjectOf(const Variant& value);
// The result as a text (VariantChangeType to BSTR).
std::wstring TextOf(const Variant& value);

// The items of a collection, enumerated through _NewEnum.
class CollectionEnumerator {
 public:
  explicit CollectionEnumerator(IDispatch* collection);
  // The next item, or false at the end.
  bool Next(Variant& item);

 private:
  ComPtr<IEnumVARIANT> enum_;
};

}  // namespace harumado::win32
