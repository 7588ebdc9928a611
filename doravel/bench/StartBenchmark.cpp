// Doravel's start-up against a plain Win32 window program, in interleaved rounds of one run:
// the time from process start until the window's first visible frame (its fade-in begun) and
// until it shows in full colour; and the window builder's time for the settings window's skin
// from the archive.
//   doravel_start_bench [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "SkinArchive.h"
#include "base/ModuleDirectory.h"
#include "builder/WindowBuilder.h"
#include "control/Control.h"
#include "resources/GlobalManager.h"
#include "window/Window.h"

namespace {

const COLORREF kBackground = RGB(0x2b, 0x2e, 0x33);  // "darkcolor" of the skin
constexpr DWORD kGiveUpMs = 30000;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return (to.QuadPart - from.QuadPart) * 1000.0 / frequency.QuadPart;
}

struct Spread {
  double min, median, max;
};

Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  if (values.empty()) return {0, 0, 0};
  return {values.front(), values[values.size() / 2], values.back()};
}

struct Program {
  const wchar_t* file;
  const wchar_t* window_class;
  SIZE size;      // the window's outer size
  int probe_top;  // rows below the window's top where its background shows
};

struct Moments {
  double first_visible = -1;  // the probe point no longer shows the desktop
  double full_colour = -1;    // the probe point shows the window's background exactly
};

// The screen point where the window, centred on the work area, will show its background.
POINT ProbePoint(const Program& program) {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return POINT{(work.left + work.right) / 2, (work.top + work.bottom) / 2 - program.size.cy / 2 + program.probe_top};
}

// Starts the program once the probe point shows the desktop again, polls it until the window
// shows in full colour, and closes the window. Negative moments on failure.
Moments TimeStart(const Program& program, COLORREF desktop) {
  HDC screen = GetDC(nullptr);
  const POINT probe = ProbePoint(program);
  for (int waited = 0; waited < 2000 && GetPixel(screen, probe.x, probe.y) != desktop; waited += 10) Sleep(10);
  std::wstring command = L"\"" + base::GetCurrentModuleDirectory() + program.file + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  Moments moments;
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    ReleaseDC(nullptr, screen);
    return moments;
  }
  for (DWORD waited = 0; waited < kGiveUpMs; ++waited) {
    const COLORREF pixel = GetPixel(screen, probe.x, probe.y);
    QueryPerformanceCounter(&now);
    if (pixel != desktop && moments.first_visible < 0) moments.first_visible = Milliseconds(start, now);
    if (pixel == kBackground) {
      moments.full_colour = Milliseconds(start, now);
      break;
    }
    Sleep(1);
  }
  ReleaseDC(nullptr, screen);
  if (HWND window = FindWindowW(program.window_class, nullptr)) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return moments;
}

// Microseconds per build of "controls\controls.xml" from the archive, median of the runs.
double BuilderMicroseconds(int runs) {
  OpenSkinArchive();
  ui::GlobalManager::Startup(L"resources\\", ui::CreateControlCallback(), L"themes\\default", L"lang\\zh_CN");
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    ui::Window window;
    ui::WindowBuilder builder;
    LARGE_INTEGER from, to;
    QueryPerformanceCounter(&from);
    ui::Control* root = builder.Create(L"controls\\controls.xml", ui::CreateControlCallback(), &window, nullptr);
    QueryPerformanceCounter(&to);
    if (!root) return -1;
    delete root;
    times.push_back(Milliseconds(from, to) * 1000);
  }
  ui::GlobalManager::Shutdown();
  return SpreadOf(times).median;
}

void PrintSpread(const wchar_t* what, const std::vector<double>& values, const wchar_t* unit) {
  const Spread spread = SpreadOf(values);
  wprintf(L"  %-40ls min %7.2f  median %7.2f  max %7.2f %ls\n", what, spread.min, spread.median, spread.max, unit);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 11;
  // The skinned window carries a 14-pixel shadow around its 430 x 255 content; the probe is in
  // its caption row.
  const Program doravel{L"Doravel.exe", L"UIMainFrame", {430 + 28, 255 + 28}, 14 + 17};
  const Program plain{L"PlainWindow.exe", L"PlainBenchWindow", {430, 255}, 17};
  // The desktop as it shows before any window: each start waits until it shows again.
  HDC screen = GetDC(nullptr);
  const POINT probe = ProbePoint(doravel);
  const COLORREF desktop = GetPixel(screen, probe.x, probe.y);
  ReleaseDC(nullptr, screen);
  std::vector<double> visible_ms, full_ms, plain_ms, visible_ratio, full_ratio;
  for (int round = 0; round < rounds; ++round) {
    // Alternate which program starts first, so that neither always follows the other.
    Moments d, p;
    if (round % 2 == 0) {
      d = TimeStart(doravel, desktop);
      p = TimeStart(plain, desktop);
    } else {
      p = TimeStart(plain, desktop);
      d = TimeStart(doravel, desktop);
    }
    if (d.first_visible < 0 || d.full_colour < 0 || p.full_colour < 0) {
      fwprintf(stderr, L"round %d: a window never showed (Doravel %.1f / %.1f, plain %.1f)\n", round,
               d.first_visible, d.full_colour, p.full_colour);
      return 1;
    }
    // The plain window paints opaque at once: its first visible frame is its full colour.
    const double plain_first = p.first_visible;
    visible_ms.push_back(d.first_visible);
    full_ms.push_back(d.full_colour);
    plain_ms.push_back(plain_first);
    visible_ratio.push_back(d.first_visible / plain_first);
    full_ratio.push_back(d.full_colour / plain_first);
    wprintf(L"round %2d: Doravel first visible %.1f ms, full colour %.1f ms; plain window %.1f ms\n", round,
            d.first_visible, d.full_colour, plain_first);
  }
  wprintf(L"start to window, %d interleaved rounds:\n", rounds);
  PrintSpread(L"plain window, first frame", plain_ms, L"ms");
  PrintSpread(L"Doravel, first visible frame", visible_ms, L"ms");
  PrintSpread(L"Doravel, full colour", full_ms, L"ms");
  PrintSpread(L"ratio first visible / plain (per round)", visible_ratio, L"");
  PrintSpread(L"ratio full colour / plain (per round)", full_ratio, L"");
  const double builder_us = BuilderMicroseconds(50);
  if (builder_us < 0) {
    fwprintf(stderr, L"controls.xml did not build\n");
    return 1;
  }
  wprintf(L"window builder, controls.xml from the archive, median of 50: %.0f us\n", builder_us);
  return 0;
}
