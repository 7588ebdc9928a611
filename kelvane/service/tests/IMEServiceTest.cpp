// The IME service's command queue: start and stop, the settings, the system check.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FakeHid.h"
#include "HidPipe.h"
#include "IMEService.h"
#include "FileBytes.h"
#include "NameTables.h"
#include "SettingsStore.h"
#include "ServiceTestSupport.h"
#include "TestEvent.h"

namespace {

const std::wstring kStars = std::wstring(44, L'*') + L"\r\n";
const wchar_t kDefaultsLine[] =
    L"CIMEService Fail to load config from imecfg.prototxt. Use default config.";

bool Contains(const std::vector<int>& commands, const std::vector<int>& run) {
  return std::search(commands.begin(), commands.end(), run.begin(), run.end()) != commands.end();
}

using IMEServiceTest = ServiceTest;

TEST_F(IMEServiceTest, StartRunsTheStartCommandsInOrderAndOnlyOnce) {
  WriteDefaultSettings("translate_config {\n  b_translate: true\n  src_key: \"cn\"\n  dst_key: \"en\"\n}\n");
  StartAndSettle(service_);
  EXPECT_EQ(QueueCommands(trace_), (std::vector<int>{0, 1, 6, 10, 8, 12}));
  EXPECT_TRUE(trace_.Has(kTraceInfo, L"IME service is started."));
  EXPECT_TRUE(trace_.Has(kTraceError, L"Fail to init TTS module."));
  EXPECT_TRUE(trace_.Has(kTraceInfo, L"CIMEService Processor start successfully"));
  EXPECT_EQ(owner_.TranslateStatuses(), std::vector<std::wstring>{L"1 中文 英文"});

  EXPECT_EQ(service_.Start(), 0);
  EXPECT_TRUE(trace_.Has(kTraceError, L"设备服务正在运行，无法重复启动"));
  ASSERT_TRUE(Settle(service_, trace_));
  EXPECT_EQ(NewCommands(), std::vector<int>{});

  service_.Stop();
  const std::vector<int> stopping = NewCommands();
  ASSERT_GE(stopping.size(), 4u);
  EXPECT_EQ(std::vector<int>(stopping.begin(), stopping.begin() + 4),
            (std::vector<int>{13, 15, 9, 11}));
  EXPECT_TRUE(trace_.Has(kTraceInfo, L"MSPLogout .."));
}

// The mic_config-only file the settings tool saves when the user picks a microphone from an
// empty start.
std::string SavedBySettingsTool() {
  ORVANE::Config::ConfigPb settings;
  settings.mutable_mic_config()->set_mic_mode(ORVANE::Config::MicMode_Gen);
  settings.mutable_mic_config()->mutable_device_descriptor()->set_name("TAVRI Mic");
  TempFolder folder;
  EXPECT_TRUE(SaveProtoText(folder.File(L"imecfg.prototxt"), settings));
  return ReadBytes(folder.File(L"imecfg.prototxt"));
}

TEST_F(IMEServiceTest, SettingsFileOrDefaultsAreDescribed) {
  const std::wstring defaultPath =
      L"Path: \\\\?\\hid#vid_e4a9&pid_50d6&mi_05#7&138a9600&0&0000#"
      L"{4d1e55b2-f16f-11cf-88cb-001111000030}\r\n";
  const std::wstring defaultMic =
      kStars + L"Mic Device: General AudioIn Device\r\n" + kStars + L"Name: 麦克风 (Vornix)\r\nPath: \r\n";
  const std::wstring defaultDescription =
      kStars + L"Ctl Device: HID\r\n" + kStars + L"Name: \r\n" + defaultPath + defaultMic;
  const std::wstring noDevice = kStars + L"Ctl Device: HID\r\n" + kStars + L"Name: \r\nPath: \r\n";
  const std::wstring noMic = kStars + L"Mic Device: General AudioIn Device\r\n" + kStars + L"Name: \r\nPath: \r\n";
  const std::string savedBySettingsTool = SavedBySettingsTool();
  struct Case {
    const char* name;
    const char* file;  // null: no file
    bool defaults;
    std::wstring description;
  } cases[] = {
      {"no file", nullptr, true, defaultDescription},
      {"broken file", "ctl_config { ctl_mode: ", true, defaultDescription},
      // The defaults go over what was read: the control device's name is not in them.
      {"mic_config lacks device_descriptor",
       "ctl_config { device_descriptor { name: \"kept\" } }\nmic_config { mic_mode: MicMode_BLE }\n", true,
       kStars + L"Ctl Device: HID\r\n" + kStars + L"Name: kept\r\n" + defaultPath + defaultMic},
      {"BLE devices",
       "ctl_config {\n  ctl_mode: CtlMode_BLE\n  device_descriptor {\n    name: \"A1B2C3D4E5F6\"\n"
       "    path: \"ble-ctl\"\n  }\n}\nmic_config {\n  mic_mode: MicMode_BLE\n"
       "  device_descriptor {\n    name: \"A1B2C3D4E5F7\"\n    path: \"ble-mic\"\n  }\n}\n",
       false,
       kStars + L"Ctl Device: BLE\r\n" + kStars + L"Name: A1B2C3D4E5F6\r\nPath: ble-ctl\r\n" +
           kStars + L"Mic Device: BLE AudioIn Device\r\n" + kStars +
           L"Name: A1B2C3D4E5F7\r\nPath: ble-mic\r\n"},
      // A file that loads is used as it is: no default at all.
      {"empty file", "", false, noDevice + noMic},
      {"only translation", "translate_config {\n  b_translate: true\n}\n", false, noDevice + noMic},
      {"only the recogniser", "sr_config {\n  b_append_enter: true\n}\n", false, noDevice + noMic},
      {"only the microphone, saved by the settings tool", savedBySettingsTool.c_str(), false,
       noDevice + kStars + L"Mic Device: General AudioIn Device\r\n" + kStars + L"Name: TAVRI Mic\r\nPath: \r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileW(SettingsFile().c_str());
    if (c.file != nullptr) WriteTextFile(SettingsFile(), c.file);
    const int defaultsBefore = trace_.Count(kDefaultsLine);
    CIMEService service(&owner_);
    Prepare(service);
    StartAndSettle(service);
    service.Stop();
    EXPECT_EQ(trace_.Count(kDefaultsLine) - defaultsBefore, c.defaults ? 1 : 0);
    EXPECT_TRUE(trace_.Has(kTraceInfo, L"Config Description:\r\n" + c.description)) << trace_.Text();
  }
}

// The control device's reading thread holds the control file while it tries to open it,
// so removing the file waits until the attempt has let it go (its trace lines wake the pump).
class IMESystemCheckTest : public ServiceTest {
 protected:
  bool SetControlPresent(bool present) {
    if (present) {
      WriteTextFile(ControlFile(), "");
      return true;
    }
    return PumpUntil([&] {
      return DeleteFileW(ControlFile().c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
    });
  }
};

TEST_F(IMESystemCheckTest, SystemCheckActsOnEachChangeOfStatus) {
  WriteDefaultSettings();
  StartAndSettle(service_);
  struct Step {
    int network;
    bool controlPresent;
    std::vector<int> posted;
    std::vector<std::pair<int, std::wstring>> shown;
  } steps[] = {
      {0, true, {12}, {{1, L"已联网"}}},  // the first check always acts
      {4, true, {13, 15}, {{0, L"网络断开"}}},
      {4, false, {}, {{0, L"网络断开"}}},
      {0, false, {}, {{0, L"已联网"}}},
      {0, false, {}, {}},
      {0, true, {12}, {{1, L"已联网"}}},
      {0, false, {13, 15}, {{0, L"已联网"}}},
  };
  size_t shownBefore = 0;
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    const Step& step = steps[i];
    network_ = step.network;
    ASSERT_TRUE(SetControlPresent(step.controlPresent));
    service_.PostCommand(IME_SystemCheck);
    ASSERT_TRUE(Settle(service_, trace_));
    std::vector<int> posted = NewCommands();
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted.front(), IME_SystemCheck);
    EXPECT_EQ(std::vector<int>(posted.begin() + 1, posted.end()), step.posted);
    const auto shown = owner_.NetworkStatuses();
    EXPECT_EQ(decltype(step.shown)(shown.begin() + shownBefore, shown.end()), step.shown);
    shownBefore = shown.size();
  }
  EXPECT_TRUE(trace_.Has(
      kTraceDebug, L"CIMEService System check finish. CTLDevice:Down MicDevice:Skip NetWork:Down"));
  EXPECT_TRUE(trace_.Has(
      kTraceDebug, L"CIMEService System check finish. CTLDevice:OK   MicDevice:Skip NetWork:OK  "));
}

TEST_F(IMEServiceTest, AControlDevicePulledWhileOpenIsReopenedByTheSystemCheck) {
  FakeHid hid;
  HidPipe control(2);  // the check's presence probe, then the device
  WriteTextFile(SettingsFile(), SettingsText(control.Path(), "Absent Mic"));
  StartAndSettle(service_);
  const auto opened = [&] { return trace_.Count(L"HID opened successfully."); };
  ASSERT_TRUE(PumpUntil([&] { return opened() == 1; }));
  const auto check = [&] {
    NewCommands();
    service_.PostCommand(IME_SystemCheck);
    return Settle(service_, trace_) ? NewCommands() : std::vector<int>{};
  };
  EXPECT_EQ(check(), (std::vector<int>{IME_SystemCheck, IME_OpenCtlDev}));  // the first check acts

  control.Unplug();
  ASSERT_TRUE(PumpUntil(
      [&] { return trace_.Has(kTraceDebug, L"CIMEService OnDevClosed DevType:DT_Ctl_HID"); }));
  EXPECT_EQ(check(), (std::vector<int>{IME_SystemCheck, IME_CloseCtlDev, IME_CloseMicDev}));
  EXPECT_EQ(check(), (std::vector<int>{IME_SystemCheck}));
  control.Plug();
  EXPECT_EQ(check(), (std::vector<int>{IME_SystemCheck, IME_OpenCtlDev}));
  ASSERT_TRUE(PumpUntil([&] { return opened() == 2; }));
  int goneLines = 0;
  for (const auto& line : trace_.Lines()) {
    goneLines += line.second.rfind(L"CHIDDevice The device is gone, reading stops.", 0) == 0;
  }
  EXPECT_EQ(goneLines, 1);

  std::vector<unsigned char> press(17, 0);
  press[0] = 0x01;
  press[1] = 0xB0;
  press[2] = 0x01;
  press[16] = 0x7B;
  ASSERT_TRUE(control.Send(press));
  EXPECT_TRUE(PumpUntil([&] {
    const std::vector<int> commands = QueueCommands(trace_);
    return std::count(commands.begin(), commands.end(), IME_OpenMicDev) == 1;
  }));
}

TEST_F(IMEServiceTest, StopRightAfterStartClosesEverythingAndAllowsANewStart) {
  WriteDefaultSettings();
  ASSERT_EQ(service_.Start(), 1);
  service_.Stop();
  const std::vector<int> commands = QueueCommands(trace_);
  EXPECT_TRUE(Contains(commands, {0, 1})) << trace_.Text();
  EXPECT_TRUE(Contains(commands, {13, 15, 9, 11})) << trace_.Text();

  ASSERT_EQ(service_.Start(), 1);
  ASSERT_TRUE(Settle(service_, trace_));
  service_.Stop();
}

TEST_F(IMEServiceTest, StopReturnsWhileASystemCheckWaitsForTheUiThread) {
  WriteDefaultSettings();
  StartAndSettle(service_);
  // The owner does window work of the test thread, as a dialog would.
  HWND label = CreateWindowExW(0, L"STATIC", L"before", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  owner_.onNetworkStatus = [label] { SetWindowTextW(label, L"after"); };
  TestEvent checking, release;
  service_.SetNetworkCheck([&] {
    checking.Set();
    release.Wait(10000);
    return 4;
  });
  service_.PostCommand(IME_SystemCheck);
  service_.PostCommand(IME_SystemCheck);
  ASSERT_TRUE(checking.Wait());
  release.Set();
  service_.Stop();  // a hang here fails the test by its time-out

  wchar_t text[16] = {};
  GetWindowTextW(label, text, 16);
  EXPECT_STREQ(text, L"after");
  EXPECT_EQ(owner_.NetworkStatuses().size(), 1u);
  DestroyWindow(label);
}

TEST_F(IMEServiceTest, CommandsWithoutDevicesOnlyLog) {
  const unsigned char payload = 0;
  struct Case {
    unsigned id;
    const wchar_t* queueLine;
    const wchar_t* line;  // the error logged, or null for none
  } cases[] = {
      {IME_OpenCtlDev, L"CIMEService::OnQueueMessage:[12] IME_OpenCtlDev",
       L"CIMEService The ctl device has not been created."},
      {IME_OpenMicDev, L"CIMEService::OnQueueMessage:[14] IME_OpenMicDev",
       L"CIMEService The mic device has not been created."},
      {IME_DestroySR, L"CIMEService::OnQueueMessage:[7] IME_DestroySR",
       L"CIMEService Unknown queue event identifier:7."},
      {17, L"CIMEService::OnQueueMessage:[17] ", L"CIMEService Unknown queue event identifier:17."},
      {4, L"CIMEService::OnQueueMessage:[4] ", nullptr},
      {5, L"CIMEService::OnQueueMessage:[5] ", nullptr},
      {IME_CloseCtlDev, L"CIMEService::OnQueueMessage:[13] IME_CloseCtlDev", nullptr},
      {IME_CloseMicDev, L"CIMEService::OnQueueMessage:[15] IME_CloseMicDev", nullptr},
      {IME_DestroyCtlDev, L"CIMEService::OnQueueMessage:[9] IME_DestroyCtlDev", nullptr},
      {IME_DestroyMicDev, L"CIMEService::OnQueueMessage:[11] IME_DestroyMicDev", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.queueLine);
    const int errorsBefore = trace_.Count(c.line != nullptr ? c.line : L"");
    const size_t linesBefore = trace_.Lines().size();
    service_.OnQueueMessage(c.id, &payload, 1);
    EXPECT_TRUE(trace_.Has(kTraceDebug, c.queueLine));
    if (c.line != nullptr) {
      EXPECT_EQ(trace_.Count(c.line), errorsBefore + 1);
    } else {
      EXPECT_EQ(trace_.Lines().size(), linesBefore + 1);  // the queue line only
    }
  }
}

}  // namespace
