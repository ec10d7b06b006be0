#pragma once
// A COM object that lives as long as the process that serves it (a class object, a message
// filter): its reference counts are fixed and it is never deleted through them. It answers for
// IUnknown and for its one interface I.
#include "win32/win32_api.h"

namespace harumado::doubles {

template <typename I>
class ProcessObject : public I {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == __uuidof(I)) {
      *out = static_cast<I*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

}  // namespace harumado::doubles
