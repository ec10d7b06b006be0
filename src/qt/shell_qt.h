#pragma once
// The user's folders and the file-existence test on Linux.
#include <optional>
#include <string>

#include "platform/shell.h"

namespace harumado::qt {

class ShellQt final : public platform::Shell {
 public:
  // The Desktop folder as xdg-user-dir DESKTOP gives it, read afresh at each call.
  std::wstring DesktopFolder() override;
  // The folder of /proc/self/exe.
  std::wstring ProgramFolder() override;
  // A file that is not a folder exists at the path.
  bool FileExists(const std::wstring& path) override;
};

// What the Desktop folder is, from the user's home, XDG_CONFIG_HOME (may be empty or relative:
// then ~/.config), the text of user-dirs.dirs (nothing when it is absent) and XDG_DESKTOP_DIR from
// the environment (used only when the file does not set it): the file's XDG_DESKTOP_DIR with
// $HOME expanded, else ~/Desktop; without a trailing slash unless it is the root.
std::string DesktopFolderFrom(const std::string& home,
                              const std::optional<std::string>& user_dirs_text,
                              const std::optional<std::string>& environment_value);

// The user's home ($HOME, else the password database's entry), "" when neither knows one.
std::string HomeFolder();
// $XDG_CONFIG_HOME when it is an absolute path, else HOME/.config.
std::string ConfigHome(const std::string& home);
// The full path of the program file (/proc/self/exe), "" when the system does not tell.
std::string ProgramFilePath();

}  // namespace harumado::qt
