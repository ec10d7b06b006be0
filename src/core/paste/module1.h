#pragma once
// The paste loop and its steps (Module1).
#include <cstdint>

namespace harumado::app {
class Program;
}
namespace harumado::rt {
class SkipMode;
}

namespace harumado::paste {

// Watches the clipboard while pasting is active; returns when PasteActive is 0 at the end of a
// cycle, when its start-up trap fires, or with the error of a failing cursor step.
void PasteLoop(app::Program& program);

// The steps of one paste. PasteText and PastePicture run in the loop's skip mode; AdvanceCursor
// runs outside it and moves the run's wrap counter on.
void PasteText(app::Program& program, rt::SkipMode& skip);
void PastePicture(app::Program& program, rt::SkipMode& skip);
void AdvanceCursor(app::Program& program, std::int32_t& RowCellCount);

}  // namespace harumado::paste
