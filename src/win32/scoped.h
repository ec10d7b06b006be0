#pragma once
// Small owners for the handles, GDI objects and COM objects of the Windows platform: each
// releases what it holds exactly once, when it goes out of scope.

#include <string>
#include <string_view>
#include <utility>

#include "win32/win32_api.h"

namespace harumado::win32 {

// An owned value released by Release::operator() unless it equals Release::kNone.
template <typename T, typename Release>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(T value) : value_(value) {}
  ~Scoped() { reset(); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : value_(std::exchange(other.value_, Release::kNone)) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) {
      reset();
      value_ = std::exchange(other.value_, Release::kNone);
    }
    return *this;
  }
  T get() const { return value_; }
  explicit operator bool() const { return value_ != Release::kNone; }
  void reset(T value = Release::kNone) {
    if (value_ != Release::kNone) Release{}(value_);
    value_ = value;
  }
  T release() { return std::exchange(value_, Release::kNone); }

 private:
  T value_ = Release::kNone;
};

struct CloseKernelHandle {
  static inline const HANDLE kNone = nullptr;
  void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using UniqueHandle = Scoped<HANDLE, CloseKernelHandle>;

struct CloseFindHandle {
  static inline const HANDLE kNone = INVALID_HANDLE_VALUE;
  void operator()(HANDLE h) const { ::FindClose(h); }
};
using UniqueFind = Scoped<HANDLE, CloseFindHandle>;

struct CloseFileHandle {
  static inline const HANDLE kNone = INVALID_HANDLE_VALUE;
  void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using UniqueFile = Scoped<HANDLE, CloseFileHandle>;

template <typename G>
struct DeleteGdiObject {
  static inline const G kNone = nullptr;
  void operator()(G g) const { ::DeleteObject(g); }
};
using UniqueBrush = Scoped<HBRUSH, DeleteGdiObject<HBRUSH>>;
using UniqueFont = Scoped<HFONT, DeleteGdiObject<HFONT>>;
using UniqueBitmap = Scoped<HBITMAP, DeleteGdiObject<HBITMAP>>;

struct DestroyIconHandle {
  static inline const HICON kNone = nullptr;
  void operator()(HICON h) const { ::DestroyIcon(h); }
};
using UniqueIcon = Scoped<HICON, DestroyIconHandle>;

struct DeleteMemoryDc {
  static inline const HDC kNone = nullptr;
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
using UniqueMemoryDc = Scoped<HDC, DeleteMemoryDc>;

struct FreeCoTaskMemory {
  static inline wchar_t* const kNone = nullptr;
  void operator()(wchar_t* p) const { ::CoTaskMemFree(p); }
};
using CoTaskString = Scoped<wchar_t*, FreeCoTaskMemory>;

struct DestroyWindowHandle {
  static inline const HWND kNone = nullptr;
  void operator()(HWND h) const { ::DestroyWindow(h); }
};
using UniqueWindow = Scoped<HWND, DestroyWindowHandle>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A counted reference to a COM object.
template <typename I>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_ != nullptr) p_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) {
    if (this != &other) {
      if (other.p_ != nullptr) other.p_->AddRef();
      reset();
      p_ = other.p_;
    }
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  // Takes over a reference that the caller already holds.
  static ComPtr Adopt(I* p) {
    ComPtr c;
    c.p_ = p;
    return c;
  }
  I* get() const { return p_; }
  I* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (p_ != nullptr) std::exchange(p_, nullptr)->Release();
  }
  // For out-parameters: releases the current object first.
  I** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

 private:
  I* p_ = nullptr;
};

// An owned BSTR.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const wchar_t* text, UINT length) : s_(::SysAllocStringLen(text, length)) {}
  ~Bstr() { ::SysFreeString(s_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return s_; }
  BSTR* put() {
    ::SysFreeString(s_);
    s_ = nullptr;
    return &s_;
  }

 private:
  BSTR s_ = nullptr;
};

// An owned VARIANT, cleared at the end.
class Variant {
 public:
  Variant() { ::VariantInit(&v_); }
  ~Variant() { ::VariantClear(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant(Variant&& other) noexcept {
    v_ = other.v_;
    ::VariantInit(&other.v_);
  }
  VARIANT* get() { return &v_; }
  const VARIANT* get() const { return &v_; }
  VARIANT* put() {
    ::VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

// The exception record of an IDispatch::Invoke. A caller passes get() and the record's texts
// are freed with it; a server builds one and hands it over to its caller's out-parameter, the
// caller then owning the texts.
class ExceptionInfo {
 public:
  ExceptionInfo() = default;
  ExceptionInfo(SCODE scode, const wchar_t* source, std::wstring_view description) {
    e_.scode = scode;
    e_.bstrSource = ::SysAllocString(source);
    e_.bstrDescription =
        ::SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
  }
  ~ExceptionInfo() { Clear(); }
  ExceptionInfo(const ExceptionInfo&) = delete;
  ExceptionInfo& operator=(const ExceptionInfo&) = delete;
  EXCEPINFO* get() { return &e_; }
  const EXCEPINFO* operator->() const { return &e_; }
  // Fills the record in where the server deferred it.
  void FillIn() {
    if (e_.pfnDeferredFillIn != nullptr) e_.pfnDeferredFillIn(&e_);
  }
  std::wstring description() const {
    return e_.bstrDescription != nullptr
               ? std::wstring(e_.bstrDescription, ::SysStringLen(e_.bstrDescription))
               : std::wstring();
  }
  void HandOver(EXCEPINFO* out) { *out = std::exchange(e_, EXCEPINFO{}); }

 private:
  void Clear() {
    ::SysFreeString(e_.bstrSource);
    ::SysFreeString(e_.bstrDescription);
    ::SysFreeString(e_.bstrHelpFile);
    e_ = EXCEPINFO{};
  }
  EXCEPINFO e_{};
};

// COM for the user-interface thread, for the life of the program.
class ComApartment {
 public:
  ComApartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool ok() const { return SUCCEEDED(hr_); }

 private:
  HRESULT hr_;
};

}  // namespace harumado::win32
