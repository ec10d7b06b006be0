#pragma once
// A small spreadsheet host for the open step's unit tests: instances and workbooks that count
// how many of their objects are alive, a log of every operation, and scripted failures.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/spreadsheet_host.h"

namespace harumado::workbook::fake {

class FakeHost : public platform::SpreadsheetHost {
 public:
  struct Instance {
    int id = 0;
    bool visible = false;
    bool running = true;
  };

  std::unique_ptr<platform::ExcelApplication> GetActiveObject() override;
  std::unique_ptr<platform::ExcelApplication> CreateObject() override;
  platform::ExcelApplication& GlobalApplication() override;
  void SetBusyPolicy(int timeout_ms) override;
  bool CanSaveFileFormat(int file_format) override {
    return std::find(unsavable_formats.begin(), unsavable_formats.end(), file_format) ==
           unsavable_formats.end();
  }

  // An instance that runs visible, as the user would have started it.
  void StartVisible();

  // Raises the operation's scripted failure, if any, after logging and calling on_call.
  void Call(const std::wstring& operation, const std::wstring& detail = L"");
  Instance& instance(int id) { return instances_.at(static_cast<std::size_t>(id - 1)); }
  // Instances started so far (ids 1 to this), running or not.
  int instance_count() const { return static_cast<int>(instances_.size()); }

  std::vector<std::wstring> log;  // "Workbooks.Add #2", "SaveAs #2 C:\\...\\book.xlsx 51", ...
  int live_objects = 0;           // application and workbook objects not yet released
  std::map<std::wstring, std::deque<std::int32_t>> failures;  // next errors of each operation
  std::function<void(const std::wstring& operation)> on_call;
  std::function<void(const std::wstring& path, int format)> on_save;
  std::vector<int> unsavable_formats;  // file formats this host cannot write

 private:
  std::vector<Instance> instances_;
  std::unique_ptr<platform::ExcelApplication> global_;
};

}  // namespace harumado::workbook::fake
