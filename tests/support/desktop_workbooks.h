#pragma once
// What the tests share: workbooks on the simulated Desktop, as Excel leaves them there.
#include <string>

#include "sim/sim_files.h"

namespace harumado::test_support {

// The path of a file of that name on the simulated Desktop.
inline std::wstring DesktopPath(const sim::SimFileSystem& files, const std::wstring& name) {
  return files.desktop + L"\\" + name;
}

// A workbook file of that name on the simulated Desktop, saved by Excel as xlsx.
inline void PutDesktopWorkbook(sim::SimFileSystem& files, const std::wstring& name) {
  files.Put(DesktopPath(files, name), sim::SimFile{"PK", 51, false});
}

}  // namespace harumado::test_support
