#pragma once
// The simulated spreadsheet application behind the spreadsheet host interface: its running
// instances, the host operations, and what the world does to it (start, quit, faults).
#include <memory>
#include <string>
#include <vector>

#include "platform/spreadsheet_host.h"
#include "sim/excel/adapters.h"
#include "sim/excel/call_gate.h"
#include "sim/excel/instance.h"
#include "sim/sim_clipboard.h"
#include "sim/sim_files.h"
#include "sim/world.h"

namespace harumado::sim {

class SimExcel : public platform::SpreadsheetHost {
 public:
  SimExcel(World& world, SimClipboard& clipboard, SimFileSystem& files);
  ~SimExcel() override;
  SimExcel(const SimExcel&) = delete;
  SimExcel& operator=(const SimExcel&) = delete;

  std::unique_ptr<platform::ExcelApplication> GetActiveObject() override;
  std::unique_ptr<platform::ExcelApplication> CreateObject() override;
  platform::ExcelApplication& GlobalApplication() override;
  void SetBusyPolicy(int timeout_ms) override { gate_.busy_wait_ms = timeout_ms; }
  bool CanSaveFileFormat(int file_format) override;

  // Instances, in the order they were started.
  std::shared_ptr<ExcelInstance> StartInstance(bool visible);
  void Quit(ExcelInstance& instance);
  void QuitAll();
  // Starts another visible instance without a workbook and binds the Global object to it.
  void StartGlobalOther();
  const std::vector<std::shared_ptr<ExcelInstance>>& instances() const { return running_; }
  // The instance the active-object lookup finds: the earliest started visible one.
  std::shared_ptr<ExcelInstance> FirstVisibleInstance() const;
  // The instance the user works in: the earliest visible one, else the latest started.
  ExcelInstance* ActiveInstance() const;
  // The active sheet of the active instance's active workbook, or nullptr.
  SimSheet* ActiveSheet() const;
  bool IsWorkbookOpen(const std::wstring& name) const;
  // The main window of the active instance, or 0.
  platform::WindowHandle ActiveWindowHandle() const;
  // The instance the Global object resolves to when it binds now.
  std::shared_ptr<ExcelInstance> ResolveGlobal();
  const GlobalApplicationObject* global_object() const { return global_.get(); }

  CallGate& gate() { return gate_; }
  World& world() { return world_; }
  SimClipboard& clipboard() { return clipboard_; }
  SimFileSystem& files() { return files_; }

  // Automation objects handed to the program and not yet released.
  int live_objects = 0;
  // File formats this spreadsheet cannot write (as LibreOffice Calc cannot write xlsb): SaveAs
  // refuses them with 1004, and the host says so beforehand.
  std::vector<int> unsavable_formats;

 private:
  World& world_;
  SimClipboard& clipboard_;
  SimFileSystem& files_;
  CallGate gate_{world_};
  int next_serial_ = 1;
  std::vector<std::shared_ptr<ExcelInstance>> running_;
  std::weak_ptr<ExcelInstance> global_other_;
  std::unique_ptr<GlobalApplicationObject> global_;
  bool global_ever_bound_ = false;
};

}  // namespace harumado::sim
