// harumado-platform-tests: runs every test of the Windows platform, prints each failed check and
// "N passed, M failed".
#include <cstdio>
#include <string>

#include "platform_test.h"
#include "win32/scoped.h"
#include "win32/text_win32.h"

namespace harumado::platform_test {
namespace {
int failed_checks = 0;
}

std::vector<TestCase>& Registry() {
  static std::vector<TestCase> all;
  return all;
}

void Check(bool ok, const char* expression, const char* file, int line) {
  if (ok) return;
  ++failed_checks;
  std::printf("%s:%d: check failed: %s\n", file, line, expression);
}

void CheckText(const std::wstring& expected, const std::wstring& got, const char* expression,
               const char* file, int line) {
  if (expected == got) return;
  ++failed_checks;
  std::printf("%s:%d: %s: expected [%s], got [%s]\n", file, line, expression,
              win32::AnsiFromWide(expected, CP_UTF8).c_str(),
              win32::AnsiFromWide(got, CP_UTF8).c_str());
}

void CheckInt(long long expected, long long got, const char* expression, const char* file,
              int line) {
  if (expected == got) return;
  ++failed_checks;
  std::printf("%s:%d: %s: expected %lld, got %lld\n", file, line, expression, expected, got);
}

}  // namespace harumado::platform_test

int main() {
  using namespace harumado::platform_test;
  harumado::win32::ComApartment com;
  int passed = 0, failed = 0;
  for (const TestCase& t : Registry()) {
    const int before = failed_checks;
    t.run();
    if (failed_checks == before) {
      ++passed;
    } else {
      ++failed;
      std::printf("FAILED: %s\n", t.name);
    }
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  return failed == 0 ? 0 : 1;
}
