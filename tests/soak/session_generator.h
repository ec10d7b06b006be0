#pragma once
// Random sessions on the simulated desktop, written as scenario text: the world before start,
// then random steps (user actions on every control of every window, copies, Excel faults,
// settings-file faults, viewers joining and leaving), each followed by the expectations that
// must hold whatever happened, and at the end the close of the main window and what must hold
// after the program has ended. The same seed gives the same session.
#include <cstdint>
#include <string>

namespace harumado::soak {

struct GeneratorOptions {
  int min_steps = 8;
  int max_steps = 40;
  // `viewer hang "NAME"` among the viewer steps: a viewer in the chain stops answering.
  bool viewer_hang = true;
};

struct Session {
  std::string text;  // the scenario file
  int steps = 0;
};

Session GenerateSession(std::uint64_t seed, const GeneratorOptions& options);

}  // namespace harumado::soak
