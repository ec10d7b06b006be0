#pragma once
// Whole-file access for the settings file on Linux (POSIX calls), and the fallback folder in the
// user's configuration folder.
#include "platform/files.h"

namespace harumado::qt {

class FilesQt final : public platform::Files {
 public:
  // A regular file whose name does not begin with a dot (a hidden file counts as absent).
  bool NormalFileExists(const std::wstring& path) override;
  std::string ReadAll(const std::wstring& path) override;
  void Delete(const std::wstring& path) override;
  // write, fsync and close each checked.
  void Write(const std::wstring& path, const std::string& bytes) override;
  // rename(2), then the folder is synced so that the new name is on the disk.
  void Replace(const std::wstring& source, const std::wstring& target) override;
  // The modification time in nanoseconds since 1970.
  std::int64_t ModifiedTime(const std::wstring& path) override;
  // $XDG_CONFIG_HOME/harumado (~/.config/harumado), created when it does not exist yet; "" when
  // it cannot be made.
  std::wstring FallbackFolder() override;
};

// The errno of a failed file call as the program's file error number: 53 file not found,
// 70 permission denied, 75 any other path or file access error.
std::int32_t FileErrorNumber(int error);

}  // namespace harumado::qt
