#include "com_registration.h"

namespace harumado::doubles {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes\\";

std::wstring GuidText(const CLSID& clsid) {
  wchar_t text[64];
  ::StringFromGUID2(clsid, text, 64);
  return text;
}

std::wstring ClassKey(const CLSID& clsid) {
  return std::wstring(kClasses) + L"CLSID\\" + GuidText(clsid);
}

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY k = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                        nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LSTATUS status =
      ::RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(k);
  return status == ERROR_SUCCESS;
}

}  // namespace

// A local server's command line names the program in quotes (its path may hold spaces); an
// in-process server is named by its file, with the threading models it takes.
bool RegisterClassEntry(const ClassEntry& entry, ServerKind kind, const std::wstring& server) {
  const std::wstring class_key = ClassKey(entry.clsid);
  bool ok = SetValue(class_key, nullptr, entry.name);
  if (kind == ServerKind::kLocalServer) {
    ok = SetValue(class_key + L"\\LocalServer32", nullptr, L"\"" + server + L"\"") && ok;
  } else {
    ok = SetValue(class_key + L"\\InprocServer32", nullptr, server) && ok;
    ok = SetValue(class_key + L"\\InprocServer32", L"ThreadingModel", L"Both") && ok;
  }
  if (entry.prog_id != nullptr) {
    const std::wstring prog_key = std::wstring(kClasses) + entry.prog_id;
    ok = SetValue(prog_key, nullptr, entry.prog_id) && ok;
    ok = SetValue(prog_key + L"\\CLSID", nullptr, GuidText(entry.clsid)) && ok;
    ok = SetValue(class_key + L"\\ProgID", nullptr, entry.prog_id) && ok;
  }
  return ok;
}

void UnregisterClassEntry(const ClassEntry& entry) {
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey(entry.clsid).c_str());
  if (entry.prog_id != nullptr) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kClasses) + entry.prog_id).c_str());
  }
}

std::wstring ModuleFile(HMODULE module) {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(module, path, MAX_PATH);
  return std::wstring(path, n);
}

}  // namespace harumado::doubles
