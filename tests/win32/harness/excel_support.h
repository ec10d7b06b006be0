#pragma once
// The scenarios with Excel: the test double (an out-of-process "Excel.Application" over the
// simulated spreadsheet), its report, workbook files on the Desktop and the voice double's log.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "harness.h"

namespace harumado::harness {

inline constexpr wchar_t kPastingCaption[] = L"     貼り付け     開始";
inline constexpr wchar_t kRetryMessage[] = L"少し待機してから再試行して下さい。";
inline constexpr auto kExcelLimit = std::chrono::seconds(20);
inline constexpr auto kPasteLimit = std::chrono::seconds(10);

std::wstring OpenedMessage(const std::wstring& path);
std::wstring StoppedMessage(const std::wstring& path);
void Type(HWND field, const std::wstring& text);
bool WaitForText(HWND control, const std::wstring& text, std::chrono::milliseconds limit);
// Starts the program (its main window), types the workbook name and presses the start button;
// true once pasting is on and the paste loop watches the clipboard.
bool StartPasting(RunningProgram& p, HWND& main, const std::wstring& name,
                  const std::wstring& path);

// The program shows what its paste loops do as two properties of its main window: the loops
// running now and the cycles they have done, a cycle counted once its look at the clipboard
// (and the paste of a change) is over.
// True once `cycles` more cycles are done than when called: the last of them looked at the
// clipboard after the call.
bool WaitForPasteCycles(HWND main, int cycles);
// After the start press's open step has read Excel's window handle: true once the paste loop
// has taken the clipboard as it stands (a copy before that would not count as a change). When
// the workbook was created, the nested press's loop runs one cycle of its own first: two cycles
// done with a loop still running are the outer loop's.
bool WaitForPasteLoopStart(HWND main);
// After a stop press: true once no paste loop runs.
bool WaitForPasteLoopEnd(HWND main);
// The paste loops running now.
int PasteLoopsRunning(HWND main);

// A click that does not wait for the program to handle it: a press that starts pasting returns
// only when pasting ends (as the user's click, it is posted).
void PostClick(HWND control);

// The doubles' program files, as the scenario arguments give them: the Excel double first,
// then the voice double.
struct Doubles {
  std::wstring excel;
  std::wstring voice;
  std::wstring ExcelLog() const;
  std::wstring VoiceLog() const;
};
Doubles DoublesFrom(const std::vector<std::wstring>& args);

// Every running Excel double quits (as its user closing it); true when none is left.
bool CloseAllExcel();
// An Excel double started and shown (as a user starts Excel), with the workbook opened when a
// path is given; the harness keeps no reference to it.
bool StartVisibleExcel(const std::optional<std::wstring>& workbook = std::nullopt);
// The main window of the running Excel double, or null.
HWND ExcelWindow();

// The report of the Excel the active-object lookup finds (its lines), or nothing.
std::optional<std::vector<std::wstring>> ExcelReport();
// The report, or nothing and a failure (what the report was read for) when it cannot be read.
std::optional<std::vector<std::wstring>> ExpectExcelReport(const std::wstring& what);
bool HasLine(const std::vector<std::wstring>& report, const std::wstring& line);
// The line that starts with the prefix, or "".
std::wstring LineStarting(const std::vector<std::wstring>& report, const std::wstring& prefix);
// Polls the report (a few times a second) until the lines are all there.
bool WaitForLines(const std::vector<std::wstring>& lines, std::chrono::milliseconds limit);
// Makes the running Excel refuse every call for the time.
bool MakeExcelBusy(int ms);
// A test member of the double's application, called with arguments.
bool CallExcel(const std::wstring& member, const std::vector<std::wstring>& args);

std::wstring DesktopFolder();
// A workbook file as the double writes it, in format 51.
void PutWorkbookOnDesktop(const std::wstring& name);
std::optional<int> WorkbookFormat(const std::wstring& path);

std::vector<std::wstring> LogLines(const std::wstring& path);
int CountLinesContaining(const std::vector<std::wstring>& lines, const std::wstring& part);

// Puts a picture of the size (pixels) on the clipboard, from another process.
bool CopyPicture(int width, int height);
bool CopyPictureFromAnotherProcess(int width, int height);

// The benchmark against the Excel double (prints its figures): the column fit on `rows` rows,
// the cell-by-cell reading on the first `cell_by_cell_rows` of them.
int ExcelBenchmark(const std::wstring& program, int rows, int cell_by_cell_rows);

}  // namespace harumado::harness
