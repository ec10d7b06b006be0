// The version queries and the single-instance mutex.
#include "platform_test.h"
#include "win32/system_info_win32.h"
#include "win32/win32_api.h"

using harumado::win32::InstanceMutexName;
using harumado::win32::SystemInfoWin32;

PLATFORM_TEST(VersionAndWmiReportTheSameBuild) {
  SystemInfoWin32 system({});
  const auto build = system.VersionBuildNumber();
  CHECK(build >= 10240);  // the manifest declares Windows 10
  const auto wmi = system.WmiBuildNumbers();
  CHECK_INT(1, static_cast<long long>(wmi.size()));
  if (!wmi.empty()) CHECK_TEXT(std::to_wstring(build), wmi.front());
}

PLATFORM_TEST(OneMutexPerProgramFile) {
  CHECK_TEXT(InstanceMutexName(L"C:\\Tools\\Harumado.exe"),
             InstanceMutexName(L"c:\\tools\\HARUMADO.EXE"));
  CHECK(InstanceMutexName(L"C:\\Tools\\Harumado.exe") !=
        InstanceMutexName(L"C:\\Other\\Harumado.exe"));
  CHECK(InstanceMutexName(L"C:\\Tools\\Harumado.exe").rfind(L"Local\\", 0) == 0);
  SystemInfoWin32 first({});
  CHECK(!first.AnotherInstanceRuns());
  CHECK(!first.AnotherInstanceRuns());  // asking again: still the only one
  SystemInfoWin32 second({});
  CHECK(second.AnotherInstanceRuns());
}

PLATFORM_TEST(ExitEndsTheProgramThroughItsCallback) {
  int ended = 0;
  SystemInfoWin32 system([&] { ++ended; });
  system.Exit();
  CHECK_INT(1, ended);
}
