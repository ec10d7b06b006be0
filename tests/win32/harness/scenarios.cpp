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
  };
  return all;
}

}  // namespace harumado::harness
