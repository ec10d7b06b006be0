// The native window built from its model: the window and its controls created, laid out at the
// window's DPI, with their fonts, colours, pictures and icons, and every change of the model
// written to them. The messages of the window come back to the model in
// control_view_events_win32.cpp.
#include <algorithm>

#include "runtime/automation_error.h"
#include "win32/control_view_win32.h"
#include "win32/dpi_win32.h"
#include "win32/picture_win32.h"

namespace harumado::win32 {
namespace {

using ui::ControlKind;

COLORREF Ref(const ui::Color& c) { return RGB(c.r, c.g, c.b); }

struct NativeClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

NativeClass ClassFor(const ui::Control& c) {
  const auto& spec = c.spec();
  switch (spec.kind) {
    case ControlKind::kTextField: {
      DWORD style = WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
      if (spec.multiline) style |= ES_MULTILINE | ES_WANTRETURN;
      if (spec.horizontal_scroll) style |= WS_HSCROLL;
      return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::kButton:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY | BS_MULTILINE, 0};
    case ControlKind::kGraphicalButton:
      return {L"BUTTON", WS_TABSTOP | BS_OWNERDRAW | BS_NOTIFY, 0};
    case ControlKind::kCheckBox:
      return {L"BUTTON", WS_TABSTOP | BS_CHECKBOX | BS_NOTIFY, 0};
    case ControlKind::kLabel:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::kSlider:
      return {L"SCROLLBAR", WS_TABSTOP | SBS_HORZ, 0};
    case ControlKind::kPicture:
    case ControlKind::kImage:
      return {L"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::kTimer:
      break;
  }
  return {nullptr, 0, 0};
}

}  // namespace

ControlViewWin32::ControlViewWin32(HINSTANCE instance, ui::Window& model)
    : instance_(instance), model_(&model) {}

ControlViewWin32::~ControlViewWin32() {
  if (hwnd_ != nullptr) Destroy();
}

void ControlViewWin32::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &ControlViewWin32::WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kFormClass;
  ::RegisterClassExW(&wc);
}

// The window is created at the system DPI, then laid out again for the DPI of the monitor it
// landed on. A window with a first position puts its client area's corner there.
HWND ControlViewWin32::Create() {
  const ui::WindowSpec& spec = model_->spec();
  DWORD style = WS_CLIPCHILDREN;
  DWORD ex_style = 0;
  if (spec.frame == ui::Frame::kFixedSingle) {
    style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (spec.min_button) style |= WS_MINIMIZEBOX;
    if (spec.max_button) style |= WS_MAXIMIZEBOX;
  } else {
    style |= WS_POPUP;
    ex_style |= WS_EX_TOOLWINDOW;  // the usage window stays out of the task bar
  }
  const int dpi = SystemDpi();
  const int client_left = spec.client_left ? TwipsToPixels(*spec.client_left, dpi) : 0;
  const int client_top = spec.client_top ? TwipsToPixels(*spec.client_top, dpi) : 0;
  const RECT client{client_left, client_top, client_left + TwipsToPixels(spec.client_width, dpi),
                    client_top + TwipsToPixels(spec.client_height, dpi)};
  const RECT outer = OuterRectForClient(client, style, ex_style, dpi);
  const bool placed = spec.client_left && spec.client_top;
  const bool overlapped = spec.frame == ui::Frame::kFixedSingle;
  const int x = placed || !overlapped ? outer.left : CW_USEDEFAULT;
  const int y = placed || !overlapped ? outer.top : CW_USEDEFAULT;
  hwnd_ = ::CreateWindowExW(ex_style, kFormClass, spec.caption.c_str(), style, x, y,
                            outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                            instance_, this);
  if (hwnd_ == nullptr) throw rt::AutomationError(static_cast<std::int32_t>(::GetLastError()));
  dpi_ = DpiForWindow(hwnd_);

  // Focus requests of the model's controls move the native focus too.
  focus_recorder_ = model_->ForwardFocusRequests([weak = weak_from_this()](ui::Control& c) {
    if (auto view = weak.lock()) view->FocusNative(c);
  });
  model_->set_view(this);

  CreateControls();
  CreateTooltips();
  LoadIcons();
  Layout();
  return hwnd_;
}

void ControlViewWin32::Destroy() {
  model_ = nullptr;
  requested_focus_ = nullptr;
  if (hwnd_ != nullptr) {
    for (Native& n : natives_) {
      if (n.hwnd == nullptr) ::KillTimer(hwnd_, static_cast<UINT_PTR>(n.id));
    }
    ::DestroyWindow(std::exchange(hwnd_, nullptr));
  }
  tooltip_.reset();
}

// Controls are created in tab order, so the dialog navigation of the message loop follows it.
void ControlViewWin32::CreateControls() {
  const auto& controls = model_->controls();
  natives_.reserve(controls.size());
  for (std::size_t i : model_->TabOrder()) {
    ui::Control& c = *controls[i];
    Native n;
    n.model = &c;
    n.id = kFirstControlId + static_cast<int>(i);
    const NativeClass cls = ClassFor(c);
    if (cls.name != nullptr) {
      DWORD style = WS_CHILD | WS_VISIBLE | cls.style;
      if (!c.enabled()) style |= WS_DISABLED;
      const std::wstring text = c.kind() == ControlKind::kSlider ? L"" : c.text();
      n.hwnd = ::CreateWindowExW(cls.ex_style, cls.name, text.c_str(), style, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(n.id)), instance_,
                                 nullptr);
      ::SetWindowSubclass(n.hwnd, &ControlViewWin32::ControlProc, static_cast<UINT_PTR>(n.id),
                          reinterpret_cast<DWORD_PTR>(this));
      if (c.kind() == ControlKind::kCheckBox) {
        ::SendMessageW(n.hwnd, BM_SETCHECK, c.value() != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      } else if (c.kind() == ControlKind::kSlider) {
        ::SetScrollRange(n.hwnd, SB_CTL, c.min(), c.max(), FALSE);
        ::SetScrollPos(n.hwnd, SB_CTL, c.value(), TRUE);
      } else if (c.kind() == ControlKind::kTextField && c.locked()) {
        ::SendMessageW(n.hwnd, EM_SETREADONLY, TRUE, 0);
      }
    }
    natives_.push_back(n);
  }
  for (Native& n : natives_) {
    if (n.hwnd == nullptr) UpdateTimer(n);
  }
}

// The tooltip window has no owner: an owned topmost popup keeps its owner from becoming topmost
// on some systems. It is destroyed with the view.
void ControlViewWin32::CreateTooltips() {
  tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   instance_, nullptr));
  for (Native& n : natives_) UpdateTool(n);
}

void ControlViewWin32::UpdateTool(Native& n) {
  if (!tooltip_ || n.hwnd == nullptr) return;
  const std::wstring& text = n.model->tooltip();
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(n.hwnd);
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  if (text.empty()) {
    if (n.has_tool)
      ::SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    n.has_tool = false;
  } else if (n.has_tool) {
    ::SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  } else {
    n.has_tool =
        ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
  }
}

void ControlViewWin32::LoadIcons() {
  const std::wstring& name = model_->spec().icon;
  if (name.empty()) return;
  // Not `small`: the Windows SDK's rpcndr.h defines that name as a macro.
  const int big_size = SystemMetricForDpi(SM_CXICON, dpi_);
  const int small_size = SystemMetricForDpi(SM_CXSMICON, dpi_);
  big_icon_.reset(static_cast<HICON>(
      ::LoadImageW(instance_, name.c_str(), IMAGE_ICON, big_size, big_size, LR_DEFAULTCOLOR)));
  small_icon_.reset(static_cast<HICON>(
      ::LoadImageW(instance_, name.c_str(), IMAGE_ICON, small_size, small_size, LR_DEFAULTCOLOR)));
  if (big_icon_) {
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.get()));
  }
  if (small_icon_) {
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
  }
}

// Positions, sizes and fonts in twips and points become pixels at the window's DPI.
void ControlViewWin32::Layout() {
  const ui::WindowSpec& spec = model_->spec();
  RECT window{};
  ::GetWindowRect(hwnd_, &window);
  const RECT client{0, 0, TwipsToPixels(spec.client_width, dpi_),
                    TwipsToPixels(spec.client_height, dpi_)};
  const RECT outer =
      OuterRectForClient(client, static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_STYLE)),
                         static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_EXSTYLE)), dpi_);
  ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Native& n : natives_) {
    if (n.hwnd == nullptr) continue;
    const ui::TwipsRect& r = n.model->spec().rect;
    const int left = TwipsToPixels(r.left, dpi_);
    const int top = TwipsToPixels(r.top, dpi_);
    const int right = TwipsToPixels(r.left + r.width, dpi_);
    const int bottom = TwipsToPixels(r.top + r.height, dpi_);
    ::MoveWindow(n.hwnd, left, top, right - left, bottom - top, TRUE);
    ::SendMessageW(n.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(*n.model)), TRUE);
  }
}

void ControlViewWin32::HandleDpiChanged(int dpi, const RECT& suggested) {
  // The old fonts stay alive until every control has its new one.
  FontCache old = std::move(fonts_);
  fonts_ = FontCache();
  dpi_ = dpi;
  ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
  LoadIcons();
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

HFONT ControlViewWin32::FontFor(const ui::Control& control) {
  const auto& font = control.spec().font;
  return fonts_.Get(font ? *font : DefaultWindowFont(), dpi_);
}

HBRUSH ControlViewWin32::Brush(COLORREF color) {
  auto it = brushes_.find(color);
  if (it == brushes_.end()) {
    it = brushes_.emplace(color, UniqueBrush(::CreateSolidBrush(color))).first;
  }
  return it->second.get();
}

HBITMAP ControlViewWin32::Picture(const std::wstring& name) {
  if (name.empty()) return nullptr;
  auto it = pictures_.find(name);
  if (it == pictures_.end()) {
    it = pictures_.emplace(name, LoadPicture(instance_, name)).first;
  }
  return it->second.get();
}

COLORREF ControlViewWin32::WindowBackColor() const {
  const auto& back = model_->spec().back;
  return back ? Ref(*back) : ::GetSysColor(COLOR_BTNFACE);
}

// Controls without a colour of their own take the platform's colours for their kind.
COLORREF ControlViewWin32::BackColor(const ui::Control& c) const {
  if (auto back = c.back_color()) return Ref(*back);
  switch (c.kind()) {
    case ControlKind::kTextField:
      return ::GetSysColor(COLOR_WINDOW);
    case ControlKind::kPicture:
    case ControlKind::kImage:
      return WindowBackColor();
    default:
      return ::GetSysColor(COLOR_BTNFACE);
  }
}

COLORREF ControlViewWin32::ForeColor(const ui::Control& c) const {
  if (auto fore = c.fore_color()) return Ref(*fore);
  return ::GetSysColor(c.kind() == ControlKind::kTextField ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
}

ControlViewWin32::Native* ControlViewWin32::FindNative(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  for (Native& n : natives_) {
    if (n.hwnd == hwnd) return &n;
  }
  return nullptr;
}

ControlViewWin32::Native* ControlViewWin32::FindNative(const ui::Control& control) {
  for (Native& n : natives_) {
    if (n.model == &control) return &n;
  }
  return nullptr;
}

ControlViewWin32::Native* ControlViewWin32::FindNativeById(int id) {
  for (Native& n : natives_) {
    if (n.id == id) return &n;
  }
  return nullptr;
}

// Model changes written to the native controls.

void ControlViewWin32::OnControlChanged(ui::Control& control, ui::Property property) {
  if (!alive()) return;
  Native* n = FindNative(control);
  if (n == nullptr) return;
  if (n->hwnd == nullptr) {
    if (property == ui::Property::kEnabled || property == ui::Property::kInterval) UpdateTimer(*n);
    return;
  }
  switch (property) {
    case ui::Property::kText:
      WriteText(*n);
      break;
    case ui::Property::kValue:
      if (control.kind() == ControlKind::kCheckBox) {
        ::SendMessageW(n->hwnd, BM_SETCHECK, control.value() != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      } else if (control.kind() == ControlKind::kSlider) {
        ::SetScrollPos(n->hwnd, SB_CTL, control.value(), TRUE);
      }
      break;
    case ui::Property::kRange:
      ::SetScrollRange(n->hwnd, SB_CTL, control.min(), control.max(), TRUE);
      ::SetScrollPos(n->hwnd, SB_CTL, control.value(), TRUE);
      break;
    case ui::Property::kBackColor:
    case ui::Property::kForeColor:
      ::InvalidateRect(n->hwnd, nullptr, TRUE);
      break;
    case ui::Property::kTooltip:
      UpdateTool(*n);
      break;
    case ui::Property::kLocked:
      ::SendMessageW(n->hwnd, EM_SETREADONLY, control.locked() ? TRUE : FALSE, 0);
      ::InvalidateRect(n->hwnd, nullptr, TRUE);
      break;
    case ui::Property::kSelection:
      if (n->pressing) n->selection_changed = true;
      WriteSelection(*n);
      break;
    case ui::Property::kEnabled:
      ::EnableWindow(n->hwnd, control.enabled() ? TRUE : FALSE);
      break;
    case ui::Property::kInterval:
      break;
  }
}

void ControlViewWin32::WriteText(Native& n) {
  const bool was_writing = std::exchange(writing_, true);
  ::SetWindowTextW(n.hwnd, n.model->text().c_str());
  writing_ = was_writing;
  if (n.model->kind() == ControlKind::kTextField) {
    WriteSelection(n);
  } else {
    ::InvalidateRect(n.hwnd, nullptr, TRUE);
  }
}

void ControlViewWin32::WriteSelection(Native& n) {
  if (n.model->kind() != ControlKind::kTextField) return;
  const int start = n.model->sel_start();
  ::SendMessageW(n.hwnd, EM_SETSEL, static_cast<WPARAM>(start),
                 static_cast<LPARAM>(start + n.model->sel_length()));
}

// A timer ticks while it is enabled and has an interval.
void ControlViewWin32::UpdateTimer(Native& n) {
  const ui::Control& c = *n.model;
  if (c.kind() != ControlKind::kTimer || hwnd_ == nullptr) return;
  if (c.enabled() && c.interval() > 0) {
    ::SetTimer(hwnd_, static_cast<UINT_PTR>(n.id), static_cast<UINT>(c.interval()), nullptr);
  } else {
    ::KillTimer(hwnd_, static_cast<UINT_PTR>(n.id));
  }
}

void ControlViewWin32::FocusNative(ui::Control& control) {
  if (!alive()) return;
  requested_focus_ = &control;
  Native* n = FindNative(control);
  if (n != nullptr && n->hwnd != nullptr && ::IsWindowVisible(hwnd_)) ::SetFocus(n->hwnd);
}

void ControlViewWin32::RestoreFocus() {
  HWND target = last_focus_ != nullptr && ::IsWindow(last_focus_) && ::IsWindowEnabled(last_focus_)
                    ? last_focus_
                    : ::GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (target != nullptr) ::SetFocus(target);
}

void ControlViewWin32::ApplyPendingFocus() {
  if (requested_focus_ != nullptr) FocusNative(*requested_focus_);
}

// Half-width alphanumeric input: the input method is closed and in alphanumeric mode whenever
// the field gets the focus.
void ControlViewWin32::ApplyImeMode(const Native& n) {
  if (n.model->spec().ime != ui::ImeMode::kHalfWidthAlphanumeric) return;
  HIMC context = ::ImmGetContext(n.hwnd);
  if (context == nullptr) return;
  ::ImmSetConversionStatus(context, IME_CMODE_ALPHANUMERIC, IME_SMODE_NONE);
  ::ImmSetOpenStatus(context, FALSE);
  ::ImmReleaseContext(n.hwnd, context);
}

}  // namespace harumado::win32
