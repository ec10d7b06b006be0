#pragma once
// One running instance of the simulated spreadsheet application: its main window, its
// settings and its open workbooks.
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"
#include "sim/excel/workbook.h"
#include "sim/sim_files.h"

namespace harumado::sim {

class ExcelInstance {
 public:
  ExcelInstance(platform::WindowHandle window, int serial, bool visible)
      : window_(window), serial_(serial), visible_(visible) {}

  platform::WindowHandle window() const { return window_; }
  int serial() const { return serial_; }  // start order
  bool running() const { return running_; }
  bool visible() const { return visible_; }
  void set_visible(bool v) { visible_ = v; }
  bool display_alerts() const { return display_alerts_; }
  void set_display_alerts(bool d) { display_alerts_ = d; }
  // The main window's title: "NAME - Excel" for the active workbook, "Excel" with none.
  std::wstring Title() const;

  const std::vector<std::shared_ptr<SimWorkbook>>& workbooks() const { return workbooks_; }
  const std::shared_ptr<SimWorkbook>& active_workbook() const { return active_; }
  std::shared_ptr<SimWorkbook> Find(const std::wstring& name) const;

  // Workbooks.Open: 1004 for a missing file; a workbook already open is activated as it is.
  std::shared_ptr<SimWorkbook> Open(const std::wstring& path, SimFileSystem& files);
  // Workbooks.Add: Book1, Book2, ... with one sheet.
  std::shared_ptr<SimWorkbook> Add();
  // SaveAs with an Excel file format number (51, 52, 50, 56).
  void SaveAs(SimWorkbook& workbook, const std::wstring& path, int file_format,
              SimFileSystem& files);
  void Close(SimWorkbook& workbook, bool save_changes, SimFileSystem& files);
  // The instance ends: its workbooks close unsaved and its window goes away.
  void End();

 private:
  void Activate(const std::shared_ptr<SimWorkbook>& workbook);

  platform::WindowHandle window_;
  int serial_;
  bool visible_;
  bool display_alerts_ = true;
  bool running_ = true;
  int next_book_ = 1;
  std::vector<std::shared_ptr<SimWorkbook>> workbooks_;
  std::shared_ptr<SimWorkbook> active_;
};

// The Excel file format that a file name's extension calls for (51 for none or an unknown one).
int FileFormatForName(const std::wstring& name);

}  // namespace harumado::sim
