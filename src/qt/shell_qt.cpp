#include "qt/shell_qt.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "qt/native_path.h"
#include "runtime/automation_error.h"

namespace harumado::qt {
namespace {

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::optional<std::string> FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// A value as the shell reads it between double quotes (the file is meant to be sourced by
// xdg-user-dir): a backslash keeps the next character when that is one of $ ` " \ and stays
// otherwise; "$HOME" and "${HOME}" are the home folder. Other variables are not expanded
// (the file's writer, xdg-user-dirs-update, writes only $HOME).
std::string ShellValue(std::string_view value, const std::string& home) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\\' && i + 1 < value.size() &&
        std::string_view("$`\"\\").find(value[i + 1]) != std::string_view::npos) {
      out += value[++i];
    } else if (value.substr(i, 5) == "$HOME") {
      out += home;
      i += 4;
    } else if (value.substr(i, 7) == "${HOME}") {
      out += home;
      i += 6;
    } else {
      out += c;
    }
  }
  return out;
}

// The file's last assignment XDG_DESKTOP_DIR="..." (a sourced file's last one wins); lines that
// begin with # are comments.
std::optional<std::string> DesktopAssignment(const std::string& text, const std::string& home) {
  std::optional<std::string> found;
  std::istringstream lines(text);
  std::string line;
  constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
  while (std::getline(lines, line)) {
    std::string_view rest(line);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    if (rest.empty() || rest.front() == '#') continue;
    if (rest.substr(0, kKey.size()) != kKey) continue;
    rest.remove_prefix(kKey.size());
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ' || rest.back() == '\t')) {
      rest.remove_suffix(1);
    }
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
      rest = rest.substr(1, rest.size() - 2);
    }
    found = ShellValue(rest, home);
  }
  return found;
}

}  // namespace

std::string HomeFolder() {
  if (auto home = Environment("HOME"); home && !home->empty()) return *home;
  const passwd* entry = ::getpwuid(::getuid());
  if (entry != nullptr && entry->pw_dir != nullptr) return entry->pw_dir;
  return "";
}

std::string ConfigHome(const std::string& home) {
  if (auto config = Environment("XDG_CONFIG_HOME");
      config && !config->empty() && config->front() == '/') {
    return WithoutTrailingSlashes(*config);
  }
  return home + "/.config";
}

std::string DesktopFolderFrom(const std::string& home,
                              const std::optional<std::string>& user_dirs_text,
                              const std::optional<std::string>& environment_value) {
  std::optional<std::string> desktop;
  if (user_dirs_text) desktop = DesktopAssignment(*user_dirs_text, home);
  if (!desktop && environment_value) desktop = environment_value;
  if (!desktop || desktop->empty()) desktop = home + "/Desktop";
  return WithoutTrailingSlashes(*desktop);
}

std::string ProgramFilePath() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return "";
    if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

// Without a home folder there is no Desktop either: the same failure as a system without one.
std::wstring ShellQt::DesktopFolder() {
  const std::string home = HomeFolder();
  if (home.empty()) throw rt::AutomationError(rt::err::kApplicationDefined, L"Desktop");
  const std::string folder = DesktopFolderFrom(home, FileText(ConfigHome(home) + "/user-dirs.dirs"),
                                               Environment("XDG_DESKTOP_DIR"));
  return Wide(folder);
}

// The folder keeps its slash only when it is the root.
std::wstring ShellQt::ProgramFolder() {
  const std::string path = ProgramFilePath();
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return Wide(path);
  return Wide(slash == 0 ? std::string("/") : path.substr(0, slash));
}

bool ShellQt::FileExists(const std::wstring& path) {
  struct stat info {};
  return ::stat(NativePath(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace harumado::qt
