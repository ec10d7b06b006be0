#pragma once
// The running system on Linux: the single-instance lock and the end of the program. The Windows
// version gate does not apply here: the version queries report a build that passes it.
#include <functional>
#include <string>

#include "platform/system_info.h"
#include "qt/unique_fd.h"

namespace harumado::qt {

class SystemInfoQt final : public platform::SystemInfo {
 public:
  // end_program ends the main loop once control returns to it. lock_folder holds the lock files
  // ("" for $XDG_RUNTIME_DIR, or /tmp when that is not set); program_path names the program file
  // ("" for /proc/self/exe).
  explicit SystemInfoQt(std::function<void()> end_program, std::string lock_folder = "",
                        std::string program_path = "");

  std::int32_t VersionBuildNumber() override;
  std::vector<std::wstring> WmiBuildNumbers() override;
  // The first call takes an exclusive flock on the program file's lock file and holds it for
  // the object's life; true when another process holds it.
  bool AnotherInstanceRuns() override;
  void Exit() override;

 private:
  std::function<void()> end_program_;
  std::string lock_folder_;
  std::string program_path_;
  UniqueFd lock_;
};

// The lock file's name for a program file: "harumado-" and a hash of its full path, ".lock".
std::string InstanceLockName(const std::string& program_path);

}  // namespace harumado::qt
