// Driving an IME service in tests: the commands its queue ran, a barrier that lets the
// queue settle, and a fixture around one service.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "FakeSpVoice.h"
#include "IMEService.h"
#include "MscTestSession.h"
#include "RecordingOwner.h"
#include "SettingsText.h"
#include "TempFolder.h"
#include "TraceCapture.h"

// Command 7 has no handler: the queue only logs it, so it serves as a barrier.
constexpr unsigned kBarrierCommand = 7;

inline const wchar_t* BarrierLine() { return L"CIMEService Unknown queue event identifier:7."; }

// The commands the queue ran, in order, barriers left out.
inline std::vector<int> QueueCommands(TraceCapture& trace) {
  const std::wstring prefix = L"CIMEService::OnQueueMessage:[";
  std::vector<int> commands;
  for (const auto& line : trace.Lines()) {
    if (line.second.compare(0, prefix.size(), prefix) != 0) continue;
    const int id = std::stoi(line.second.substr(prefix.size()));
    if (id != static_cast<int>(kBarrierCommand)) commands.push_back(id);
  }
  return commands;
}

// Lets the queue run what was posted, and what that posts in turn (three levels deep).
inline bool Settle(CIMEService& service, TraceCapture& trace) {
  for (int round = 0; round < 3; ++round) {
    const int passed = trace.Count(BarrierLine());
    service.PostCommand(kBarrierCommand);
    if (!PumpUntil([&] { return trace.Count(BarrierLine()) > passed; })) return false;
  }
  return true;
}

// A service with a settings folder of its own, the SDK stand-in in echo mode, a reachable
// network and a clock the test sets. The voice cannot be created unless a test gives one.
class ServiceTest : public testing::Test {
 protected:
  ServiceTest() { Prepare(service_); }
  ~ServiceTest() override {
    service_.Stop();
    voice_.JoinNotifications();
  }

  void Prepare(CIMEService& service) {
    service.SetSettingsFolder(folder_.path());
    service.SetNetworkCheck([this] { return network_.load(); });
    service.SetClock([this] { return now_.load(); });
    service.Speech().SetVoiceFactory([](ISpVoice**) { return E_FAIL; });
  }
  void UseFakeVoice(CIMEService& service) {
    service.Speech().SetVoiceFactory([this](ISpVoice** voice) {
      voice_.AddRef();
      *voice = &voice_;
      return S_OK;
    });
  }

  std::wstring SettingsFile() const { return folder_.File(CIMEService::kSettingsFileName); }
  // A file standing in for a present control device: it can be opened, but is no HID.
  std::wstring ControlFile() const { return folder_.File(L"control"); }
  void WriteDefaultSettings(const std::string& more = std::string()) {
    WriteTextFile(ControlFile(), "");
    WriteTextFile(SettingsFile(), SettingsText(Narrow(ControlFile()), "Absent Mic", more));
  }

  // Starts the service and waits until the start commands have run.
  void StartAndSettle(CIMEService& service) {
    ASSERT_EQ(service.Start(), 1);
    ASSERT_TRUE(Settle(service, trace_));
    NewCommands();
  }
  // The commands run since the last call.
  std::vector<int> NewCommands() {
    const std::vector<int> all = QueueCommands(trace_);
    std::vector<int> fresh(all.begin() + std::min(seen_, all.size()), all.end());
    seen_ = all.size();
    return fresh;
  }

  TraceCapture trace_;
  TempFolder folder_;
  MscTestSession msc_;
  std::atomic<int> network_{0};
  std::atomic<DWORD> now_{100000};
  FakeSpVoice voice_;
  RecordingOwner owner_;
  CIMEService service_{&owner_};
  size_t seen_ = 0;
};
