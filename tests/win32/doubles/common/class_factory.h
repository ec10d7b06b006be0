#pragma once
// The class object of a double's class: each CreateInstance makes a new instance. It lives as
// long as the process (or, in a DLL, as the module) and is registered or handed out as it is.
#include <functional>

#include "process_object.h"

namespace harumado::doubles {

class ClassFactory final : public ProcessObject<IClassFactory> {
 public:
  // `make` returns a new instance with one reference, which the factory gives up once it has
  // asked the instance for the interface the client wants; `handed_out` is told of every
  // instance a client took.
  explicit ClassFactory(std::function<IUnknown*()> make, std::function<void()> handed_out = {});

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  std::function<IUnknown*()> make_;
  std::function<void()> handed_out_;
};

}  // namespace harumado::doubles
