#include "class_factory.h"

#include <utility>

namespace harumado::doubles {

ClassFactory::ClassFactory(std::function<IUnknown*()> make, std::function<void()> handed_out)
    : make_(std::move(make)), handed_out_(std::move(handed_out)) {}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  IUnknown* object = make_();
  if (object == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  if (SUCCEEDED(hr) && handed_out_) handed_out_();
  return hr;
}

}  // namespace harumado::doubles
