#pragma once
// Everything the core needs from the platform, handed to the program at start.
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/spreadsheet_host.h"
#include "platform/system_info.h"
#include "platform/voice.h"
#include "platform/window_system.h"

namespace harumado::platform {

struct Services {
  SpreadsheetHost& host;
  WindowSystem& windows;
  Clipboard& clipboard;
  VoiceFactory& voices;
  Shell& shell;
  SystemInfo& system;
  Files& files;
};

}  // namespace harumado::platform
