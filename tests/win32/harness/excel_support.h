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

// While pasting is on, the program takes the messages sent to it only where the paste loop
// dispatches events, at the head of each cycle; then it looks at the clipboard (and pastes a
// change) and sleeps half a second without taking any message. A message sent to the main window
// right after an answer therefore waits out that sleep: an answer that took that long shows that
// the loop went through a whole cycle (its look at the clipboard included) since the message
// before. True once `cycles` such answers came.
bool WaitForPasteCycles(RunningProgram& p, HWND main, int cycles);
// After the start press's open step has read Excel's window handle: true once the paste loop
// has taken the clipboard as it stands (a copy before that would not count as a change).
bool WaitForPasteLoopStart(RunningProgram& p, HWND main);
// After a stop press: true once no paste loop runs, seen as the program answering at once for
// longer than a cycle of the loop (the main message loop takes messages all the time).
bool WaitForPasteLoopEnd(RunningProgram& p, HWND main);

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
