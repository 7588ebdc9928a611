// The IME service's event side: control reports, the button's timing, AI mode, the BLE
// microphone and the end of sessions.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "IMEService.h"
#include "LiveAllocations.h"
#include "NameTables.h"
#include "ServiceTestSupport.h"

namespace {

// A device that only carries its type, for calling the service's callbacks directly.
class TypedDevice : public CDevice {
 public:
  explicit TypedDevice(int type) : CDevice(type) {}
  int Open() override { return 1; }
  int Close() override { return 1; }
  int Write(const unsigned char*, unsigned long) override { return 0; }
  int Check() override { return 1; }
};

using Bytes = std::vector<unsigned char>;

// A button report: prefix, state, zeros up to the length, the check byte last.
Bytes Report(Bytes prefix, unsigned char state, size_t length, unsigned char check) {
  Bytes report(length, 0);
  std::copy(prefix.begin(), prefix.end(), report.begin());
  report[prefix.size()] = state;
  report.back() = check;
  return report;
}
const Bytes kHidPress = Report({0x01, 0xB0}, 0x01, 17, 0x7B);
const Bytes kHidRelease = Report({0x01, 0xB0}, 0x00, 17, 0x57);
const Bytes kBlePress = Report({0xB0}, 0x01, 16, 0x7B);
const Bytes kBleRelease = Report({0xB0}, 0x00, 16, 0x57);

Bytes Cut(Bytes bytes, size_t length) {
  bytes.resize(length);
  return bytes;
}
Bytes Extended(Bytes bytes) {
  bytes.push_back(0x55);
  return bytes;
}

using IMEServiceEventsTest = ServiceTest;

TEST_F(IMEServiceEventsTest, ControlReportsPressReleaseOrAreRefused) {
  WriteDefaultSettings();
  StartAndSettle(service_);
  struct Case {
    const char* name;
    int type;
    Bytes report;
    int result;
    std::vector<int> posted;
    const wchar_t* line;  // an error line the report must log, or null
  } cases[] = {
      {"HID press", DT_Ctl_HID, kHidPress, 1, {IME_OpenMicDev}, nullptr},
      {"HID press with a further byte", DT_Ctl_HID, Extended(kHidPress), 1, {IME_OpenMicDev}, nullptr},
      {"HID release", DT_Ctl_HID, kHidRelease, 1, {IME_CloseMicDev}, nullptr},
      {"HID report one byte short", DT_Ctl_HID, Cut(kHidPress, 16), 0, {},
       L"HID Invalid data len：16. Min length required: 17"},
      {"HID press with a wrong check byte", DT_Ctl_HID, Report({0x01, 0xB0}, 0x01, 17, 0x57), 1, {},
       L"HID Unknown CMD"},
      {"HID unknown state", DT_Ctl_HID, Report({0x01, 0xB0}, 0x02, 17, 0x7B), 1, {},
       L"HID Unknown CMD"},
      {"BLE press", DT_Ctl_BLE, kBlePress, 1, {IME_OpenMicDev}, nullptr},
      {"BLE release", DT_Ctl_BLE, kBleRelease, 1, {IME_CloseMicDev}, nullptr},
      {"BLE report one byte short", DT_Ctl_BLE, Cut(kBlePress, 15), 0, {},
       L"BLE Invalid data len：15. Min length required: 16"},
      {"BLE given a HID press", DT_Ctl_BLE, kHidPress, 1, {}, L"BLE Unknown CMD"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    now_ += 1000;  // never a double press
    TypedDevice device(c.type);
    EXPECT_EQ(service_.OnDevData(&device, c.report.data(), static_cast<unsigned long>(c.report.size())),
              c.result);
    ASSERT_TRUE(Settle(service_, trace_));
    EXPECT_EQ(NewCommands(), c.posted);
    if (c.line != nullptr) {
      EXPECT_TRUE(trace_.Has(kTraceError, c.line));
    }
  }
  EXPECT_TRUE(trace_.Has(kTraceDebug, L"HID data[17]:0x1 0xb0 0x1 00 00 00 00 00 00 00 00 00 00 00 00 00 0x7b "))
      << trace_.Text();
}

TEST_F(IMEServiceEventsTest, PressesCloserThan500MsSwitchToAIMode) {
  WriteDefaultSettings();
  const std::vector<int> doublePress = {IME_OpenMicDev, IME_CloseMicDev, IME_SwitchAIMode,
                                        4 /* indicator on */, IME_OpenMicDev};
  struct Case {
    const char* name;
    std::vector<DWORD> presses;
    std::vector<int> posted;
  } cases[] = {
      {"500 ms apart", {1000, 1500}, {IME_OpenMicDev, IME_OpenMicDev}},
      {"499 ms apart", {1000, 1499}, doublePress},
      {"499 ms across the tick wrap-around", {0xFFFFFF00u, 0xF3u}, doublePress},
      {"500 ms across the tick wrap-around", {0xFFFFFF00u, 0xF4u}, {IME_OpenMicDev, IME_OpenMicDev}},
      {"a single press in AI mode", {1000, 1200, 5000}, doublePress},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CIMEService service(&owner_);
    Prepare(service);
    StartAndSettle(service);
    for (DWORD press : c.presses) {
      now_ = press;
      service.ButtonPress();
      ASSERT_TRUE(Settle(service, trace_));
    }
    EXPECT_EQ(NewCommands(), c.posted);
    service.Stop();
    NewCommands();
  }
}

TEST_F(IMEServiceEventsTest, AIModeGreetsThenListensWhateverTheVoiceDoes) {
  WriteDefaultSettings();
  struct Case {
    const char* name;
    bool fakeVoice;
    HRESULT notifySinkResult;
    HRESULT speakResult;
  } cases[] = {
      {"no voice", false, S_OK, S_OK},
      {"voice that reports the end", true, S_OK, S_OK},
      {"voice without end notification", true, E_FAIL, S_OK},
      {"voice that refuses to speak", true, S_OK, E_FAIL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    voice_.notifySinkResult = c.notifySinkResult;
    voice_.speakResult = c.speakResult;
    const size_t messagesBefore = owner_.Messages().size();
    CIMEService service(&owner_);
    Prepare(service);
    if (c.fakeVoice) UseFakeVoice(service);
    StartAndSettle(service);

    const wchar_t openMic[] = L"CIMEService::OnQueueMessage:[14] IME_OpenMicDev";
    const int opened = trace_.Count(openMic);
    service.PostCommand(IME_SwitchAIMode);
    ASSERT_TRUE(PumpUntil([&] { return trace_.Count(openMic) > opened; })) << trace_.Text();
    ASSERT_TRUE(Settle(service, trace_));
    EXPECT_EQ(NewCommands(), (std::vector<int>{IME_SwitchAIMode, 4, IME_OpenMicDev}));

    TypedDevice control(DT_Ctl_HID);
    Bytes release = kHidRelease;
    service.OnDevData(&control, release.data(), static_cast<unsigned long>(release.size()));
    service.PostCommand(IME_SwitchSRMode);
    ASSERT_TRUE(Settle(service, trace_));
    EXPECT_EQ(NewCommands(), (std::vector<int>{IME_SwitchSRMode, IME_CloseMicDev}));

    const std::vector<OwnerMessage> all = owner_.Messages();
    const std::vector<OwnerMessage> messages(all.begin() + messagesBefore, all.end());
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, WM_USER + 7);
    EXPECT_EQ(messages[0].wparam, 1u);
    EXPECT_EQ(messages[1].message, WM_USER + 5);
    EXPECT_EQ(messages[1].text, L"请问有什么可以帮您？");
    EXPECT_EQ(messages[2].message, WM_USER + 7);
    EXPECT_EQ(messages[2].wparam, 0u);
    service.Stop();
    voice_.JoinNotifications();
    // The voice was released, detached first.
    EXPECT_EQ(voice_.Sink(), nullptr);
    EXPECT_EQ(voice_.References(), 1u);
    NewCommands();
  }
}

TEST_F(IMEServiceEventsTest, FailedSessionBeginStillEndsTheSession) {
  MscTestSession msc(R"({"sessions":[{"errors":[{"call":"QISRSessionBegin","at":1,"code":10114}]}]})");
  WriteDefaultSettings();
  for (const bool aiMode : {false, true}) {
    SCOPED_TRACE(aiMode ? "AI mode" : "dictation");
    CIMEService service(&owner_);
    Prepare(service);
    StartAndSettle(service);
    if (aiMode) {
      service.PostCommand(IME_SwitchAIMode);
      ASSERT_TRUE(Settle(service, trace_));
      NewCommands();
    }
    const size_t messagesBefore = owner_.Messages().size();
    TypedDevice microphone(DT_Mic_General);
    service.OnDevOpened(&microphone);
    ASSERT_TRUE(PumpUntil([&] { return owner_.Messages().size() >= messagesBefore + 2; }));
    ASSERT_TRUE(Settle(service, trace_));
    const std::vector<OwnerMessage> all = owner_.Messages();
    ASSERT_EQ(all.size(), messagesBefore + 2);
    EXPECT_EQ(all[messagesBefore].message, WM_USER + 3);
    EXPECT_EQ(all[messagesBefore + 1].message, WM_USER + 4);
    EXPECT_EQ(NewCommands(), aiMode ? (std::vector<int>{IME_CloseMicDev, 5})
                                    : (std::vector<int>{IME_CloseMicDev}));
    EXPECT_TRUE(trace_.Has(kTraceInfo, L"OnSessionBegin:0"));
    service.Stop();
    NewCommands();
  }
}

// A notification of the BLE microphone: 2 header bytes, 4 of decoder state, then codes.
Bytes BleNotification(size_t size) {
  Bytes notification(size, 0x11);
  return notification;
}

TEST_F(IMEServiceEventsTest, BleMicrophoneAudioIsBufferedAndFlushedAbove2048Bytes) {
  MscTestSession msc(R"({"sessions":[{"finals":[]}]})");
  WriteDefaultSettings();
  StartAndSettle(service_);
  TypedDevice microphone(DT_Mic_BLE);
  service_.OnDevOpened(&microphone);
  ASSERT_TRUE(PumpUntil([&] { return !owner_.Messages(WM_USER + 3).empty(); }));

  for (size_t size : {0, 5, 6}) {  // no codes: no audio
    Bytes packet = BleNotification(size);
    EXPECT_EQ(service_.OnDevData(&microphone, packet.data(), static_cast<unsigned long>(size)), 1);
  }
  EXPECT_EQ(owner_.SampleBytes(), 0u);
  Bytes packet = BleNotification(10);  // 4 code bytes: 8 samples, 16 bytes
  for (int i = 0; i < 132; ++i) service_.OnDevData(&microphone, packet.data(), 10);
  EXPECT_EQ(owner_.SampleBytes(), 132u * 16);
  service_.OnDevClosed(&microphone);
  ASSERT_TRUE(PumpUntil([&] { return !owner_.Messages(WM_USER + 4).empty(); }));

  std::vector<std::string> writes;
  for (const std::string& line : msc.Journal()) {
    if (line.rfind("QISRAudioWrite", 0) == 0) writes.push_back(line);
  }
  // 129 packets pass 2048 bytes; the remaining three go with the close.
  EXPECT_EQ(writes, (std::vector<std::string>{"QISRAudioWrite 0 status=1 bytes=2064",
                                              "QISRAudioWrite 0 status=2 bytes=48",
                                              "QISRAudioWrite 0 status=4 bytes=0"}));
  // An empty final text is still shown, and nothing is typed.
  const std::vector<OwnerMessage> texts = owner_.Messages(WM_USER + 2);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].wparam, 0u);
  EXPECT_EQ(texts[0].text, L"");
  EXPECT_FALSE(trace_.Has(kTraceDebug, L"CIMEService Send text successfully"));
}

// An owner whose window is gone: every post to it fails.
class UnreachableOwner : public IIMEServiceOwner {
 public:
  UnreachableOwner() {
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    DestroyWindow(window_);
  }
  HWND GetMessageWindow() override { return window_; }
  void SetNetworkStatus(int, const wchar_t*) override {}
  void SetTranslateStatus(int, const wchar_t*, const wchar_t*) override {}
  void AddSamples(const unsigned char*, unsigned long) override {}

 private:
  HWND window_;
};

TEST(IMEServiceTextTest, ATextThatCannotBePostedIsFreed) {
  UnreachableOwner owner;
  CIMEService service(&owner);
  service.SpeakReply(L"warm-up");
  const long before = LiveAllocations();
  service.SpeakReply(L"请问有什么可以帮您？");
  EXPECT_EQ(LiveAllocations(), before);
}

}  // namespace
