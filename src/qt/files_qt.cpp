#include "qt/files_qt.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "qt/native_path.h"
#include "qt/shell_qt.h"
#include "qt/unique_fd.h"
#include "runtime/automation_error.h"

namespace harumado::qt {
namespace {

[[noreturn]] void ThrowFileError(int error, const std::wstring& path) {
  throw rt::AutomationError(FileErrorNumber(error), path);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string LeafOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int OpenRetrying(const std::string& path, int flags, mode_t mode = 0) {
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool MakeFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

std::int32_t FileErrorNumber(int error) {
  switch (error) {
    case ENOENT:
      return rt::err::kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return rt::err::kPermissionDenied;
    default:
      return rt::err::kPathFileAccessError;
  }
}

bool FilesQt::NormalFileExists(const std::wstring& path) {
  const std::string native = NativePath(path);
  struct stat info {};
  if (::stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return !LeafOf(native).starts_with('.');
}

std::string FilesQt::ReadAll(const std::wstring& path) {
  UniqueFd file(OpenRetrying(NativePath(path), O_RDONLY));
  if (!file) ThrowFileError(errno, path);
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowFileError(errno, path);
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return bytes;
}

void FilesQt::Delete(const std::wstring& path) {
  if (::unlink(NativePath(path).c_str()) != 0) ThrowFileError(errno, path);
}

void FilesQt::Write(const std::wstring& path, const std::string& bytes) {
  UniqueFd file(OpenRetrying(NativePath(path), O_WRONLY | O_CREAT | O_TRUNC, 0666));
  if (!file) ThrowFileError(errno, path);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(file.get(), bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) ThrowFileError(wrote < 0 ? errno : EIO, path);
    done += static_cast<std::size_t>(wrote);
  }
  // The new content is on the disk before anything replaces the old file with it; a close that
  // fails (a network file system that could not store the bytes) fails the write too.
  if (::fsync(file.get()) != 0) ThrowFileError(errno, path);
  if (!file.reset()) ThrowFileError(errno, path);
}

// The rename is made durable by syncing the folder that holds the new name; a folder that cannot
// be synced (some file systems refuse it) does not undo a rename that has happened.
void FilesQt::Replace(const std::wstring& source, const std::wstring& target) {
  const std::string to = NativePath(target);
  if (::rename(NativePath(source).c_str(), to.c_str()) != 0) ThrowFileError(errno, target);
  UniqueFd folder(OpenRetrying(FolderOf(to), O_RDONLY | O_DIRECTORY));
  if (folder) ::fsync(folder.get());
}

std::int64_t FilesQt::ModifiedTime(const std::wstring& path) {
  struct stat info {};
  if (::stat(NativePath(path).c_str(), &info) != 0) ThrowFileError(errno, path);
  return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

// The configuration home is made too when it is missing (a fresh account), as the XDG rules
// ask of a program that writes there.
std::wstring FilesQt::FallbackFolder() {
  const std::string home = HomeFolder();
  if (home.empty()) return L"";
  const std::string config = ConfigHome(home);
  if (!MakeFolder(config)) return L"";
  const std::string folder = config + "/harumado";
  if (!MakeFolder(folder)) return L"";
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return L"";
  return Wide(folder);
}

}  // namespace harumado::qt
