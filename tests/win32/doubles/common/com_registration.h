#pragma once
// A double's classes in the registry (HKEY_LOCAL_MACHINE\Software\Classes): the class under
// its CLSID with its server, and a ProgID naming it.
#include <string>

#include "win32/win32_api.h"

namespace harumado::doubles {

// How COM reaches the class's server.
enum class ServerKind {
  kLocalServer,  // a program of its own, started by COM (LocalServer32)
  kInProcess,    // a DLL loaded into the client, for threads of both models (InprocServer32)
};

struct ClassEntry {
  const CLSID& clsid;
  const wchar_t* name;     // the class's default value (its ProgID, or a description)
  const wchar_t* prog_id;  // null when the class gets no ProgID of its own
};

// The class under its CLSID and its ProgID; the server file as a full path. True when every
// value was written.
bool RegisterClassEntry(const ClassEntry& entry, ServerKind kind, const std::wstring& server);
// Removes what RegisterClassEntry wrote.
void UnregisterClassEntry(const ClassEntry& entry);

// The file of the module (program or DLL) that holds the code; null for the program.
std::wstring ModuleFile(HMODULE module);

}  // namespace harumado::doubles
