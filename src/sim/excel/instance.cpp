#include "sim/excel/instance.h"

#include <algorithm>

#include "platform/spreadsheet_host.h"
#include "runtime/automation_error.h"

namespace harumado::sim {
namespace {

[[noreturn]] void Refuse() { throw rt::AutomationError(rt::err::kApplicationDefined); }

bool IsSaveFormat(int format) {
  using namespace platform::file_format;
  return format == kXlsx || format == kXlsm || format == kXlsb || format == kXls;
}

// What a saved workbook file holds: only its format matters to anyone reading it.
std::string WorkbookBytes(int format) {
  return format == platform::file_format::kXls ? std::string("\xD0\xCF\x11\xE0", 4)
                                               : std::string("PK\x03\x04", 4);
}

}  // namespace

std::wstring ExcelInstance::Title() const {
  return active_ ? active_->name() + L" - Excel" : std::wstring(L"Excel");
}

std::shared_ptr<SimWorkbook> ExcelInstance::Find(const std::wstring& name) const {
  for (const auto& w : workbooks_) {
    if (SameWorkbookName(w->name(), name)) return w;
  }
  return nullptr;
}

void ExcelInstance::Activate(const std::shared_ptr<SimWorkbook>& workbook) { active_ = workbook; }

// Two workbooks of the same file name cannot be open at once, even from different folders.
std::shared_ptr<SimWorkbook> ExcelInstance::Open(const std::wstring& path, SimFileSystem& files) {
  if (files.Find(path) == nullptr) Refuse();
  const std::wstring name = FileNameOf(path);
  if (auto open = Find(name)) {
    if (files.Find(open->path()) != files.Find(path)) Refuse();
    Activate(open);
    return open;
  }
  auto workbook = std::make_shared<SimWorkbook>(name, path);
  workbooks_.push_back(workbook);
  Activate(workbook);
  return workbook;
}

std::shared_ptr<SimWorkbook> ExcelInstance::Add() {
  std::wstring name;
  do {
    name = L"Book" + std::to_wstring(next_book_++);
  } while (Find(name));
  auto workbook = std::make_shared<SimWorkbook>(name, L"");
  workbooks_.push_back(workbook);
  Activate(workbook);
  return workbook;
}

// An existing file is overwritten silently while alerts are off; with alerts on, the question
// whether to replace it is taken as answered No, which fails the call.
void ExcelInstance::SaveAs(SimWorkbook& workbook, const std::wstring& path, int file_format,
                           SimFileSystem& files) {
  if (!IsSaveFormat(file_format)) Refuse();
  const std::wstring name = FileNameOf(path);
  if (name.empty()) Refuse();
  if (auto other = Find(name); other && other.get() != &workbook) Refuse();
  if (display_alerts_ && files.Find(path) != nullptr) Refuse();
  files.Put(path, SimFile{WorkbookBytes(file_format), file_format, false});
  workbook.SavedAs(path);
}

void ExcelInstance::Close(SimWorkbook& workbook, bool save_changes, SimFileSystem& files) {
  if (save_changes && !workbook.path().empty()) {
    const SimFile* file = files.Find(workbook.path());
    const int format =
        file && file->excel_format ? *file->excel_format : FileFormatForName(workbook.name());
    files.Put(workbook.path(), SimFile{WorkbookBytes(format), format, false});
  }
  workbook.Closed();
  auto it = std::find_if(workbooks_.begin(), workbooks_.end(),
                         [&](const auto& w) { return w.get() == &workbook; });
  if (it == workbooks_.end()) return;
  workbooks_.erase(it);
  if (active_.get() == &workbook) active_ = workbooks_.empty() ? nullptr : workbooks_.back();
}

void ExcelInstance::End() {
  for (auto& w : workbooks_) w->Closed();
  workbooks_.clear();
  active_.reset();
  running_ = false;
  visible_ = false;
}

int FileFormatForName(const std::wstring& name) {
  const auto dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return platform::file_format::kXlsx;
  const std::wstring ext = name.substr(dot + 1);
  if (ext == L"xlsm") return platform::file_format::kXlsm;
  if (ext == L"xlsb") return platform::file_format::kXlsb;
  if (ext == L"xls") return platform::file_format::kXls;
  return platform::file_format::kXlsx;
}

}  // namespace harumado::sim
