#pragma once
// Whole-file access for the settings file. Every operation may throw rt::AutomationError
// (53 file not found, 70 permission denied, 75 path/file access error).
#include <cstdint>
#include <string>

namespace harumado::platform {

class Files {
 public:
  virtual ~Files() = default;
  // A normal file exists at the path (hidden and system files count as absent).
  virtual bool NormalFileExists(const std::wstring& path) = 0;
  virtual std::string ReadAll(const std::wstring& path) = 0;
  virtual void Delete(const std::wstring& path) = 0;
  // Creates or truncates the file, writes the bytes, flushes them to the disk and closes the
  // file. Returns only when all of that succeeded: a failing write, flush or close throws (the
  // file may then exist with any part of the bytes).
  virtual void Write(const std::wstring& path, const std::string& bytes) = 0;
  // Replaces target by source in one step (source is removed); target may be absent.
  virtual void Replace(const std::wstring& source, const std::wstring& target) = 0;
  // When the file was last written, in the back end's own ticks: a later write gives a larger
  // value; values of different back ends do not compare.
  virtual std::int64_t ModifiedTime(const std::wstring& path) = 0;
  // A folder where the user may always write (the application-data folder), or "" when none.
  virtual std::wstring FallbackFolder() = 0;
};

}  // namespace harumado::platform
