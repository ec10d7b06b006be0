// Starting the program and acting on its windows and controls from outside, as a user would.
#include <memory>

#include "core/ui/layouts.h"
#include "harness.h"
#include "win32/control_view_win32.h"

namespace harumado::harness {
namespace {

constexpr UINT kSendTimeoutMs = 5000;

LRESULT Send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_NORMAL, kSendTimeoutMs, &result)) {
    Fail(L"message 0x" + std::to_wstring(message) + L" handled", L"handled",
         L"no answer (error " + std::to_wstring(::GetLastError()) + L")");
  }
  return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  return name;
}

struct FindData {
  DWORD pid;
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindByCaption(HWND hwnd, LPARAM data) {
  auto* find = reinterpret_cast<FindData*>(data);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != find->pid || ClassOf(hwnd) != win32::kFormClass) return TRUE;
  wchar_t title[256] = {};
  ::GetWindowTextW(hwnd, title, 256);
  if (find->caption != title) return TRUE;
  find->found = hwnd;
  return FALSE;
}

LPARAM CenterOf(HWND hwnd) {
  RECT r{};
  ::GetClientRect(hwnd, &r);
  return MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

}  // namespace

RunningProgram::RunningProgram(const std::wstring& exe) {
  const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
    Fail(L"start " + exe, L"started", L"error " + std::to_wstring(::GetLastError()));
    return;
  }
  process_.reset(info.hProcess);
  thread_.reset(info.hThread);
  pid_ = info.dwProcessId;
}

RunningProgram::~RunningProgram() {
  if (process_ && !Exited(std::chrono::milliseconds(0))) {
    Fail(L"the program ended by the end of the scenario", L"ended", L"still running");
    Kill();
  }
}

bool RunningProgram::Exited(std::chrono::milliseconds within) {
  if (!process_) return true;
  return ::WaitForSingleObject(process_.get(), static_cast<DWORD>(within.count())) == WAIT_OBJECT_0;
}

DWORD RunningProgram::ExitCode() {
  DWORD code = STILL_ACTIVE;
  if (process_) ::GetExitCodeProcess(process_.get(), &code);
  return code;
}

void RunningProgram::Kill() {
  if (!process_) return;
  ::TerminateProcess(process_.get(), 99);
  ::WaitForSingleObject(process_.get(), 5000);
}

HWND RunningProgram::FindWindowByCaption(const std::wstring& caption) const {
  FindData data{pid_, caption};
  ::EnumWindows(&FindByCaption, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

HWND RunningProgram::WaitForVisibleWindow(const std::wstring& caption,
                                          std::chrono::milliseconds within) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindWindowByCaption(caption);
        return found != nullptr && ::IsWindowVisible(found);
      },
      within);
  return found != nullptr && ::IsWindowVisible(found) ? found : nullptr;
}

bool RunningProgram::Sync(HWND window) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &result) != 0;
}

// The program gives every control the ID 1000 plus its place in its window's layout.
HWND Control(HWND window, const std::wstring& window_name, const std::wstring& control) {
  std::unique_ptr<ui::Window> layout = window_name == L"Form1"   ? ui::MakeMainWindowLayout()
                                       : window_name == L"Form2" ? ui::MakeUsageWindowLayout()
                                                                 : ui::MakeSpeechWindowLayout();
  const auto& controls = layout->controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i]->name() == control) {
      HWND hwnd = ::GetDlgItem(window, win32::kFirstControlId + static_cast<int>(i));
      if (hwnd == nullptr) Fail(L"control " + control + L" exists", L"a window", L"none");
      return hwnd;
    }
  }
  Fail(L"control " + control + L" in the layout of " + window_name, L"found", L"not found");
  return nullptr;
}

std::wstring TextOf(HWND hwnd) {
  if (hwnd == nullptr) return L"<no window>";
  const auto length = static_cast<std::size_t>(Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const auto got = static_cast<std::size_t>(
      Send(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
  text.resize(std::min(got, length));
  return text;
}

bool Checked(HWND hwnd) { return Send(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A press of the mouse first activates the window it falls into, as the system does for a real
// click.
void MouseDown(HWND hwnd) {
  HWND root = ::GetAncestor(hwnd, GA_ROOT);
  if (root != nullptr && ::GetForegroundWindow() != root) {
    ::SetForegroundWindow(root);
    WaitUntil([&] { return ::GetForegroundWindow() == root; }, std::chrono::seconds(2));
  }
  Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, CenterOf(hwnd));
}
void MouseUp(HWND hwnd) { Send(hwnd, WM_LBUTTONUP, 0, CenterOf(hwnd)); }

void Click(HWND hwnd) {
  MouseDown(hwnd);
  MouseUp(hwnd);
}

void TypeChar(HWND hwnd, wchar_t ch) { Send(hwnd, WM_CHAR, static_cast<WPARAM>(ch), 1); }

void KeyDown(HWND hwnd, UINT vk) {
  Send(hwnd, WM_KEYDOWN, vk, 1);
  Send(hwnd, WM_KEYUP, vk, 0xC0000001);
}

void RequestClose(HWND hwnd) { ::PostMessageW(hwnd, WM_CLOSE, 0, 0); }

std::pair<int, int> Selection(HWND edit) {
  const auto r = static_cast<DWORD>(Send(edit, EM_GETSEL, 0, 0));
  return {LOWORD(r), HIWORD(r)};
}

LONG_PTR Style(HWND hwnd) { return ::GetWindowLongPtrW(hwnd, GWL_STYLE); }
LONG_PTR ExStyle(HWND hwnd) { return ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE); }

Rect WindowRect(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return Rect{r.left, r.top, r.right, r.bottom};
}

Rect ClientRectOnScreen(HWND hwnd) {
  RECT r{};
  ::GetClientRect(hwnd, &r);
  POINT corner{0, 0};
  ::ClientToScreen(hwnd, &corner);
  return Rect{corner.x, corner.y, corner.x + r.right, corner.y + r.bottom};
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
  if (!::GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndFocus;
}

void MoveTo(HWND window, int left, int top) {
  ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

struct TooltipSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK FindTooltips(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<TooltipSearch*>(data);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->pid && ClassOf(hwnd) == TOOLTIPS_CLASSW) {
    search->found.push_back(hwnd);
  }
  return TRUE;
}

// Memory in the program's address space for a message that carries pointers.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, std::size_t size)
      : process_(process),
        p_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~RemoteBlock() {
    if (p_ != nullptr) ::VirtualFreeEx(process_, p_, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  std::uint8_t* get() const { return static_cast<std::uint8_t*>(p_); }

 private:
  HANDLE process_;
  void* p_;
};

}  // namespace

std::wstring TooltipOf(HWND window, HWND control, DWORD pid) {
  TooltipSearch search{pid, {}};
  ::EnumWindows(&FindTooltips, reinterpret_cast<LPARAM>(&search));
  win32::UniqueHandle process(
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process) return L"<cannot open the program>";
  constexpr std::size_t kChars = 256;
  RemoteBlock block(process.get(), sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t));
  if (block.get() == nullptr) return L"<no memory in the program>";
  auto* remote_text = reinterpret_cast<wchar_t*>(block.get() + sizeof(TTTOOLINFOW));
  for (HWND tooltip : search.found) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = window;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = remote_text;
    const wchar_t empty = L'\0';
    ::WriteProcessMemory(process.get(), block.get(), &info, sizeof info, nullptr);
    ::WriteProcessMemory(process.get(), remote_text, &empty, sizeof empty, nullptr);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(tooltip, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(block.get()),
                          SMTO_NORMAL, kSendTimeoutMs, &result);
    wchar_t text[kChars] = {};
    ::ReadProcessMemory(process.get(), remote_text, text, sizeof text - sizeof(wchar_t), nullptr);
    if (text[0] != L'\0') return text;
  }
  return L"";
}

}  // namespace harumado::harness
