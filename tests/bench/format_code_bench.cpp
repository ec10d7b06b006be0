// Prints the time to take apart number-format codes with many commas between two digit
// placeholders ("0,,,...,0"): the comma rules look for digits on both sides of every comma.
#include <chrono>
#include <cstdio>
#include <string>

#include "runtime/number_format.h"

int main() {
  for (const int commas : {1000, 10000, 100000}) {
    const std::wstring code = L"0" + std::wstring(static_cast<std::size_t>(commas), L',') + L"0";
    const auto start = std::chrono::steady_clock::now();
    const bool valid = harumado::rt::IsValidFormatCode(code);
    const std::wstring shown = harumado::rt::FormatNumber(1234567.0, code);
    const auto end = std::chrono::steady_clock::now();
    std::printf("%7d commas: valid %d, shows %ls, %.2f ms\n", commas, valid ? 1 : 0, shown.c_str(),
                std::chrono::duration<double, std::milli>(end - start).count());
  }
  return 0;
}
