// harumado-soak: runs random sessions on the simulated desktop through the scenario runner and
// checks after every step what must always hold. A failing session is written out as a scenario
// file that harumado-sim runs to the same failure.
//
//   harumado-soak [--sessions N] [--seed S] [--long] [--out DIR]
//                 [--print SEED] [--inject-failure]
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "sim/scenario/runner.h"
#include "soak/session_generator.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDefaultSessions = 200;
constexpr int kLongSessions = 100000;
constexpr int kMaxFailureFiles = 5;

struct Options {
  int sessions = kDefaultSessions;
  std::uint64_t seed = 1;
  fs::path out = "soak-out";
  harumado::soak::GeneratorOptions generator;
  bool inject_failure = false;
  std::optional<std::uint64_t> print;
};

[[noreturn]] void Usage() {
  std::cerr << "usage: harumado-soak [--sessions N] [--seed S] [--long] [--out DIR] "
               "[--print SEED] [--inject-failure]\n";
  std::exit(2);
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage();
      return argv[++i];
    };
    if (arg == "--sessions") {
      o.sessions = std::stoi(value());
    } else if (arg == "--seed") {
      o.seed = std::stoull(value());
    } else if (arg == "--long") {
      o.sessions = kLongSessions;
    } else if (arg == "--out") {
      o.out = value();
    } else if (arg == "--print") {
      o.print = std::stoull(value());
    } else if (arg == "--inject-failure") {
      o.inject_failure = true;
    } else {
      Usage();
    }
  }
  return o;
}

// Odd seeds reach Excel through the late-bound host, as the Windows program does.
bool LateBound(std::uint64_t seed) { return seed % 2 == 1; }

// The runner stopped at a statement that could not be taken as the generator wrote it (a side
// window that is not shown, a sheet statement with no workbook open or on a protected sheet):
// the session ends there, but nothing failed.
bool CutShort(const std::string& output) {
  static constexpr std::string_view kInfeasible[] = {
      ": window Form2 is not shown",  ": window Form2 does not exist",
      ": window Form3 is not shown",  ": window Form3 does not exist",
      ": Excel has no workbook open", ": Excel refuses it (error 1004)"};
  std::istringstream lines(output);
  std::string line;
  int count = 0;
  bool infeasible = false;
  while (std::getline(lines, line)) {
    ++count;
    for (const auto ending : kInfeasible) infeasible = infeasible || line.ends_with(ending);
  }
  return count == 1 && infeasible;
}

// The session as it ran, with what went wrong in comments at its end (so that the line numbers
// stay those of the run).
std::string Reproducible(const std::string& text, std::uint64_t seed, const std::string& output) {
  std::string tail = "# harumado-soak failed on this session";
  tail += LateBound(seed) ? " (run it with harumado-sim --late-bound):\n" : ":\n";
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) tail += "#   " + line + "\n";
  return text + tail;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = ParseOptions(argc, argv);
  if (o.print) {
    std::cout << harumado::soak::GenerateSession(*o.print, o.generator).text;
    return 0;
  }
  fs::create_directories(o.out);
  const fs::path working = o.out / "session.scenario";
  long long steps = 0;
  int cut_short = 0;
  int failed = 0;
  for (int i = 0; i < o.sessions; ++i) {
    const std::uint64_t seed = o.seed + static_cast<std::uint64_t>(i);
    auto session = harumado::soak::GenerateSession(seed, o.generator);
    if (o.inject_failure) session.text += "expect state PasteActive 7\n";
    {
      std::ofstream f(working, std::ios::binary | std::ios::trunc);
      f << session.text;
    }
    std::ostringstream output;
    bool passed = false;
    {
      harumado::sim::scenario::Runner runner(working.string(), false, output, LateBound(seed));
      passed = runner.Run();
    }
    steps += session.steps;
    if (passed) continue;
    if (CutShort(output.str())) {
      ++cut_short;
      continue;
    }
    ++failed;
    const fs::path file = o.out / ("failure-seed-" + std::to_string(seed) + ".scenario");
    if (failed <= kMaxFailureFiles) {
      std::ofstream f(file, std::ios::binary | std::ios::trunc);
      f << Reproducible(session.text, seed, output.str());
    }
    std::cout << "seed " << seed << (LateBound(seed) ? " (late-bound)" : "")
              << " failed, written to " << file.string() << ":\n"
              << output.str();
  }
  fs::remove(working);
  std::cout << "harumado-soak: " << o.sessions << " sessions (seeds " << o.seed << " to "
            << o.seed + static_cast<std::uint64_t>(o.sessions) - 1 << "), " << steps << " steps, "
            << cut_short << " cut short at a statement that could not be taken, " << failed
            << " failed" << std::endl;
  return failed == 0 ? 0 : 1;
}
