#pragma once
// The program's shared state: flags and values that live in the main window for the whole
// process, all 0 (texts empty) at process start.
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace harumado::app {

struct SharedState {
  std::int32_t PasteActive = 0;    // 1 while pasting is active
  std::int32_t Unloading = 0;      // 1 once shutdown has begun
  std::int32_t ToggledOff = 0;     // the latest validated press of Command5 switched pasting off
  std::int32_t ModeFlag = 0;       // paste treatment: 1 for 整数/画像, 0 for 数値/画像□
  std::int32_t PasteMode = 0;      // paste mode carried into and out of the settings file
  std::int32_t TopmostFlag = 0;    // Check4 carried into and out of the settings file
  std::int32_t SettingsFound = 0;  // the settings file existed at start-up
  std::int32_t UsageOpen = 0;      // the usage window is meant to be open
  std::int32_t WrapCount = 0;      // cells per row of pasting
  platform::WindowHandle ExcelHwnd = 0;
  std::wstring TitleMatch;  // "有り" or "無し": Excel's title holds the workbook name
};

}  // namespace harumado::app
