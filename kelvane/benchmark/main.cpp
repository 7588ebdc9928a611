// Kelvane's own share of the dictation road, and its CPU use at rest.
//  1. Idle: Kelvane.exe runs with no device present; its CPU time over ten seconds.
//  2. Latency, with the real panel and IME service in this process on simulated devices: from
//     the button report to the first audio write to the SDK, and from the final result to the
//     last keystroke sent. Time spent inside SDK calls is measured and taken out; the SDK
//     stand-in answers at once and translation is off, so no network wait is included.
// Prints the figures; not a test.
#include <windows.h>
#include <tlhelp32.h>

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

#include "FakeHid.h"
#include "FakeWaveInDriver.h"
#include "FocusedEdit.h"
#include "HidPipe.h"
#include "ImportPatch.h"
#include "KelvaneDlg.h"
#include "SpokenFixture.h"
#include "TempFolder.h"
#include "mfc/AfxRichEdit.h"
#include "msc/MscApi.h"
#include "skivra/Skivra.h"

namespace {

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart * 1000.0 / frequency;  // ms
}

// What the patched calls saw.
struct Calls {
  std::mutex lock;
  std::vector<std::pair<double, double>> sdk;  // (enter, leave) of every SDK call
  double firstWrite = 0;                       // enter of the first audio write after the press
  double finalResult = 0;                      // leave of the call that completed the result
  double lastKeystroke = 0;                    // leave of the last SendInput
  int sessionsEnded = 0;

  void Reset() {
    std::lock_guard<std::mutex> guard(lock);
    sdk.clear();
    firstWrite = finalResult = lastKeystroke = 0;
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

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(1);
  }
  return true;
}

double FileTimeMs(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 10000.0;
}

double CpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  return FileTimeMs(kernel) + FileTimeMs(user);
}

// Kelvane.exe beside this program, with no device present: CPU per second of wall time.
bool MeasureIdle(double* cpuShare, int* threads) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::filesystem::path(self).replace_filename(L"Kelvane.exe").wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return false;
  }
  const bool up = WaitUntil([] { return FindWindowW(nullptr, kMainWindowTitle) != nullptr; });
  std::printf("start-up: %.1f ms CPU\n", CpuMs(info.hProcess));
  Sleep(3000);  // start-up, slide-in and the first system checks
  const double cpuBefore = CpuMs(info.hProcess), wallBefore = Now();
  Sleep(10000);
  *cpuShare = (CpuMs(info.hProcess) - cpuBefore) / (Now() - wallBefore);
  *threads = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 thread{};
  thread.dwSize = sizeof(thread);
  for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread)) {
    *threads += thread.th32OwnerProcessID == info.dwProcessId;
  }
  CloseHandle(snapshot);
  PostMessageW(FindWindowW(nullptr, kMainWindowTitle), WM_COMMAND, ID_TRAY_EXIT, 0);
  if (WaitForSingleObject(info.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return up;
}

std::vector<unsigned char> ButtonReport(bool pressed) {
  std::vector<unsigned char> report(17, 0);
  report[0] = 0x01;
  report[1] = 0xB0;
  report[2] = pressed ? 0x01 : 0x00;
  report[16] = pressed ? 0x7B : 0x57;
  return report;
}

struct Sample {
  double pressToWrite, pressSdk;
  double finalToKey, finalSdk;
};

bool Fail(const char* what) {
  std::fprintf(stderr, "kelvane_benchmark: %s\n", what);
  return false;
}

// One dictation; false when a step does not come.
bool Dictate(HidPipe& pipe, FakeWaveInDriver& driver, Sample* sample) {
  g_calls.Reset();
  int ended;
  {
    std::lock_guard<std::mutex> guard(g_calls.lock);
    ended = g_calls.sessionsEnded;
  }
  driver.Rewind();
  const double press = Now();
  if (!pipe.Send(ButtonReport(true))) return Fail("the press was not read");
  if (!WaitUntil([] { std::lock_guard<std::mutex> g(g_calls.lock); return g_calls.firstWrite != 0; })) {
    return Fail("no audio reached the SDK");
  }
  if (!driver.WaitForFixtureRecorded() || !pipe.Send(ButtonReport(false))) {
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
  double firstWrite, finalResult, lastKey;
  {
    std::lock_guard<std::mutex> guard(g_calls.lock);
    firstWrite = g_calls.firstWrite;
    finalResult = g_calls.finalResult;
    lastKey = g_calls.lastKeystroke;
  }
  sample->pressToWrite = firstWrite - press;
  sample->pressSdk = g_calls.SdkTimeWithin(press, firstWrite);
  sample->finalToKey = lastKey - finalResult;
  sample->finalSdk = g_calls.SdkTimeWithin(finalResult, lastKey);
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Report(const char* what, const std::vector<double>& totals, const std::vector<double>& sdk) {
  std::vector<double> own(totals.size());
  for (size_t i = 0; i < totals.size(); ++i) own[i] = totals[i] - sdk[i];
  const double medianTotal = Median(totals), medianOwn = Median(own);
  std::printf("%s: Kelvane's own %.2f ms (median; max %.2f), SDK %.2f ms, total %.2f ms; own/total %.2f\n",
              what, medianOwn, *std::max_element(own.begin(), own.end()), Median(sdk), medianTotal,
              medianTotal > 0 ? medianOwn / medianTotal : 0.0);
}

}  // namespace

int wmain() {
  double idleShare = 0;
  int idleThreads = 0;
  if (!MeasureIdle(&idleShare, &idleThreads)) {
    std::fprintf(stderr, "kelvane_benchmark: Kelvane.exe did not start\n");
    return 1;
  }
  // Process times advance in clock ticks of 10 ms: 0 means less than 0.1 %.
  std::printf("idle, no device: Kelvane.exe used %.3f%% of one core over 10 s (%d threads)\n",
              idleShare * 100, idleThreads);

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
  std::string escaped;
  for (char c : pipe.Path()) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  std::ofstream(std::filesystem::path(folder.File(CIMEService::kSettingsFileName)), std::ios::binary)
      << "ctl_config {\n  ctl_mode: CtlMode_HID\n  device_descriptor {\n    path: \"" << escaped
      << "\"\n  }\n}\nmic_config {\n  mic_mode: MicMode_Gen\n  device_descriptor {\n    name: "
         "\"Benchmark Mic\"\n  }\n}\n";

  FocusedEdit edit;  // receives the keystrokes
  CKelvaneDlg dialog;
  dialog.SetSettingsFolder(folder.path());
  dialog.SetServiceSetup([](CIMEService& service) { service.SetNetworkCheck([] { return 0; }); });
  constexpr int kRounds = 10;
  std::vector<double> toWrite, toWriteSdk, toKey, toKeySdk;
  bool ok = true;
  std::thread bench([&] {
    ok = WaitUntil([&] { return pipe.Send(std::vector<unsigned char>(17, 0)); });
    for (int round = 0; ok && round < kRounds; ++round) {
      Sample sample{};
      ok = Dictate(pipe, driver, &sample);
      toWrite.push_back(sample.pressToWrite);
      toWriteSdk.push_back(sample.pressSdk);
      toKey.push_back(sample.finalToKey);
      toKeySdk.push_back(sample.finalSdk);
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
  Report("button report -> first audio write", toWrite, toWriteSdk);
  Report("final result -> last keystroke", toKey, toKeySdk);
  return 0;
}
