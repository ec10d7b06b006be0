#include "support/linux/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace harumado::test_support {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Names set by the options replace this process's values of them.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> merged;
  auto name_of = [](const std::string& pair) { return pair.substr(0, pair.find('=')); };
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string pair = *e;
    bool replaced = false;
    for (const auto& x : extra) replaced = replaced || name_of(x) == name_of(pair);
    if (!replaced) merged.push_back(pair);
  }
  merged.insert(merged.end(), extra.begin(), extra.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& t : texts) pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/harumado-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& relative, const std::string& content) const {
  const std::filesystem::path file = std::filesystem::path(path_) / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + file.string());
  return file.string();
}

ChildProcess::ChildProcess(std::vector<std::string> argv, ChildOptions options) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int out_pipe[2] = {-1, -1};
  if (options.pipe_stdout) {
    if (::pipe2(out_pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], STDOUT_FILENO);
    const std::string log = options.log_path.empty() ? "/dev/null" : options.log_path;
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
  } else {
    const std::string log = options.log_path.empty() ? "/dev/null" : options.log_path;
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  }
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (options.pass_as_fd3 >= 0) posix_spawn_file_actions_adddup2(&actions, options.pass_as_fd3, 3);
  std::vector<std::string> environment = MergedEnvironment(options.environment);
  std::vector<char*> env = Pointers(environment);
  std::vector<char*> args = Pointers(argv);
  const int failed = ::posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (out_pipe[1] >= 0) ::close(out_pipe[1]);
  if (failed != 0) {
    if (out_pipe[0] >= 0) ::close(out_pipe[0]);
    throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(failed));
  }
  stdout_ = out_pipe[0];
  // A descriptor that becomes readable when the child ends, for waits with a bound.
  pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
}

ChildProcess::~ChildProcess() {
  Stop();
  if (pidfd_ >= 0) ::close(pidfd_);
  if (stdout_ >= 0) ::close(stdout_);
}

std::optional<int> ChildProcess::WaitForExit(milliseconds timeout) {
  if (status_) return status_;
  if (pid_ <= 0) return std::nullopt;
  if (pidfd_ >= 0) {
    pollfd p{pidfd_, POLLIN, 0};
    const Clock::time_point deadline = Clock::now() + timeout;
    int ready = 0;
    do {
      ready = ::poll(&p, 1, RemainingMs(deadline));
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return std::nullopt;
  }
  int status = 0;
  if (::waitpid(pid_, &status, 0) != pid_) return std::nullopt;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  return status_;
}

void ChildProcess::Stop(milliseconds grace) {
  if (pid_ <= 0 || status_) return;
  ::kill(pid_, SIGTERM);
  if (WaitForExit(grace)) return;
  ::kill(pid_, SIGKILL);
  WaitForExit(milliseconds(10000));
}

std::optional<std::string> ChildProcess::ReadLine(milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    const std::size_t newline = buffered_.find('\n');
    if (newline != std::string::npos) {
      std::string line = buffered_.substr(0, newline);
      buffered_.erase(0, newline + 1);
      return line;
    }
    if (stdout_ < 0) return std::nullopt;
    pollfd p{stdout_, POLLIN, 0};
    const int ready = ::poll(&p, 1, RemainingMs(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return std::nullopt;
    char chunk[256];
    const ssize_t got = ::read(stdout_, chunk, sizeof chunk);
    if (got <= 0) return std::nullopt;
    buffered_.append(chunk, static_cast<std::size_t>(got));
  }
}

bool WaitForFolderChange(const std::string& folder, const std::function<bool()>& done,
                         milliseconds timeout) {
  const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (watch < 0) throw std::runtime_error("inotify_init1 failed");
  ::inotify_add_watch(watch, folder.c_str(),
                      IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE);
  const Clock::time_point deadline = Clock::now() + timeout;
  bool reached = false;
  for (;;) {
    // Checked after the watch is in place, so no change between the check and the wait is lost.
    if (done()) {
      reached = true;
      break;
    }
    pollfd p{watch, POLLIN, 0};
    const int ready = ::poll(&p, 1, RemainingMs(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      reached = done();
      break;
    }
    char events[4096];
    while (::read(watch, events, sizeof events) > 0) {
    }
  }
  ::close(watch);
  return reached;
}

std::string CommandOutput(const std::string& command, milliseconds timeout) {
  ChildOptions options;
  options.pipe_stdout = true;
  ChildProcess shell({"sh", "-c", command}, options);
  const auto deadline = Clock::now() + timeout;
  std::string line = shell.ReadLine(timeout).value_or("");
  shell.WaitForExit(milliseconds(RemainingMs(deadline)));
  return line;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace harumado::test_support
