#include "registration.h"

#include "../common/com_registration.h"
#include "double_excel.h"

namespace harumado::doubles {
namespace {

const ClassEntry kEntries[] = {{kApplicationClass, L"Excel.Application", L"Excel.Application"},
                               {kGlobalClass, L"Excel.Global", L"Excel.Global"}};

}  // namespace

bool RegisterServer() {
  const std::wstring server = ModuleFile(nullptr);
  bool ok = true;
  for (const auto& e : kEntries) ok = RegisterClassEntry(e, ServerKind::kLocalServer, server) && ok;
  return ok;
}

bool UnregisterServer() {
  for (const auto& e : kEntries) UnregisterClassEntry(e);
  return true;
}

}  // namespace harumado::doubles
