// Kelvane's own share of the dictation road, and its CPU use at rest.
//  1. Idle: Kelvane.exe runs with no device present, its panel shown, then hidden; its CPU
//     time from the operating system's counters over several windows.
//  2. Latency, with the real panel and IME service in this process on simulated devices: from
//     the button report written to the control device to the first audio write to the SDK,
//     and from the final result to the last keystroke sent. Time spent inside SDK calls and
//     the simulated microphone's wait for its first buffer are measured and taken out; the
//     SDK stand-in answers at once and translation is off, so no network wait is included.
//  3. With --flood [posts] [rounds], only: what a flood of foreign messages costs Kelvane.exe
//     beside as many no-op messages (ForeignFlood.h).
// Prints the figures with the machine's load; not a test.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "FakeHid.h"
#include "FakeWaveInDriver.h"
#include "FocusedEdit.h"
#include "ForeignFlood.h"
#include "HidPipe.h"
#include "ImportPatch.h"
#include "KelvaneDlg.h"
#include "SettingsText.h"
#include "SpokenFixture.h"
#include "TempFolder.h"
#include "WaveInApi.h"
#include "mfc/AfxRichEdit.h"
#include "msc/MscApi.h"
#include "skivra/Skivra.h"

namespace {

// What the patched calls saw.
struct Calls {
  std::mutex lock;
  std::vector<std::pair<double, double>> sdk;  // (enter, leave) of every SDK call
  double firstWrite = 0;                       // enter of the first audio write after the press
  double micStart = 0;                         // the microphone's waveInStart
  double firstBuffer = 0;                      // the first recorded buffer handed to Kelvane
  double finalResult = 0;                      // leave of the call that completed the result
  double lastKeystroke = 0;                    // leave of the last SendInput
  int sessionsEnded = 0;

  void Reset() {
    std::lock_guard<std::mutex> guard(lock);
    sdk.clear();
    firstWrite = micStart = firstBuffer = finalResult = lastKeystroke = 0;
  }
  // SDK time inside [from, to].
  double SdkTimeWithin(double from, double to) {
    std::lock_guard<std::mutex> guard(lock);
    double total = 0;
    for (const auto& call : sdk) total += std::max(0.0, std::min(call.second, to) - std::max(call.first, from));
    return total;
  }
} g_calls;

using SessionBeginFn = const char*(MSCAPI*)(const char*, const char*, int*);
using SessionEndFn = int(MSCAPI*)(const char*, const char*);
using AudioWriteFn = int(MSCAPI*)(const char*, const void*, unsigned int, int, int*, int*);
using GetResultFn = const char*(MSCAPI*)(const char*, int*, int, int*);
using SendInputFn = UINT(WINAPI*)(UINT, LPINPUT, int);
SessionBeginFn g_sessionBegin;
SessionEndFn g_sessionEnd;
AudioWriteFn g_audioWrite;
GetResultFn g_getResult;
SendInputFn g_sendInput;

void NoteSdk(double enter, double leave) {
  std::lock_guard<std::mutex> guard(g_calls.lock);
  g_calls.sdk.emplace_back(enter, leave);
}

const char* MSCAPI TimedSessionBegin(const char* grammar, const char* params, int* error) {
  const double enter = Now();
  const char* session = g_sessionBegin(grammar, params, error);
  NoteSdk(enter, Now());
  return session;
}

int MSCAPI TimedSessionEnd(const char* session, const char* hints) {
  const double enter = Now();
  const int result = g_sessionEnd(session, hints);
  NoteSdk(enter, Now());
  std::lock_guard<std::mutex> guard(g_calls.lock);
  ++g_calls.sessionsEnded;
  return result;
}

int MSCAPI TimedAudioWrite(const char* session, const void* data, unsigned int length, int status,
                           int* endpoint, int* recognition) {
  const double enter = Now();
  {
    std::lock_guard<std::mutex> guard(g_calls.lock);
    if (g_calls.firstWrite == 0) g_calls.firstWrite = enter;
  }
  const int result = g_audioWrite(session, data, length, status, endpoint, recognition);
  NoteSdk(enter, Now());
  return result;
}

const char* MSCAPI TimedGetResult(const char* session, int* status, int wait, int* error) {
  const double enter = Now();
  const char* result = g_getResult(session, status, wait, error);
  const double leave = Now();
  NoteSdk(enter, leave);
  if (*status == MSC_RESULT_COMPLETE) {
    std::lock_guard<std::mutex> guard(g_calls.lock);
    g_calls.finalResult = leave;
  }
  return result;
}

UINT WINAPI TimedSendInput(UINT count, LPINPUT inputs, int size) {
  const UINT sent = g_sendInput(count, inputs, size);
  std::lock_guard<std::mutex> guard(g_calls.lock);
  g_calls.lastKeystroke = Now();
  return sent;
}

// The simulated microphone's own wait: from waveInStart to its first buffer.
WaveInApi g_driver;
DWORD_PTR g_micCallback, g_micInstance;

void CALLBACK TimedMicCallback(HWAVEIN handle, UINT message, DWORD_PTR instance, DWORD_PTR header,
                               DWORD_PTR reserved) {
  if (message == WIM_DATA) {
    std::lock_guard<std::mutex> guard(g_calls.lock);
    if (g_calls.firstBuffer == 0) g_calls.firstBuffer = Now();
  }
  reinterpret_cast<void(CALLBACK*)(HWAVEIN, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR)>(g_micCallback)(
      handle, message, g_micInstance, header, reserved);
}

MMRESULT WINAPI TimedMicOpen(LPHWAVEIN handle, UINT id, LPCWAVEFORMATEX format, DWORD_PTR callback,
                             DWORD_PTR instance, DWORD flags) {
  g_micCallback = callback;
  g_micInstance = instance;
  return g_driver.open(handle, id, format, reinterpret_cast<DWORD_PTR>(&TimedMicCallback), 0, flags);
}

MMRESULT WINAPI TimedMicStart(HWAVEIN handle) {
  {
    std::lock_guard<std::mutex> guard(g_calls.lock);
    if (g_calls.micStart == 0) g_calls.micStart = Now();
  }
  return g_driver.start(handle);
}

void TimeMicrophone() {
  g_driver = WaveIn();
  WaveIn().open = &TimedMicOpen;
  WaveIn().start = &TimedMicStart;
}

template <typename Fn>
bool Patch(const char* dll, WORD ordinal, const char* name, Fn replacement, Fn* original) {
  return PatchImport(dll, ordinal, name, reinterpret_cast<void*>(replacement),
                     reinterpret_cast<void**>(original));
}

bool PatchCalls() {
  return Patch("msc_x64.dll", 20, nullptr, &TimedSessionBegin, &g_sessionBegin) &&
         Patch("msc_x64.dll", 21, nullptr, &TimedSessionEnd, &g_sessionEnd) &&
         Patch("msc_x64.dll", 23, nullptr, &TimedAudioWrite, &g_audioWrite) &&
         Patch("msc_x64.dll", 24, nullptr, &TimedGetResult, &g_getResult) &&
         Patch("user32.dll", 0, "SendInput", &TimedSendInput, &g_sendInput);
}

// Kelvane.exe's share of one core in each of the windows that follow, from the OS counters.
std::vector<double> CpuShares(const UnixProcessTimes& kelvane, int windows, DWORD windowMs) {
  std::vector<double> shares;
  for (int i = 0; i < windows; ++i) {
    const double cpuBefore = kelvane.CpuMs(), wallBefore = Now();
    Sleep(windowMs);
    shares.push_back((kelvane.CpuMs() - cpuBefore) / (Now() - wallBefore));
  }
  return shares;
}

void PrintShares(const char* what, const std::vector<double>& shares, DWORD windowMs) {
  const Spread spread = SpreadOf(shares);
  std::printf("idle, no device, %s: Kelvane.exe used %.2f / %.2f / %.2f %% of one core "
              "(min / median / max of %zu windows of %lu s; 10 ms clock ticks)\n",
              what, spread.min * 100, spread.median * 100, spread.max * 100, shares.size(),
              windowMs / 1000);
}

// Kelvane.exe beside this program, with no device present, the panel shown and then hidden.
bool MeasureIdle() {
  KelvaneProgram kelvane;
  if (!kelvane.Ready()) return false;
  Sleep(3000);  // start-up, slide-in and the first system checks
  constexpr int kWindows = 6;
  constexpr DWORD kWindowMs = 5000;
  PrintShares("panel shown", CpuShares(kelvane.process(), kWindows, kWindowMs), kWindowMs);
  PostMessageW(kelvane.panel(), WM_COMMAND, IDC_CLOSE_BUTTON, 0);
  Sleep(500);
  PrintShares("panel hidden", CpuShares(kelvane.process(), kWindows, kWindowMs), kWindowMs);
  return true;
}

// Kelvane's own time on each stretch: the stretch less the SDK's and the microphone's time.
struct Sample {
  double pressToWrite;
  double finalToKey;
};

// One dictation; false when a step does not come.
bool Dictate(HidPipe& pipe, FakeWaveInDriver& driver, Sample* sample) {
  g_calls.Reset();
  int ended;
  {
    std::lock_guard<std::mutex> guard(g_calls.lock);
    ended = g_calls.sessionsEnded;
  }
  driver.Rewind();
  if (!pipe.Send(HidButtonReport(true))) return Fail("the press was not read");
  const double press = Now();  // the report is in the device's pipe
  if (!WaitUntil([] { std::lock_guard<std::mutex> g(g_calls.lock); return g_calls.firstWrite != 0; })) {
    return Fail("no audio reached the SDK");
  }
  if (!driver.WaitForFixtureRecorded() || !pipe.Send(HidButtonReport(false))) {
    return Fail("the release was not read");
  }
  if (!WaitUntil([ended] {
        std::lock_guard<std::mutex> g(g_calls.lock);
        return g_calls.sessionsEnded > ended && g_calls.finalResult != 0 && g_calls.lastKeystroke > g_calls.finalResult;
      })) {
    return Fail("the session did not end with typed text");
  }
  // The microphone closes; the next press must not count as a double press.
  const double settled = press + 2.0 * CIMEService::kDoublePressMs;
  Sleep(static_cast<DWORD>(std::max(300.0, settled - Now())));
  double firstWrite, micWait, finalResult, lastKey;
  {
    std::lock_guard<std::mutex> guard(g_calls.lock);
    firstWrite = g_calls.firstWrite;
    micWait = g_calls.firstBuffer - g_calls.micStart;
    finalResult = g_calls.finalResult;
    lastKey = g_calls.lastKeystroke;
  }
  sample->pressToWrite = firstWrite - press - micWait - g_calls.SdkTimeWithin(press, firstWrite);
  sample->finalToKey = lastKey - finalResult - g_calls.SdkTimeWithin(finalResult, lastKey);
  return true;
}

void Report(const char* what, const std::vector<double>& own) {
  const Spread spread = SpreadOf(own);
  std::printf("%s: Kelvane's own %.2f / %.2f / %.2f ms (min / median / max of %zu)\n", what,
              spread.min, spread.median, spread.max, own.size());
}

std::string LoadAverage() {
  std::string load;
  std::getline(std::ifstream("Z:/proc/loadavg"), load);
  return load;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::printf("load average before: %s\n", LoadAverage().c_str());
  if (argc > 1 && std::wstring(argv[1]) == L"--flood") {
    const int posts = argc > 2 ? _wtoi(argv[2]) : 20000;
    const int rounds = argc > 3 ? _wtoi(argv[3]) : 5;
    const bool measured = posts > 0 && rounds > 0 && MeasureForeignFlood(posts, rounds, 100000);
    std::printf("load average after: %s\n", LoadAverage().c_str());
    return measured ? 0 : 1;
  }
  if (!MeasureIdle()) return 1;

  if (!PatchCalls()) {
    std::fprintf(stderr, "kelvane_benchmark: the SDK and SendInput imports were not found\n");
    return 1;
  }
  InitSkivra();
  AfxInitRichEdit2();
  TempFolder folder;
  FakeHid hid;
  HidPipe pipe;
  FakeWaveInDriver driver({L"Benchmark Mic"}, SpokenFixture());
  TimeMicrophone();
  WriteTextFile(folder.File(CIMEService::kSettingsFileName), SettingsText(pipe.Path(), "Benchmark Mic"));

  FocusedEdit edit;  // receives the keystrokes
  CKelvaneDlg dialog;
  dialog.SetSettingsFolder(folder.path());
  dialog.SetServiceSetup([](CIMEService& service) { service.SetNetworkCheck([] { return 0; }); });
  constexpr int kRounds = 10;
  std::vector<double> toWrite, toKey;
  bool ok = true;
  std::thread bench([&] {
    ok = WaitUntil([&] { return pipe.Send(std::vector<unsigned char>(17, 0)); });
    for (int round = 0; ok && round < kRounds; ++round) {
      Sample sample{};
      ok = Dictate(pipe, driver, &sample);
      toWrite.push_back(sample.pressToWrite);
      toKey.push_back(sample.finalToKey);
    }
    PostMessageW(FindWindowW(nullptr, kMainWindowTitle), WM_COMMAND, ID_TRAY_EXIT, 0);
  });
  dialog.DoModal();
  bench.join();
  if (!ok) {
    std::fprintf(stderr, "kelvane_benchmark: a dictation did not complete\n");
    return 1;
  }
  std::printf("%d dictations of a %zu-byte 16 kHz fixture, SDK stand-in in echo mode\n", kRounds,
              kSpokenBuffers * kSpokenBufferBytes);
  Report("button report -> first audio write", toWrite);
  Report("final result -> last keystroke", toKey);
  std::printf("load average after: %s\n", LoadAverage().c_str());
  return 0;
}
