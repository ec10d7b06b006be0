#pragma once
// Programs that the Linux tests start beside themselves (an X server, a speech server, a copying
// process), each owned by one object and ended when that object goes: nothing a test starts
// outlives it. Every wait is for a signal (a pipe, a file-system event, the process's end) with
// a bound; none sleeps a fixed time.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace harumado::test_support {

using std::chrono::milliseconds;

// A folder of its own under $TMPDIR (or /tmp), removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file below the folder (its folders are made as needed); returns its full path.
  std::string Write(const std::string& relative, const std::string& content) const;

 private:
  std::string path_;
};

struct ChildOptions {
  // NAME=VALUE pairs set on top of this process's environment.
  std::vector<std::string> environment;
  // Where standard output and standard error go ("" for /dev/null) unless stdout is piped.
  std::string log_path;
  // Standard output to a pipe that ReadLine reads.
  bool pipe_stdout = false;
  // This descriptor becomes the child's descriptor 3 (-1: none).
  int pass_as_fd3 = -1;
};

class ChildProcess {
 public:
  // Starts argv[0], looked up in PATH; throws std::runtime_error when it cannot be started.
  explicit ChildProcess(std::vector<std::string> argv, ChildOptions options = {});
  // Stop().
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // The exit status once it has ended within the time (-signal when a signal ended it).
  std::optional<int> WaitForExit(milliseconds timeout);
  // SIGTERM, then SIGKILL when it has not ended within the time; waits for the end.
  void Stop(milliseconds grace = milliseconds(5000));
  // The next line of the piped standard output, without its newline; nothing when the time
  // ran out or the output ended first.
  std::optional<std::string> ReadLine(milliseconds timeout);

 private:
  pid_t pid_ = -1;
  int pidfd_ = -1;
  int stdout_ = -1;
  std::string buffered_;
  std::optional<int> status_;
};

// Waits until done() holds, woken by every change in the folder (inotify); false when the time
// ran out first.
bool WaitForFolderChange(const std::string& folder, const std::function<bool()>& done,
                         milliseconds timeout);

// The first line that a shell command prints (without its newline), "" when it printed none
// within the time; the command is ended when it has not ended by then.
std::string CommandOutput(const std::string& command, milliseconds timeout = milliseconds(20000));

// The whole text of a file, "" when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace harumado::test_support
