#pragma once
// The native window of one window model: the top-level window with its controls, kept in step
// with the model, and the user's actions on it passed to the model's event entry points.
// The two directions are written apart: building and updating the native side from the model in
// control_view_build_win32.cpp, the native messages as model events in
// control_view_events_win32.cpp.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/window.h"
#include "win32/fonts_win32.h"
#include "win32/scoped.h"

namespace harumado::win32 {

// The window class of the program's three windows.
inline constexpr wchar_t kFormClass[] = L"HarumadoForm";
// A control's ID is kFirstControlId plus its place in the window model's list of controls.
inline constexpr int kFirstControlId = 1000;

class ControlViewWin32 final : public ui::ControlView,
                               public std::enable_shared_from_this<ControlViewWin32> {
 public:
  ControlViewWin32(HINSTANCE instance, ui::Window& model);
  ~ControlViewWin32() override;
  ControlViewWin32(const ControlViewWin32&) = delete;
  ControlViewWin32& operator=(const ControlViewWin32&) = delete;

  static void RegisterWindowClass(HINSTANCE instance);

  // Builds the native window and its controls, hidden, and binds this view to the model.
  HWND Create();
  // Unbinds the model and destroys the native window; later messages reach nothing.
  void Destroy();
  HWND hwnd() const { return hwnd_; }
  // After the window was shown: the latest focus request of its controls takes effect.
  void ApplyPendingFocus();

  void OnControlChanged(ui::Control& control, ui::Property property) override;

 private:
  struct Native {
    ui::Control* model = nullptr;
    HWND hwnd = nullptr;  // none for timers
    int id = 0;
    bool pressing = false;           // between the mouse press and release
    bool selection_changed = false;  // the program set the selection during the press
    bool has_tool = false;           // registered with the tooltip control
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR id, DWORD_PTR self);
  LRESULT HandleWindowMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleControlMessage(Native& native, HWND hwnd, UINT message, WPARAM wparam,
                               LPARAM lparam);
  LRESULT HandleButtonMouse(Native& native, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleEditMouse(Native& native, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void HandleCommand(HWND child, int code);
  void HandleScroll(HWND bar, WPARAM wparam);
  LRESULT HandleColor(HDC dc, HWND child, UINT message, WPARAM wparam, LPARAM lparam);
  void HandleDraw(const DRAWITEMSTRUCT& item);
  void HandleDpiChanged(int dpi, const RECT& suggested);

  bool alive() const { return model_ != nullptr; }
  void CreateControls();
  void CreateTooltips();
  void Layout();
  void LoadIcons();
  void UpdateTool(Native& native);
  void UpdateTimer(Native& native);
  void WriteText(Native& native);
  void WriteSelection(Native& native);
  void FocusNative(ui::Control& control);
  void ApplyImeMode(const Native& native);
  void RestoreFocus();

  Native* FindNative(HWND hwnd);
  Native* FindNative(const ui::Control& control);
  Native* FindNativeById(int id);
  COLORREF BackColor(const ui::Control& control) const;
  COLORREF ForeColor(const ui::Control& control) const;
  COLORREF WindowBackColor() const;
  HBRUSH Brush(COLORREF color);
  HBITMAP Picture(const std::wstring& name);
  HFONT FontFor(const ui::Control& control);

  HINSTANCE instance_;
  ui::Window* model_;
  HWND hwnd_ = nullptr;
  UniqueWindow tooltip_;
  int dpi_ = 96;
  std::vector<Native> natives_;
  FontCache fonts_;
  std::map<COLORREF, UniqueBrush> brushes_;
  std::map<std::wstring, UniqueBitmap> pictures_;
  UniqueIcon big_icon_;
  UniqueIcon small_icon_;
  std::function<void(ui::Control&)> focus_recorder_;  // the program's focus keeper
  ui::Control* requested_focus_ = nullptr;
  HWND last_focus_ = nullptr;        // the control to focus when the window is activated
  bool writing_ = false;             // the model's text is being written to a native control
  HWND suppressed_click_ = nullptr;  // a button whose own click notification is not passed on
};

}  // namespace harumado::win32
