#pragma once
// QueryInterface for an object of the doubles that offers one interface I: it answers for I,
// for IUnknown and, when I is a dispatch interface, for IDispatch, with a new reference.
#include <type_traits>

#include "win32/win32_api.h"

namespace harumado::doubles {

template <typename I>
HRESULT QueryOneInterface(I* self, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == __uuidof(I) ||
      (std::is_base_of_v<IDispatch, I> && iid == IID_IDispatch)) {
    *out = self;
    self->AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

}  // namespace harumado::doubles
