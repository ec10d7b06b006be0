#include "win32/system_info_win32.h"

#include <cwchar>

#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "win32/automation/com_object.h"
#include "win32/errors_win32.h"
#include "win32/shell_win32.h"

namespace harumado::win32 {

SystemInfoWin32::SystemInfoWin32(std::function<void()> end_program)
    : end_program_(std::move(end_program)) {}

// The manifest declares Windows 10 as supported, so the call reports the real version rather
// than the 6.2 that the system gives programs it thinks are older.
std::int32_t SystemInfoWin32::VersionBuildNumber() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)  // GetVersionExA is deprecated, and used on purpose
#endif
  const BOOL ok = ::GetVersionExA(&info);
#if defined(_MSC_VER)
#pragma warning(pop)
#endif
  if (!ok) return 0;
  return static_cast<std::int32_t>(info.dwBuildNumber);
}

// The build number of every operating-system instance, read through the Properties_
// collection: the property is read as Properties_("BuildNumber").Value, which works on every
// system, where reading it by name directly does not.
std::vector<std::wstring> SystemInfoWin32::WmiBuildNumbers() {
  static constexpr automation::Member kInstancesOf{L"SWbemServices", L"InstancesOf"};
  static constexpr automation::Member kProperties{L"SWbemObject", L"Properties_"};
  static constexpr automation::Member kItem{L"SWbemPropertySet", L"Item"};
  static constexpr automation::Member kValue{L"SWbemProperty", L"Value"};
  ComPtr<IDispatch> services;
  const HRESULT hr = ::CoGetObject(L"winmgmts:", nullptr, IID_IDispatch, services.put_void());
  if (FAILED(hr)) ThrowHresult(hr, L"winmgmts:");
  ComObject root(std::move(services), std::make_shared<DispatchIds>());
  const automation::ObjectRef set =
      root.Call(kInstancesOf, {rt::Value::Text(L"Win32_OperatingSystem")}).object();
  auto* instances = dynamic_cast<ComObject*>(set.get());
  if (instances == nullptr) throw rt::AutomationError(rt::err::kObjectNotSet, L"InstancesOf");
  std::vector<std::wstring> builds;
  for (const automation::Variant& os : instances->Items()) {
    const automation::ObjectRef build =
        os.object()->GetObject(kProperties)->GetObject(kItem, {rt::Value::Text(L"BuildNumber")});
    builds.push_back(rt::TextForm(build->Get(kValue).value()));
  }
  return builds;
}

// One mutex per program file: its full path, without regard to case, names it.
std::wstring InstanceMutexName(const std::wstring& program_path) {
  std::wstring upper = program_path;
  if (!upper.empty()) {
    ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  }
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (wchar_t c : upper) {
    hash ^= static_cast<std::uint16_t>(c);
    hash *= 1099511628211ull;
  }
  wchar_t name[64];
  std::swprintf(name, 64, L"Local\\Harumado.%016llX", static_cast<unsigned long long>(hash));
  return name;
}

// The mutex is held for the whole run of the first instance.
bool SystemInfoWin32::AnotherInstanceRuns() {
  if (instance_mutex_) return false;
  const std::wstring name = InstanceMutexName(ProgramFilePath());
  UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
  const DWORD error = ::GetLastError();
  if (!mutex) return false;
  if (error == ERROR_ALREADY_EXISTS) return true;
  instance_mutex_ = std::move(mutex);
  return false;
}

void SystemInfoWin32::Exit() {
  if (end_program_) end_program_();
}

}  // namespace harumado::win32
