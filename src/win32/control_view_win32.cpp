#include "win32/control_view_win32.h"

#include <algorithm>

#include "runtime/automation_error.h"
#include "win32/dpi_win32.h"
#include "win32/owner_draw_win32.h"
#include "win32/picture_win32.h"

namespace harumado::win32 {
namespace {

using ui::ControlKind;

COLORREF Ref(const ui::Color& c) { return RGB(c.r, c.g, c.b); }

bool IsButtonLike(ControlKind kind) {
  return kind == ControlKind::kButton || kind == ControlKind::kGraphicalButton ||
         kind == ControlKind::kCheckBox;
}

std::wstring NativeText(HWND hwnd) {
  const int n = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

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
  focus_recorder_ = model_->on_focus;
  std::weak_ptr<ControlViewWin32> weak = weak_from_this();
  model_->on_focus = [recorder = focus_recorder_, weak](ui::Control& c) {
    if (recorder) recorder(c);
    if (auto view = weak.lock()) view->FocusNative(c);
  };
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
  std::vector<std::size_t> order(controls.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return controls[a]->spec().tab_index < controls[b]->spec().tab_index;
  });
  natives_.reserve(controls.size());
  for (std::size_t i : order) {
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

// An automation error that no handler caught ends the event it came from; the program goes on
// with the next event.
void ControlViewWin32::Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const rt::AutomationError&) {
  }
}

// ---- model to native -------------------------------------------------------------------------

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

// ---- native to model -------------------------------------------------------------------------

LRESULT CALLBACK ControlViewWin32::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* self = static_cast<ControlViewWin32*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<ControlViewWin32*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY) ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  if (self == nullptr || !self->alive() || self->hwnd_ != hwnd) {
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
  // The view stays alive while it handles a message, even if the handler destroys the window.
  std::shared_ptr<ControlViewWin32> keep = self->weak_from_this().lock();
  return self->HandleWindowMessage(message, wparam, lparam);
}

LRESULT CALLBACK ControlViewWin32::ControlProc(HWND hwnd, UINT message, WPARAM wparam,
                                               LPARAM lparam, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<ControlViewWin32*>(ref);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, &ControlViewWin32::ControlProc,
                           static_cast<UINT_PTR>(::GetDlgCtrlID(hwnd)));
    return ::DefSubclassProc(hwnd, message, wparam, lparam);
  }
  Native* n = self->alive() ? self->FindNative(hwnd) : nullptr;
  if (n == nullptr) return ::DefSubclassProc(hwnd, message, wparam, lparam);
  std::shared_ptr<ControlViewWin32> keep = self->weak_from_this().lock();
  return self->HandleControlMessage(*n, hwnd, message, wparam, lparam);
}

LRESULT ControlViewWin32::HandleWindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      HandleCommand(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
      return 0;
    case WM_HSCROLL:
      HandleScroll(reinterpret_cast<HWND>(lparam), wparam);
      return 0;
    case WM_TIMER:
      if (Native* n = FindNativeById(static_cast<int>(wparam))) {
        ui::Control* timer = n->model;
        Guarded([timer] { timer->UserTick(); });
      }
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
      return HandleColor(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam), message,
                         wparam, lparam);
    case WM_DRAWITEM:
      HandleDraw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_ERASEBKGND: {
      RECT r{};
      ::GetClientRect(hwnd_, &r);
      ::FillRect(reinterpret_cast<HDC>(wparam), &r, Brush(WindowBackColor()));
      return 1;
    }
    case WM_ACTIVATE:
      // As in a dialog, the control that had the focus gets it back when the window is
      // activated again.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(hwnd_, focus)) last_focus_ = focus;
      } else if (HIWORD(wparam) == 0) {
        RestoreFocus();
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_CLOSE:
      if (model_->on_close_request) {
        auto request = model_->on_close_request;
        Guarded(request);
      }
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wparam != 0 && model_->on_close_request) {
        auto request = model_->on_close_request;
        Guarded(request);
      }
      return 0;
    case WM_DPICHANGED:
      HandleDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, message, wparam, lparam);
}

void ControlViewWin32::HandleCommand(HWND child, int code) {
  Native* n = FindNative(child);
  if (n == nullptr) return;
  ui::Control* c = n->model;
  switch (code) {
    case BN_CLICKED:
      if (child != suppressed_click_ && IsButtonLike(c->kind())) Guarded([c] { c->UserClick(); });
      break;
    case EN_CHANGE:
      if (!writing_ && c->kind() == ControlKind::kTextField) {
        DWORD end = 0;
        ::SendMessageW(child, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
        const std::wstring text = NativeText(child);
        Guarded([c, &text, end] { c->UserEditedText(text, static_cast<int>(end)); });
      }
      break;
    case EN_SETFOCUS:
      ApplyImeMode(*n);
      last_focus_ = child;
      if (focus_recorder_) focus_recorder_(*c);
      break;
    case BN_SETFOCUS:
      last_focus_ = child;
      if (focus_recorder_) focus_recorder_(*c);
      break;
    default:
      break;
  }
}

// Arrow and page steps are 1; dragging the thumb reports every position on the way.
void ControlViewWin32::HandleScroll(HWND bar, WPARAM wparam) {
  Native* n = FindNative(bar);
  if (n == nullptr || n->model->kind() != ControlKind::kSlider) return;
  ui::Control* c = n->model;
  int value = c->value();
  switch (LOWORD(wparam)) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
      value -= 1;
      break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
      value += 1;
      break;
    case SB_LEFT:
      value = c->min();
      break;
    case SB_RIGHT:
      value = c->max();
      break;
    case SB_THUMBTRACK: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      ::GetScrollInfo(bar, SB_CTL, &info);
      value = info.nTrackPos;
      break;
    }
    case SB_THUMBPOSITION:
      value = static_cast<short>(HIWORD(wparam));
      break;
    default:
      return;
  }
  Guarded([c, value] { c->UserSlide(value); });
}

LRESULT ControlViewWin32::HandleColor(HDC dc, HWND child, UINT message, WPARAM wparam,
                                      LPARAM lparam) {
  Native* n = FindNative(child);
  if (n == nullptr) return ::DefWindowProcW(hwnd_, message, wparam, lparam);
  const COLORREF back = BackColor(*n->model);
  ::SetTextColor(dc, ForeColor(*n->model));
  ::SetBkColor(dc, back);
  ::SetBkMode(dc, OPAQUE);
  return reinterpret_cast<LRESULT>(Brush(back));
}

void ControlViewWin32::HandleDraw(const DRAWITEMSTRUCT& item) {
  Native* n = FindNative(item.hwndItem);
  if (n == nullptr) return;
  const ui::Control& c = *n->model;
  if (item.CtlType == ODT_BUTTON) {
    ButtonLook look;
    look.back = BackColor(c);
    look.fore = ForeColor(c);
    look.font = FontFor(c);
    look.picture = Picture(c.spec().picture);
    look.caption = c.text();
    look.dpi = dpi_;
    look.pressed = (item.itemState & ODS_SELECTED) != 0;
    look.focused = (item.itemState & ODS_FOCUS) != 0;
    look.disabled = (item.itemState & ODS_DISABLED) != 0;
    DrawGraphicalButton(item.hDC, item.rcItem, look);
  } else if (item.CtlType == ODT_STATIC) {
    DrawPicture(item.hDC, item.rcItem, BackColor(c), Picture(c.spec().picture), dpi_);
  }
}

LRESULT ControlViewWin32::HandleControlMessage(Native& n, HWND hwnd, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
  ui::Control* c = n.model;
  switch (message) {
    case WM_CHAR:
      // The key filter of the field sees the character first and may discard it.
      if (c->kind() == ControlKind::kTextField && c->on_key_press) {
        auto filter = c->on_key_press;
        wchar_t key = static_cast<wchar_t>(wparam);
        Guarded([&filter, &key] { filter(key); });
        if (!alive() || key == 0) return 0;
        wparam = static_cast<WPARAM>(key);
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      if (IsButtonLike(c->kind())) return HandleButtonMouse(n, hwnd, message, wparam, lparam);
      if (c->kind() == ControlKind::kTextField) {
        return HandleEditMouse(n, hwnd, message, wparam, lparam);
      }
      break;
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, message, wparam, lparam);
}

// A button reports the release before its click: the release handler may move the focus away,
// which would cancel the native click, so the click is decided at the release and raised here.
LRESULT ControlViewWin32::HandleButtonMouse(Native& n, HWND hwnd, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  ui::Control* c = n.model;
  if (message != WM_LBUTTONUP) {
    const LRESULT result = ::DefSubclassProc(hwnd, message, wparam, lparam);
    if (alive()) Guarded([c] { c->UserMouseDown(); });
    return result;
  }
  RECT client{};
  ::GetClientRect(hwnd, &client);
  const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  const bool pushed = (::SendMessageW(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0 &&
                      ::PtInRect(&client, at) != FALSE;
  Guarded([c] { c->UserMouseUp(); });
  if (!alive()) return 0;
  const HWND was_suppressed = std::exchange(suppressed_click_, hwnd);
  const LRESULT result = ::DefSubclassProc(hwnd, message, wparam, lparam);
  suppressed_click_ = was_suppressed;
  if (pushed && alive()) Guarded([c] { c->UserClick(); });
  return result;
}

// A field gets the press after its own caret placement, so a selection made by the press
// handler stands; the release is followed by the click.
LRESULT ControlViewWin32::HandleEditMouse(Native& n, HWND hwnd, UINT message, WPARAM wparam,
                                          LPARAM lparam) {
  ui::Control* c = n.model;
  const LRESULT result = ::DefSubclassProc(hwnd, message, wparam, lparam);
  if (!alive()) return result;
  if (message != WM_LBUTTONUP) {
    n.pressing = true;
    n.selection_changed = false;
    Guarded([c] { c->UserMouseDown(); });
    return result;
  }
  if (n.pressing && n.selection_changed) WriteSelection(n);
  n.pressing = false;
  Guarded([c] { c->UserMouseUp(); });
  if (alive()) Guarded([c] { c->UserClick(); });
  return result;
}

}  // namespace harumado::win32
