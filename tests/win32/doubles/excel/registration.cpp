#include "registration.h"

#include <string>

#include "double_excel.h"

namespace harumado::doubles {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes\\";

std::wstring GuidText(const CLSID& clsid) {
  wchar_t text[64];
  ::StringFromGUID2(clsid, text, 64);
  return text;
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

std::wstring ProgramFile() {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, n);
}

struct Entry {
  const CLSID& clsid;
  const wchar_t* prog_id;
};
const Entry kEntries[] = {{kApplicationClass, L"Excel.Application"},
                          {kGlobalClass, L"Excel.Global"}};

}  // namespace

bool RegisterServer() {
  const std::wstring server = L"\"" + ProgramFile() + L"\"";
  bool ok = true;
  for (const auto& e : kEntries) {
    const std::wstring clsid = GuidText(e.clsid);
    const std::wstring class_key = std::wstring(kClasses) + L"CLSID\\" + clsid;
    ok = SetValue(std::wstring(kClasses) + e.prog_id, nullptr, e.prog_id) && ok;
    ok = SetValue(std::wstring(kClasses) + e.prog_id + L"\\CLSID", nullptr, clsid) && ok;
    ok = SetValue(class_key, nullptr, e.prog_id) && ok;
    ok = SetValue(class_key + L"\\ProgID", nullptr, e.prog_id) && ok;
    ok = SetValue(class_key + L"\\LocalServer32", nullptr, server) && ok;
  }
  return ok;
}

bool UnregisterServer() {
  for (const auto& e : kEntries) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                     (std::wstring(kClasses) + L"CLSID\\" + GuidText(e.clsid)).c_str());
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kClasses) + e.prog_id).c_str());
  }
  return true;
}

}  // namespace harumado::doubles
