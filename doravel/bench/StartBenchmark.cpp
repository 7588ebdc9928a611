// Doravel's start-up against a plain Win32 window program, in the same run: the time from
// process start until the window's content is on the screen; and the window builder's time
// for the settings window's skin from the archive.
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

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

struct Program {
  const wchar_t* file;
  const wchar_t* window_class;
  int probe_top;  // rows below the window's top where its background shows
};

// Starts the program and waits until its window shows its background colour at the probe
// point; closes it again. The time in milliseconds, or a negative value on failure.
double TimeToFirstPaint(const Program& program) {
  std::wstring command = L"\"" + base::GetCurrentModuleDirectory() + program.file + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start, painted;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return -1;
  }
  double elapsed = -1;
  HDC screen = GetDC(nullptr);
  for (DWORD waited = 0; waited < kGiveUpMs; ++waited) {
    HWND window = FindWindowW(program.window_class, nullptr);
    RECT rect;
    if (window && IsWindowVisible(window) && GetWindowRect(window, &rect) &&
        GetPixel(screen, (rect.left + rect.right) / 2, rect.top + program.probe_top) == kBackground) {
      QueryPerformanceCounter(&painted);
      elapsed = Milliseconds(start, painted);
      PostMessageW(window, WM_CLOSE, 0, 0);
      break;
    }
    Sleep(1);
  }
  ReleaseDC(nullptr, screen);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
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
  return Median(times);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
  const Program doravel{L"Doravel.exe", L"UIMainFrame", 14 + 17};  // shadow, then the caption row
  const Program plain{L"PlainWindow.exe", L"PlainBenchWindow", 17};
  std::vector<double> doravel_ms, plain_ms;
  for (int round = 0; round < rounds; ++round) {
    const double d = TimeToFirstPaint(doravel);
    const double p = TimeToFirstPaint(plain);
    if (d < 0 || p < 0) {
      fwprintf(stderr, L"round %d: a window never showed its background (Doravel %.1f, plain %.1f)\n", round, d, p);
      return 1;
    }
    doravel_ms.push_back(d);
    plain_ms.push_back(p);
    wprintf(L"round %d: Doravel %.1f ms, plain window %.1f ms\n", round, d, p);
  }
  const double doravel_median = Median(doravel_ms), plain_median = Median(plain_ms);
  wprintf(L"start to first paint, median of %d: Doravel %.1f ms, plain window %.1f ms, ratio %.2f\n", rounds,
          doravel_median, plain_median, doravel_median / plain_median);
  const double builder_us = BuilderMicroseconds(50);
  if (builder_us < 0) {
    fwprintf(stderr, L"controls.xml did not build\n");
    return 1;
  }
  wprintf(L"window builder, controls.xml from the archive, median of 50: %.0f us\n", builder_us);
  return 0;
}
