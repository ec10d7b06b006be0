#pragma once
// Excel's automation and the speech voice, where they are not reached yet: every request for
// one of their objects fails with "cannot create object" (429), as on a machine without them.
#include "platform/spreadsheet_host.h"
#include "platform/voice.h"

namespace harumado::win32 {

class UnavailableSpreadsheetHost final : public platform::SpreadsheetHost {
 public:
  std::unique_ptr<platform::ExcelApplication> GetActiveObject() override;
  std::unique_ptr<platform::ExcelApplication> CreateObject() override;
  platform::ExcelApplication& GlobalApplication() override;
  void SetBusyPolicy(int timeout_ms) override;
};

class UnavailableVoiceFactory final : public platform::VoiceFactory {
 public:
  std::unique_ptr<platform::Voice> CreateVoice() override;
};

}  // namespace harumado::win32
