#pragma once
// A COM object that lives as long as the process that serves it (a class object, a message
// filter): its reference counts are fixed and it is never deleted through them.
#include "query_interface.h"

namespace harumado::doubles {

template <typename I>
class ProcessObject : public I {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return QueryOneInterface<I>(this, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

}  // namespace harumado::doubles
