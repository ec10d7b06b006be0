#pragma once
// Shell and file-system objects: special folders and file existence.
#include <string>

namespace harumado::platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // WScript.Shell SpecialFolders("Desktop"), read afresh at each call.
  virtual std::wstring DesktopFolder() = 0;
  // The folder of the program file, as the system reports it (no trailing separator unless it
  // is a drive's root).
  virtual std::wstring ProgramFolder() = 0;
  // Scripting.FileSystemObject FileExists.
  virtual bool FileExists(const std::wstring& path) = 0;
};

}  // namespace harumado::platform
