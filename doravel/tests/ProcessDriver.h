// Drives programs under test as a user would: finds their windows, clicks through xdotool on
// the X display, closes their message boxes.
#pragma once

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cwchar>
#include <string>

constexpr int kShadow = 14;  // the skinned window's shadow around its 430 x 255 content

// Points of the settings window's content (see controls.xml).
inline const POINT kComboMicDev{250, 50};
inline const POINT kOptTranslate{400, 140};
inline const POINT kBtnOK{296, 210};
inline const POINT kBtnCancel{381, 210};
inline const POINT kCloseButton{411, 17};
inline const RECT kEditEnvNoise{122, 159, 196, 181};  // with its border

struct Found {
  DWORD process;
  const wchar_t* window_class;
  HWND window;
};

inline HWND FindProcessWindow(DWORD process, const wchar_t* window_class) {
  Found found{process, window_class, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* found = reinterpret_cast<Found*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[64] = L"";
        GetClassNameW(window, name, 64);
        if (owner != found->process || wcscmp(name, found->window_class) != 0 || !IsWindowVisible(window)) return TRUE;
        found->window = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.window;
}

inline HWND WaitForProcessWindow(DWORD process, const wchar_t* window_class, DWORD ms = 20000) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    if (HWND window = FindProcessWindow(process, window_class)) return window;
    Sleep(50);
  }
  return nullptr;
}

// A real click at a point of the window (xdotool on the X display).
inline void Click(HWND window, POINT point) {
  RECT rect;
  GetWindowRect(window, &rect);
  const std::wstring command = L"start /wait /unix /usr/bin/xdotool mousemove --sync " +
                               std::to_wstring(rect.left + point.x) + L" " + std::to_wstring(rect.top + point.y) +
                               L" click 1";
  // Wine's start now and then fails to launch the Unix program: try again.
  for (int attempt = 0; attempt < 3 && _wsystem(command.c_str()) != 0; ++attempt) Sleep(200);
  Sleep(300);
}

inline POINT Content(POINT point) { return POINT{point.x + kShadow, point.y + kShadow}; }

// The pixels of an area of the window, as the screen shows it, that stand out from the colour
// at `background`: the strokes of a text drawn there, their count and the rectangle around them.
struct Strokes {
  int count = 0;
  RECT bounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
};

inline Strokes StrokesIn(HWND window, RECT area, POINT background) {
  RECT rect;
  GetWindowRect(window, &rect);
  HDC screen = GetDC(nullptr);
  const COLORREF plain = GetPixel(screen, rect.left + background.x, rect.top + background.y);
  Strokes strokes;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF pixel = GetPixel(screen, rect.left + x, rect.top + y);
      const int difference = std::abs(GetRValue(pixel) - GetRValue(plain)) +
                             std::abs(GetGValue(pixel) - GetGValue(plain)) +
                             std::abs(GetBValue(pixel) - GetBValue(plain));
      if (difference <= 150) continue;
      ++strokes.count;
      strokes.bounds = RECT{std::min(strokes.bounds.left, LONG(x)), std::min(strokes.bounds.top, LONG(y)),
                            std::max(strokes.bounds.right, LONG(x + 1)), std::max(strokes.bounds.bottom, LONG(y + 1))};
    }
  }
  ReleaseDC(nullptr, screen);
  return strokes;
}

// A started program; killed if a test leaves it running.
class Program {
 public:
  explicit Program(const std::wstring& exe) {
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    started_ = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool started() const { return started_; }
  DWORD id() const { return info_.dwProcessId; }
  // The window once shown and settled: clicks that come at once may be lost.
  HWND Window(const wchar_t* window_class) {
    HWND window = WaitForProcessWindow(info_.dwProcessId, window_class);
    if (window) Sleep(300);
    return window;
  }
  bool Exited(DWORD ms = 20000) { return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }
  bool WaitUntilIdle() { return WaitForInputIdle(info_.hProcess, 20000) == 0; }
  bool PostQuit() { return PostThreadMessageW(info_.dwThreadId, WM_QUIT, 0, 0) != FALSE; }
  DWORD ExitCode() {
    DWORD code = 12345;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

// Closes the first message box of the process that appears, noting its caption and text.
struct BoxSeen {
  std::wstring caption;
  std::wstring text;
};

inline BoxSeen CloseMessageBoxOf(DWORD process, DWORD ms = 20000) {
  BoxSeen seen;
  HWND box = WaitForProcessWindow(process, L"#32770", ms);
  if (!box) return seen;
  wchar_t text[512] = L"";
  GetWindowTextW(box, text, 512);
  seen.caption = text;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM param) -> BOOL {
        wchar_t name[64] = L"", value[512] = L"";
        GetClassNameW(child, name, 64);
        GetWindowTextW(child, value, 512);
        if (wcscmp(name, L"Static") == 0 && value[0]) reinterpret_cast<std::wstring*>(param)->assign(value);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen.text));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return seen;
}

// Opens a combo box of the window by a click and clicks the first item of its list; the
// choice is made once the list has closed (a click on a list still settling is repeated).
inline bool ChooseFirstItem(Program& program, HWND window, POINT combo) {
  Click(window, Content(combo));
  HWND popup = WaitForProcessWindow(program.id(), L"ComboWnd", 5000);
  if (!popup) return false;
  RECT list;
  GetWindowRect(popup, &list);
  for (int attempt = 0; attempt < 3; ++attempt) {
    Click(popup, POINT{(list.right - list.left) / 2, 12});
    for (int waited = 0; waited < 2000; waited += 50) {
      if (!IsWindow(popup) || !IsWindowVisible(popup)) return true;
      Sleep(50);
    }
  }
  return false;
}
