#pragma once
// Owners for the Win32 handles the program creates: each releases its handle
// once, when reset or destroyed.

#include <windows.h>

#include <utility>

namespace quillon {

template <typename Handle, auto close>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle handle) : handle_(handle) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Unique& operator=(Unique&& other) noexcept {
    reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  // Hands the handle over to a caller that releases it itself.
  Handle release() { return std::exchange(handle_, nullptr); }

  void reset(Handle handle = nullptr) {
    if (handle_ != nullptr) close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using UniqueHandle = Unique<HANDLE, &CloseHandle>;
using UniqueHook = Unique<HHOOK, &UnhookWindowsHookEx>;
using UniqueWinEventHook = Unique<HWINEVENTHOOK, &UnhookWinEvent>;
using UniqueIcon = Unique<HICON, &DestroyIcon>;
using UniqueMenu = Unique<HMENU, &DestroyMenu>;
using UniqueWindow = Unique<HWND, &DestroyWindow>;

// A file handle: CreateFileW reports failure as INVALID_HANDLE_VALUE.
inline UniqueHandle fileHandle(HANDLE handle) {
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// A window's device context, released to the window when it goes.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }

  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A registered window class, unregistered when reset.
class WindowClass {
 public:
  WindowClass() = default;
  WindowClass(const wchar_t* name, HINSTANCE instance) : name_(name), instance_(instance) {}
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  WindowClass& operator=(WindowClass&& other) noexcept {
    reset();
    name_ = std::exchange(other.name_, nullptr);
    instance_ = other.instance_;
    return *this;
  }
  ~WindowClass() { reset(); }

  void reset() {
    if (name_ != nullptr) UnregisterClassW(name_, instance_);
    name_ = nullptr;
  }

 private:
  const wchar_t* name_ = nullptr;
  HINSTANCE instance_ = nullptr;
};

}  // namespace quillon
