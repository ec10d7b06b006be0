#pragma once
// The shell's folders and the file-existence test.
#include "platform/shell.h"
#include "win32/win32_api.h"

namespace harumado::win32 {

class ShellWin32 final : public platform::Shell {
 public:
  std::wstring DesktopFolder() override;
  std::wstring ProgramFolder() override;
  bool FileExists(const std::wstring& path) override;
};

// The full path of the program file.
std::wstring ProgramFilePath();
// A known folder of the user (FOLDERID_...), or "" when the system has none.
std::wstring KnownFolder(const GUID& id);

}  // namespace harumado::win32
