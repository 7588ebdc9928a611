// Doravel's start-up against a plain Win32 window program, in interleaved rounds of one run:
// the time from process start until the window's content is recognisable (every probe point
// within half its contrast of its final colour, the contrast taken against black, from which a
// layered window fades in under Wine, or against the desktop, whichever is smaller) and until
// it shows in full colour; and the window builder's time for the settings window's skin from
// the archive.
//   doravel_start_bench [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
const COLORREF kOkGreen = RGB(43, 172, 57);           // the OK button's face
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

int Distance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

// A point of the window, from its top-left corner, and the colour it shows at the end.
struct Probe {
  POINT at;
  COLORREF colour;
};

struct Program {
  const wchar_t* file;
  const wchar_t* window_class;
  SIZE size;  // the window's outer size
  std::vector<Probe> probes;
};

// A probe on the screen: where it lies, what the desktop shows there, and how near its final
// colour a pixel must be to count as recognisable.
struct ScreenProbe {
  POINT at;
  COLORREF colour;
  COLORREF desktop;
  int tolerance;
};

// The probes on the screen of the window centred on the work area, as it centres itself.
std::vector<ScreenProbe> OnScreen(const Program& program, HDC screen) {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const POINT origin{(work.left + work.right) / 2 - program.size.cx / 2,
                     (work.top + work.bottom) / 2 - program.size.cy / 2};
  std::vector<ScreenProbe> probes;
  for (const Probe& probe : program.probes) {
    const POINT at{origin.x + probe.at.x, origin.y + probe.at.y};
    const COLORREF desktop = GetPixel(screen, at.x, at.y);
    // Half the contrast against black or against the desktop, whichever is smaller.
    const int tolerance = std::min(Distance(probe.colour, RGB(0, 0, 0)), Distance(probe.colour, desktop)) / 2;
    probes.push_back({at, probe.colour, desktop, tolerance});
  }
  return probes;
}

struct Look {
  bool desktop = true;        // every probe shows the desktop
  bool recognisable = true;   // every probe is within its tolerance of its final colour
  bool full_colour = true;    // every probe shows its final colour
};

Look LookAt(HDC screen, const std::vector<ScreenProbe>& probes) {
  Look look;
  for (const ScreenProbe& probe : probes) {
    const COLORREF pixel = GetPixel(screen, probe.at.x, probe.at.y);
    look.desktop &= pixel == probe.desktop;
    look.recognisable &= Distance(pixel, probe.colour) <= probe.tolerance;
    look.full_colour &= pixel == probe.colour;
  }
  return look;
}

struct Moments {
  double recognisable = -1;
  double full_colour = -1;
};

// Starts the program once its probes show the desktop again, polls them until the window
// shows in full colour, and closes the window. Negative moments on failure.
Moments TimeStart(const Program& program, const std::vector<ScreenProbe>& probes) {
  HDC screen = GetDC(nullptr);
  for (int waited = 0; waited < 2000 && !LookAt(screen, probes).desktop; waited += 10) Sleep(10);
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
    const Look look = LookAt(screen, probes);
    QueryPerformanceCounter(&now);
    if (look.recognisable && moments.recognisable < 0) moments.recognisable = Milliseconds(start, now);
    if (look.full_colour) {
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
  wprintf(L"  %-44ls min %7.2f  median %7.2f  max %7.2f %ls\n", what, spread.min, spread.median, spread.max, unit);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 11;
  // The skinned window carries a 14-pixel shadow around its 430 x 255 content; its probes are
  // the caption row's background and the OK button's face.
  constexpr int kShadow = 14;
  const Program doravel{L"Doravel.exe",
                        L"UIMainFrame",
                        {430 + 2 * kShadow, 255 + 2 * kShadow},
                        {{{kShadow + 215, kShadow + 17}, kBackground}, {{kShadow + 263, kShadow + 210}, kOkGreen}}};
  const Program plain{L"PlainWindow.exe", L"PlainBenchWindow", {430, 255}, {{{215, 17}, kBackground}}};
  // The desktop as it shows before any window: each start waits until it shows again.
  HDC screen = GetDC(nullptr);
  const std::vector<ScreenProbe> doravel_probes = OnScreen(doravel, screen);
  const std::vector<ScreenProbe> plain_probes = OnScreen(plain, screen);
  ReleaseDC(nullptr, screen);
  std::vector<double> recognisable_ms, full_ms, plain_ms, recognisable_ratio, full_ratio;
  for (int round = 0; round < rounds; ++round) {
    // Alternate which program starts first, so that neither always follows the other.
    Moments d, p;
    if (round % 2 == 0) {
      d = TimeStart(doravel, doravel_probes);
      p = TimeStart(plain, plain_probes);
    } else {
      p = TimeStart(plain, plain_probes);
      d = TimeStart(doravel, doravel_probes);
    }
    if (d.recognisable < 0 || d.full_colour < 0 || p.full_colour < 0) {
      fwprintf(stderr, L"round %d: a window never showed (Doravel %.1f / %.1f, plain %.1f)\n", round,
               d.recognisable, d.full_colour, p.full_colour);
      return 1;
    }
    // The plain window paints opaque at once: its first frame is its full colour.
    recognisable_ms.push_back(d.recognisable);
    full_ms.push_back(d.full_colour);
    plain_ms.push_back(p.full_colour);
    recognisable_ratio.push_back(d.recognisable / p.full_colour);
    full_ratio.push_back(d.full_colour / p.full_colour);
    wprintf(L"round %2d: Doravel recognisable %.1f ms, full colour %.1f ms; plain window %.1f ms\n", round,
            d.recognisable, d.full_colour, p.full_colour);
  }
  wprintf(L"start to window, %d interleaved rounds:\n", rounds);
  PrintSpread(L"plain window, full colour", plain_ms, L"ms");
  PrintSpread(L"Doravel, recognisable", recognisable_ms, L"ms");
  PrintSpread(L"Doravel, full colour", full_ms, L"ms");
  PrintSpread(L"ratio recognisable / plain (per round)", recognisable_ratio, L"");
  PrintSpread(L"ratio full colour / plain (per round)", full_ratio, L"");
  const double builder_us = BuilderMicroseconds(50);
  if (builder_us < 0) {
    fwprintf(stderr, L"controls.xml did not build\n");
    return 1;
  }
  wprintf(L"window builder, controls.xml from the archive, median of 50: %.0f us\n", builder_us);
  return 0;
}
