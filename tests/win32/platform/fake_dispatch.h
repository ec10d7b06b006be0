#pragma once
// The part that every automation object served by the platform tests shares: IUnknown and no
// type information. Each test object adds its names and its Invoke; `references` counts what the
// code under test still holds.
// The Windows headers first: oaidl.h needs them.
#include "win32/win32_api.h"
// clang-format off
#include <oaidl.h>
// clang-format on

namespace harumado::platform_test {

class FakeDispatch : public IDispatch {
 public:
  ULONG references = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
};

}  // namespace harumado::platform_test
