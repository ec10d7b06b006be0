#include "qt/system_info_qt.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "qt/shell_qt.h"

namespace harumado::qt {
namespace {

// The first build the program's version gate accepts (Windows 10): Linux has no such gate, so
// both version queries report it and start-up goes on.
constexpr std::int32_t kBuildThatPassesTheGate = 10240;

std::string DefaultLockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') return runtime;
  return "/tmp";
}

}  // namespace

SystemInfoQt::SystemInfoQt(std::function<void()> end_program, std::string lock_folder,
                           std::string program_path)
    : end_program_(std::move(end_program)),
      lock_folder_(std::move(lock_folder)),
      program_path_(std::move(program_path)) {}

std::int32_t SystemInfoQt::VersionBuildNumber() { return kBuildThatPassesTheGate; }

std::vector<std::wstring> SystemInfoQt::WmiBuildNumbers() {
  return {std::to_wstring(kBuildThatPassesTheGate)};
}

// One lock per program file: Linux paths are case-sensitive, so the path is hashed as it
// stands (the Windows program ignores case, as its file system does).
std::string InstanceLockName(const std::string& program_path) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (unsigned char c : program_path) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char name[64];
  std::snprintf(name, sizeof name, "harumado-%016llX.lock", static_cast<unsigned long long>(hash));
  return name;
}

// The lock goes with the process (the system releases a flock when its holder ends, even by a
// crash), so a stale lock file never keeps the program from starting. A lock file that cannot
// be opened decides nothing: the program runs.
bool SystemInfoQt::AnotherInstanceRuns() {
  if (lock_) return false;
  const std::string folder = lock_folder_.empty() ? DefaultLockFolder() : lock_folder_;
  const std::string program = program_path_.empty() ? ProgramFilePath() : program_path_;
  const std::string path = folder + "/" + InstanceLockName(program);
  UniqueFd file(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!file) return false;
  int locked = -1;
  do {
    locked = ::flock(file.get(), LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) return errno == EWOULDBLOCK;
  lock_ = std::move(file);
  return false;
}

void SystemInfoQt::Exit() {
  if (end_program_) end_program_();
}

}  // namespace harumado::qt
