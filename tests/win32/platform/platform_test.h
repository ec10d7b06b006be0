#pragma once
// A small test runner for the Windows platform's own tests, which run under wine (GoogleTest
// is not built for the cross target).
#include <functional>
#include <string>
#include <vector>

namespace harumado::platform_test {

struct TestCase {
  const char* name;
  void (*run)();
};
std::vector<TestCase>& Registry();

struct Registrar {
  Registrar(const char* name, void (*run)()) { Registry().push_back({name, run}); }
};

void Check(bool ok, const char* expression, const char* file, int line);
void CheckText(const std::wstring& expected, const std::wstring& got, const char* expression,
               const char* file, int line);
void CheckInt(long long expected, long long got, const char* expression, const char* file,
              int line);

}  // namespace harumado::platform_test

#define PLATFORM_TEST(name)                                                   \
  static void name();                                                         \
  static ::harumado::platform_test::Registrar name##_registrar(#name, &name); \
  static void name()
#define CHECK(cond) ::harumado::platform_test::Check((cond), #cond, __FILE__, __LINE__)
#define CHECK_TEXT(expected, got) \
  ::harumado::platform_test::CheckText((expected), (got), #got, __FILE__, __LINE__)
#define CHECK_INT(expected, got) \
  ::harumado::platform_test::CheckInt((expected), (got), #got, __FILE__, __LINE__)
