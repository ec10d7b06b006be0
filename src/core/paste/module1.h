#pragma once
// The paste loop and its steps.
namespace harumado::app {
class Program;
}

namespace harumado::paste {

void PasteLoop(app::Program& program);

}  // namespace harumado::paste
