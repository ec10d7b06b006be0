#pragma once
// A workbook open in an instance of the simulated spreadsheet application.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/excel/sheet.h"

namespace harumado::sim {

class SimWorkbook {
 public:
  // A workbook with one sheet whose cell A1 is active; path is empty until it is saved.
  SimWorkbook(std::wstring name, std::wstring path);

  const std::wstring& name() const { return name_; }
  const std::wstring& path() const { return path_; }
  bool open() const { return open_; }
  SimSheet& active_sheet() { return *sheets_[active_sheet_]; }
  std::shared_ptr<SimSheet> active_sheet_ptr() { return sheets_[active_sheet_]; }

  void SavedAs(const std::wstring& path);  // takes the saved file's name
  void Closed() { open_ = false; }

 private:
  std::wstring name_;
  std::wstring path_;
  bool open_ = true;
  std::vector<std::shared_ptr<SimSheet>> sheets_;
  std::size_t active_sheet_ = 0;
};

// The file name of a path (what follows its last backslash).
std::wstring FileNameOf(const std::wstring& path);
// Workbook names compare without regard to ASCII case.
bool SameWorkbookName(const std::wstring& a, const std::wstring& b);

}  // namespace harumado::sim
