// The native window's messages as the model's events: the window and control procedures, the
// commands, scrolling, colours and drawing the controls ask for, and the mouse on buttons and
// fields. A model entry point runs guarded: a failure ends the event it came from.
#include <algorithm>

#include "platform/ui/event_guard.h"
#include "runtime/automation_error.h"
#include "win32/control_view_win32.h"
#include "win32/owner_draw_win32.h"
#include "win32/window_properties.h"

namespace harumado::win32 {
namespace {

using ui::ControlKind;

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

}  // namespace

LRESULT CALLBACK ControlViewWin32::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* self = static_cast<ControlViewWin32*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<ControlViewWin32*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    RemoveWindowProperties(hwnd);
  }
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
        ui::RunEventHandler([timer] { timer->UserTick(); });
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
        ui::RunEventHandler(request);
      }
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wparam != 0 && model_->on_close_request) {
        auto request = model_->on_close_request;
        ui::RunEventHandler(request);
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
      if (child != suppressed_click_ && IsButtonLike(c->kind())) {
        ui::RunEventHandler([c] { c->UserClick(); });
      }
      break;
    case EN_CHANGE:
      if (!writing_ && c->kind() == ControlKind::kTextField) {
        DWORD end = 0;
        ::SendMessageW(child, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
        const std::wstring text = NativeText(child);
        ui::RunEventHandler([c, &text, end] { c->UserEditedText(text, static_cast<int>(end)); });
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
  ui::RunEventHandler([c, value] { c->UserSlide(value); });
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
        ui::RunEventHandler([&filter, &key] { filter(key); });
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
    if (alive()) ui::RunEventHandler([c] { c->UserMouseDown(); });
    return result;
  }
  RECT client{};
  ::GetClientRect(hwnd, &client);
  const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  const bool pushed = (::SendMessageW(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0 &&
                      ::PtInRect(&client, at) != FALSE;
  ui::RunEventHandler([c] { c->UserMouseUp(); });
  if (!alive()) return 0;
  const HWND was_suppressed = std::exchange(suppressed_click_, hwnd);
  const LRESULT result = ::DefSubclassProc(hwnd, message, wparam, lparam);
  suppressed_click_ = was_suppressed;
  if (pushed && alive()) ui::RunEventHandler([c] { c->UserClick(); });
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
    ui::RunEventHandler([c] { c->UserMouseDown(); });
    return result;
  }
  if (n.pressing && n.selection_changed) WriteSelection(n);
  n.pressing = false;
  ui::RunEventHandler([c] { c->UserMouseUp(); });
  if (alive()) ui::RunEventHandler([c] { c->UserClick(); });
  return result;
}

}  // namespace harumado::win32
