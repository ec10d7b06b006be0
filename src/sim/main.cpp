// harumado-sim: runs scenario files against the simulated desktop.
#include <iostream>
#include <string>
#include <vector>

#include "sim/scenario/runner.h"

int main(int argc, char** argv) {
  bool trace = false;
  bool late_bound = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--trace") {
      trace = true;
    } else if (arg == "--late-bound") {
      late_bound = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << "usage: harumado-sim [--trace] [--late-bound] FILE.scenario...\n";
      return 0;
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) {
    std::cerr << "usage: harumado-sim [--trace] [--late-bound] FILE.scenario...\n";
    return 2;
  }
  int passed = 0;
  int failed = 0;
  for (const auto& f : files) {
    harumado::sim::scenario::Runner runner(f, trace, std::cout, late_bound);
    if (runner.Run()) {
      ++passed;
    } else {
      ++failed;
    }
  }
  std::cout << passed << " passed, " << failed << " failed" << std::endl;
  return failed == 0 ? 0 : 1;
}
