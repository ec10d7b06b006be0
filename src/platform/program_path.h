#pragma once
// Joining a folder and a file name with the separator of the folder's own system: "/" for a
// folder that starts with one (a POSIX path, the Linux desktop), a backslash for any other (a
// Windows path, also on the simulated desktop). The program's names ("Harumado.dat", a workbook
// typed in Text3) hold no separator of either kind.
#include <string>

namespace harumado::platform {

inline std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  const wchar_t separator = !folder.empty() && folder.front() == L'/' ? L'/' : L'\\';
  return folder + separator + name;
}

}  // namespace harumado::platform
