// A visible test window whose multiline EDIT has the keyboard focus; it records the
// characters and the Unicode key-down/key-up events that reach the EDIT.
#pragma once

#include <windows.h>

#include <string>

class FocusedEdit {
 public:
  FocusedEdit() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ImeServiceTestWindow";
    RegisterClassW(&wc);  // fails harmlessly when registered before
    window_ = CreateWindowExW(0, wc.lpszClassName, L"IME service test", WS_OVERLAPPEDWINDOW,
                              20, 20, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN,
                            0, 0, 380, 260, window_, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(edit_);
  }
  ~FocusedEdit() { DestroyWindow(window_); }
  FocusedEdit(const FocusedEdit&) = delete;
  FocusedEdit& operator=(const FocusedEdit&) = delete;

  bool HasFocus() const { return GetFocus() == edit_; }
  std::wstring Text() const {
    std::wstring text(GetWindowTextLengthW(edit_) + 1, L'\0');
    text.resize(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size())));
    return text;
  }
  // The characters typed, in order.
  const std::wstring& Typed() const { return typed_; }
  int UnicodeKeyDowns() const { return keyDowns_; }
  int UnicodeKeyUps() const { return keyUps_; }

 private:
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<FocusedEdit*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_CHAR) self->typed_ += static_cast<wchar_t>(wparam);
    if (msg == WM_KEYDOWN && wparam == VK_PACKET) ++self->keyDowns_;
    if (msg == WM_KEYUP && wparam == VK_PACKET) ++self->keyUps_;
    return CallWindowProcW(self->editProc_, hwnd, msg, wparam, lparam);
  }

  HWND window_;
  HWND edit_;
  WNDPROC editProc_;
  std::wstring typed_;
  int keyDowns_ = 0;
  int keyUps_ = 0;
};
