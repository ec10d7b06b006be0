#pragma once
// What the double takes from the real machine: the clipboard's content and workbook files.
#include <string>

#include "sim/sim_clipboard.h"
#include "sim/sim_files.h"

namespace harumado::doubles {

// The clipboard as the simulated Excel sees it: text, a picture (its size in points at 96 dpi),
// something else, or nothing.
sim::ClipContent ReadClipboard();

// A workbook file on disk goes into the simulated file system before Excel opens or saves over
// it (a missing file leaves it); a saved one is written to disk, with its format on a line of
// its own ("harumado-double-format N").
void LoadWorkbookFile(const std::wstring& path, sim::SimFileSystem& files);
void WriteWorkbookFile(const std::wstring& path, const sim::SimFile* file);

}  // namespace harumado::doubles
