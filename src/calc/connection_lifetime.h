#pragma once
// The end of the process's connections to LibreOffice (without UNO's headers: the program's main
// holds the scope). Defined with the connections themselves, in office_connection.cpp.

namespace harumado::calc {

// Takes the process's connections to LibreOffice down in order: every bridge is disposed (it
// closes its pipe and ends its threads) and the local UNO runtime with them; no connection is
// made again in this process (ConnectToPipe answers nothing). A program that uses LibreOffice
// calls it before it ends: bridge threads still reading while the process exits and the UNO
// runtime's statics go now and then crashed the exit. Objects reached over the pipe may still
// be released afterwards (a release on a disposed bridge is dropped).
void CloseOfficeConnections();

// Closes the connections when it goes out of scope: made in main before anything that holds
// objects reached over the pipe, so that it ends after them.
class OfficeConnectionsScope {
 public:
  OfficeConnectionsScope() = default;
  ~OfficeConnectionsScope();
  OfficeConnectionsScope(const OfficeConnectionsScope&) = delete;
  OfficeConnectionsScope& operator=(const OfficeConnectionsScope&) = delete;
};

}  // namespace harumado::calc
