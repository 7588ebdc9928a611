#include "ForeignFlood.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "BenchSupport.h"
#include "IMEService.h"
#include "KelvaneDlg.h"

namespace {

// Long enough for the slowest flood measured before the log line was bounded.
constexpr DWORD kDrainTimeoutMs = 600000;

struct Cost {
  double drainMs;
  double cpuMs;
  double peakMb;  // resident memory, highest while draining
};

void PostFlood(HWND panel, bool foreign, int posts) {
  for (int i = 1; i <= posts; ++i) {
    if (foreign) {
      PostMessageW(panel, WM_IME_RESULT_TEXT, 0, static_cast<LPARAM>(i));
    } else {
      PostMessageW(panel, WM_KELVANE_NOOP, 0, 0);
    }
  }
}

// Posts the tray icon's left click (show) or the close button (hide), and waits until the
// panel is so, calling meanwhile on each poll.
bool ShowPanel(HWND panel, bool show, const std::function<void()>& meanwhile = [] {}) {
  if (show) {
    PostMessageW(panel, WM_TRAY_NOTIFY, CKelvaneDlg::kTrayIconId, WM_LBUTTONUP);
  } else {
    PostMessageW(panel, WM_COMMAND, IDC_CLOSE_BUTTON, 0);
  }
  return WaitUntil([&] { return meanwhile(), (IsWindowVisible(panel) != FALSE) == show; },
                   kDrainTimeoutMs);
}

// With the panel shown: posts the flood and then hides the panel; once it is hidden, shows
// it again, which comes after every line the flood had Kelvane post to its console.
bool Drain(const KelvaneProgram& kelvane, bool foreign, int posts, Cost* cost) {
  const HWND panel = kelvane.panel();
  const UnixProcessTimes& process = kelvane.process();
  const double cpuBefore = process.CpuMs(), start = Now();
  double peak = process.ResidentMb();
  const auto notePeak = [&] { peak = std::max(peak, process.ResidentMb()); };
  PostFlood(panel, foreign, posts);
  if (!ShowPanel(panel, false, notePeak) || !ShowPanel(panel, true, notePeak)) {
    return Fail("the flood was not drained");
  }
  *cost = {Now() - start, process.CpuMs() - cpuBefore, peak};
  return true;
}

void Print(const char* what, const std::vector<double>& values, const char* unit) {
  const Spread spread = SpreadOf(values);
  std::printf("  %-34s %10.2f / %10.2f / %10.2f %s\n", what, spread.min, spread.median,
              spread.max, unit);
}

}  // namespace

bool MeasureForeignFlood(int posts, int rounds, int exitFlood) {
  KelvaneProgram kelvane;
  if (!kelvane.Ready()) return false;
  Sleep(3000);  // start-up, slide-in and the first system checks
  if (!ShowPanel(kelvane.panel(), true)) return Fail("panel not shown");
  std::vector<double> foreignMs, noopMs, foreignCpu, noopCpu, foreignMb, noopMb, timeRatio,
      cpuRatio;
  for (int round = 0; round < rounds; ++round) {
    Cost foreign{}, noop{};
    // Alternating which goes first, so a drift of the machine favours neither.
    const bool foreignFirst = round % 2 == 0;
    if (!Drain(kelvane, foreignFirst, posts, foreignFirst ? &foreign : &noop) ||
        !Drain(kelvane, !foreignFirst, posts, foreignFirst ? &noop : &foreign)) {
      return false;
    }
    foreignMs.push_back(foreign.drainMs);
    noopMs.push_back(noop.drainMs);
    foreignCpu.push_back(foreign.cpuMs);
    noopCpu.push_back(noop.cpuMs);
    foreignMb.push_back(foreign.peakMb);
    noopMb.push_back(noop.peakMb);
    timeRatio.push_back(foreign.drainMs / noop.drainMs);
    cpuRatio.push_back(foreign.cpuMs / std::max(noop.cpuMs, 10.0));  // 10 ms clock ticks
  }
  std::printf("%d posts per flood, %d interleaved rounds (min / median / max):\n", posts, rounds);
  Print("foreign text messages, drain", foreignMs, "ms");
  Print("no-op messages, drain", noopMs, "ms");
  Print("drain ratio foreign / no-op", timeRatio, "");
  Print("foreign, Kelvane.exe CPU", foreignCpu, "ms");
  Print("no-op, Kelvane.exe CPU", noopCpu, "ms");
  Print("CPU ratio foreign / no-op", cpuRatio, "");
  Print("foreign, peak resident memory", foreignMb, "MiB");
  Print("no-op, peak resident memory", noopMb, "MiB");

  PostFlood(kelvane.panel(), true, exitFlood);
  const double exitMs = kelvane.Exit();
  if (exitMs < 0) return Fail("the tray's exit did not end Kelvane.exe within 20 s of the flood");
  std::printf("tray exit posted behind %d foreign posts: Kelvane.exe ended after %.0f ms\n",
              exitFlood, exitMs);
  return true;
}
