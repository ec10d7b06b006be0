#include "harness.h"

namespace harumado::harness {

void FirstRun(const std::wstring&, const std::vector<std::wstring>&);
void SettingsRestored(const std::wstring&, const std::vector<std::wstring>&);
void VersionGate(const std::wstring&, const std::vector<std::wstring>&);
void SecondInstance(const std::wstring&, const std::vector<std::wstring>&);
void SettingsWritten(const std::wstring&, const std::vector<std::wstring>&);
void FallbackFolder(const std::wstring&, const std::vector<std::wstring>&);
void InputFields(const std::wstring&, const std::vector<std::wstring>&);
void ModeSelector(const std::wstring&, const std::vector<std::wstring>&);
void ZOrder(const std::wstring&, const std::vector<std::wstring>&);
void UsageWindow(const std::wstring&, const std::vector<std::wstring>&);
void SpeechWindow(const std::wstring&, const std::vector<std::wstring>&);
void ViewerChain(const std::wstring&, const std::vector<std::wstring>&);
void Screens(const std::wstring&, const std::vector<std::wstring>&);
void ExcelMissing(const std::wstring&, const std::vector<std::wstring>&);
void HighDpi(const std::wstring&, const std::vector<std::wstring>&);
void HighDpiRestored(const std::wstring&, const std::vector<std::wstring>&);
void ExcelCreateAndPaste(const std::wstring&, const std::vector<std::wstring>&);
void ExcelPicture(const std::wstring&, const std::vector<std::wstring>&);
void ExcelQuitWhilePasting(const std::wstring&, const std::vector<std::wstring>&);
void ExcelBusy(const std::wstring&, const std::vector<std::wstring>&);
void ExcelColumnFit(const std::wstring&, const std::vector<std::wstring>&);
void ExcelReadAloud(const std::wstring&, const std::vector<std::wstring>&);
void ExcelCloseWhilePasting(const std::wstring&, const std::vector<std::wstring>&);
void ExcelAutomation(const std::wstring&, const std::vector<std::wstring>&);
void ExcelPaintedWhilePasting(const std::wstring&, const std::vector<std::wstring>&);
void ExcelHungViewer(const std::wstring&, const std::vector<std::wstring>&);
void ExcelValueTypes(const std::wstring&, const std::vector<std::wstring>&);
void ExcelTypedPaste(const std::wstring&, const std::vector<std::wstring>&);

const std::vector<Scenario>& AllScenarios() {
  static const std::vector<Scenario> all = {
      {L"first-run", &FirstRun},
      {L"settings-restored", &SettingsRestored},
      {L"version-gate", &VersionGate},
      {L"second-instance", &SecondInstance},
      {L"settings-written", &SettingsWritten},
      {L"fallback-folder", &FallbackFolder},
      {L"input-fields", &InputFields},
      {L"mode-selector", &ModeSelector},
      {L"z-order", &ZOrder},
      {L"usage-window", &UsageWindow},
      {L"speech-window", &SpeechWindow},
      {L"viewer-chain", &ViewerChain},
      {L"screens", &Screens},
      {L"excel-missing", &ExcelMissing},
      {L"high-dpi", &HighDpi},
      {L"high-dpi-restored", &HighDpiRestored},
      {L"excel-create-and-paste", &ExcelCreateAndPaste},
      {L"excel-picture", &ExcelPicture},
      {L"excel-quit-while-pasting", &ExcelQuitWhilePasting},
      {L"excel-busy", &ExcelBusy},
      {L"excel-column-fit", &ExcelColumnFit},
      {L"excel-read-aloud", &ExcelReadAloud},
      {L"excel-close-while-pasting", &ExcelCloseWhilePasting},
      {L"excel-automation", &ExcelAutomation},
      {L"excel-painted-while-pasting", &ExcelPaintedWhilePasting},
      {L"excel-hung-viewer", &ExcelHungViewer},
      {L"excel-value-types", &ExcelValueTypes},
      {L"excel-typed-paste", &ExcelTypedPaste},
  };
  return all;
}

}  // namespace harumado::harness
