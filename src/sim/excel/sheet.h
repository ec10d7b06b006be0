#pragma once
// A worksheet of the simulated spreadsheet application. (Not built yet: cells, paste, shapes.)

namespace harumado::sim {

class SimSheet {};

}  // namespace harumado::sim
