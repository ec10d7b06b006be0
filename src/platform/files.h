#pragma once
// Whole-file access for the settings file. Every operation may throw rt::AutomationError
// (53 file not found, 70 permission denied, 75 path/file access error).
#include <string>

namespace harumado::platform {

class Files {
 public:
  virtual ~Files() = default;
  // A normal file exists at the path (hidden and system files count as absent).
  virtual bool NormalFileExists(const std::wstring& path) = 0;
  virtual std::string ReadAll(const std::wstring& path) = 0;
  virtual void Delete(const std::wstring& path) = 0;
  // Creates or truncates the file and writes the bytes.
  virtual void Write(const std::wstring& path, const std::string& bytes) = 0;
  // Replaces target by source in one step (source is removed); target may be absent.
  virtual void Replace(const std::wstring& source, const std::wstring& target) = 0;
  // A folder where the user may always write (the application-data folder), or "" when none.
  virtual std::wstring FallbackFolder() = 0;
};

}  // namespace harumado::platform
