#pragma once
// Whole-file access for the settings file, and the user's fallback folder.
#include "platform/files.h"

namespace harumado::win32 {

class FilesWin32 final : public platform::Files {
 public:
  bool NormalFileExists(const std::wstring& path) override;
  std::string ReadAll(const std::wstring& path) override;
  void Delete(const std::wstring& path) override;
  void Write(const std::wstring& path, const std::string& bytes) override;
  void Replace(const std::wstring& source, const std::wstring& target) override;
  std::int64_t ModifiedTime(const std::wstring& path) override;
  std::wstring FallbackFolder() override;
};

}  // namespace harumado::win32
