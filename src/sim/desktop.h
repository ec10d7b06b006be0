#pragma once
// The whole simulated desktop: one world and every simulated platform service.
#include "platform/services.h"
#include "sim/excel/sim_excel.h"
#include "sim/sim_clipboard.h"
#include "sim/sim_files.h"
#include "sim/sim_voice.h"
#include "sim/sim_window_system.h"
#include "sim/world.h"

namespace harumado::sim {

struct Desktop {
  World world;
  SimWindowSystem windows{world};
  SimClipboard clipboard{world, windows};
  SimSpeech speech{world};
  SimFileSystem files{world};
  SimSystem system{world};
  SimExcel excel{world, clipboard, files};

  platform::Services services() {
    return platform::Services{excel, windows, clipboard, speech, files, system, files};
  }
};

}  // namespace harumado::sim
