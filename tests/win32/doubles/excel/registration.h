#pragma once
// The double's classes in the registry: "Excel.Application" and "Excel.Global" as local
// servers of this program file.
namespace harumado::doubles {

bool RegisterServer();
bool UnregisterServer();

}  // namespace harumado::doubles
