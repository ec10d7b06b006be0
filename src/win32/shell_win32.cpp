#include "win32/shell_win32.h"

#include "runtime/automation_error.h"
#include "win32/scoped.h"

namespace harumado::win32 {

std::wstring KnownFolder(const GUID& id) {
  CoTaskString path;
  wchar_t* raw = nullptr;
  const HRESULT hr = ::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &raw);
  path.reset(raw);
  if (FAILED(hr) || path.get() == nullptr) return L"";
  return path.get();
}

// Long paths are read with a growing buffer.
std::wstring ProgramFilePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return L"";
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring ShellWin32::DesktopFolder() {
  std::wstring desktop = KnownFolder(FOLDERID_Desktop);
  if (desktop.empty()) throw rt::AutomationError(rt::err::kApplicationDefined, L"Desktop");
  return desktop;
}

// The folder keeps its backslash only when it is a drive's root ("C:\").
std::wstring ShellWin32::ProgramFolder() {
  std::wstring path = ProgramFilePath();
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return path;
  if (slash == 2 && path.size() > 1 && path[1] == L':') return path.substr(0, 3);
  return path.substr(0, slash);
}

bool ShellWin32::FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace harumado::win32
