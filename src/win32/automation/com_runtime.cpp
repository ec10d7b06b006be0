#include "win32/automation/com_runtime.h"

#include <string>

#include "automation/error_numbers.h"
#include "runtime/automation_error.h"

namespace harumado::win32 {
namespace {

// The class of a ProgID; an unknown one fails as the runtime reports it (429).
CLSID ClassOf(std::wstring_view prog_id) {
  const std::wstring name(prog_id);
  CLSID clsid{};
  const HRESULT hr = ::CLSIDFromProgID(name.c_str(), &clsid);
  if (FAILED(hr)) ThrowCallFailure(hr, nullptr, name);
  return clsid;
}

}  // namespace

ComRuntime::ComRuntime() = default;

automation::ObjectRef ComRuntime::Wrap(IUnknown* unknown) {
  ComPtr<IDispatch> dispatch;
  const HRESULT hr = unknown->QueryInterface(IID_IDispatch, dispatch.put_void());
  if (FAILED(hr)) ThrowCallFailure(hr, nullptr, L"IDispatch");
  return std::make_shared<ComObject>(std::move(dispatch), ids_);
}

// The instance registered in the running object table; with none, MK_E_UNAVAILABLE (429).
automation::ObjectRef ComRuntime::GetActiveObject(std::wstring_view prog_id) {
  const CLSID clsid = ClassOf(prog_id);
  ComPtr<IUnknown> unknown;
  const HRESULT hr = ::GetActiveObject(clsid, nullptr, unknown.put());
  if (FAILED(hr)) ThrowCallFailure(hr, nullptr, std::wstring(prog_id));
  return Wrap(unknown.get());
}

// Excel runs as a local server of its own; COM starts it when needed.
automation::ObjectRef ComRuntime::CreateObject(std::wstring_view prog_id) {
  const CLSID clsid = ClassOf(prog_id);
  ComPtr<IUnknown> unknown;
  const HRESULT hr =
      ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, unknown.put_void());
  if (FAILED(hr)) ThrowCallFailure(hr, nullptr, std::wstring(prog_id));
  return Wrap(unknown.get());
}

bool ComRuntime::HasClass(std::wstring_view prog_id) {
  const std::wstring name(prog_id);
  CLSID clsid{};
  return SUCCEEDED(::CLSIDFromProgID(name.c_str(), &clsid));
}

bool ComRuntime::IsRunning(std::wstring_view prog_id) {
  const std::wstring name(prog_id);
  CLSID clsid{};
  if (FAILED(::CLSIDFromProgID(name.c_str(), &clsid))) return false;
  ComPtr<IUnknown> unknown;
  return SUCCEEDED(::GetActiveObject(clsid, nullptr, unknown.put()));
}

}  // namespace harumado::win32
