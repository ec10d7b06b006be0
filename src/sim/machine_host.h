#pragma once
// The simulated spreadsheet application as the host of a real program on a real machine: the
// program's calls go to the simulation, which takes the machine's clipboard and workbook files.
// The clipboard's content is read just before the application pastes or lists the clipboard's
// formats; a workbook file on disk goes into the simulated file system before the application
// opens it or saves over it, and a workbook the application saved is written to disk (with its
// file format on a line of its own, "harumado-double-format N"). After every operation `changed`
// runs, so that what the application holds can be reported.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/spreadsheet_host.h"
#include "sim/desktop.h"

namespace harumado::sim {

// What the host takes from the machine.
struct Machine {
  std::function<ClipContent()> read_clipboard;
  // The file's bytes, or nothing when there is none.
  std::function<std::optional<std::string>(const std::wstring& path)> read_file;
  std::function<void(const std::wstring& path, const std::string& bytes)> write_file;
};

// A workbook file's bytes as the machine keeps them (the simulated file's bytes, then a line
// "harumado-double-format N" with its file format), and back.
std::string WorkbookFileBytes(const SimFile& file);
SimFile WorkbookFileFromBytes(const std::wstring& path, const std::string& bytes);

class MachineHost final : public platform::SpreadsheetHost {
 public:
  // Lifecycle: the desktop outlives the host; objects handed out must not outlive it either.
  MachineHost(Desktop& desktop, Machine machine);

  std::unique_ptr<platform::ExcelApplication> GetActiveObject() override;
  std::unique_ptr<platform::ExcelApplication> CreateObject() override;
  platform::ExcelApplication& GlobalApplication() override;
  void SetBusyPolicy(int timeout_ms) override { desktop_.excel.SetBusyPolicy(timeout_ms); }

  std::function<void()> changed;

  // Called by the objects handed out.
  void ReadClipboard();
  void LoadFile(const std::wstring& path);
  void AfterCall();

 private:
  std::unique_ptr<platform::ExcelApplication> Wrap(std::unique_ptr<platform::ExcelApplication> a);

  Desktop& desktop_;
  Machine machine_;
  std::unique_ptr<platform::ExcelApplication> global_;
  // The workbook files the application has been given, with the bytes last written of each.
  std::set<std::wstring> paths_;
  std::map<std::wstring, std::string> written_;
};

}  // namespace harumado::sim
