#include "IMEService.h"

#include "AudioInDevice.h"
#include "BLEDevice.h"
#include "BuiltinLists.h"
#include "ControlReports.h"
#include "HIDDevice.h"
#include "ISRProcessor.h"
#include "NameTables.h"
#include "NetworkCheck.h"
#include "PostedObjects.h"
#include "SettingsStore.h"
#include "TraceMessage.h"
#include "mfc/AfxString.h"
#include "tessik/TessikService.h"

namespace {

const unsigned char kDummyPayload = 0;

// Not a ServiceCommand: releases the voice on the queue thread that created it.
constexpr unsigned kReleaseSpeech = 0x10000;

constexpr int kControlMissing = 1;

// {00010203-0405-0607-0809-0A0B0C0D1911} and its control and microphone characteristics.
constexpr GUID kGattService = {
    0x00010203, 0x0405, 0x0607, {0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x19, 0x11}};
constexpr GUID kGattControl = {
    0x00010203, 0x0405, 0x0607, {0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x2B, 0x19}};
constexpr GUID kGattMicrophone = {
    0x00010203, 0x0405, 0x0607, {0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x2B, 0x18}};

constexpr int kMicBufferCount = 5;
constexpr int kMicFramesPerBuffer = 2048;

std::unique_ptr<CDevice> MakeBleDevice(int type, const GUID& characteristic,
                                       const ORVANE::Config::DeviceDescriptor& descriptor) {
  auto device = std::make_unique<CBLEDevice>(type);
  const GUID ids[2] = {kGattService, characteristic};
  device->SetGattIds(ids);
  device->SetDescriptor(&descriptor);
  return device;
}

std::wstring DescriptorLines(const ORVANE::Config::DeviceDescriptor& descriptor) {
  return L"Name: " + CTessikService::StringToWString(descriptor.name()) + L"\r\nPath: " +
         CTessikService::StringToWString(descriptor.path()) + L"\r\n";
}

}  // namespace

CIMEService::CIMEService(IIMEServiceOwner* owner)
    : owner_(owner), queue_(1), clock_(&GetTickCount), networkCheck_(&CheckInternetConnection) {}

CIMEService::~CIMEService() { Stop(); }

int CIMEService::Start() {
  if (running_ == 1) {
    TraceMessage(kTraceError, L"设备服务正在运行，无法重复启动");
    return 0;
  }
  queue_.SetSink(this);
  const int started = queue_.Start();
  if (started == 1) {
    TraceMessage(kTraceInfo, L"IME service is started.");
    PostCommand(0);
    PostCommand(IME_Config);
  } else {
    TraceMessage(kTraceError, L"IME service start failed.");
  }
  running_ = started;
  return started;
}

void CIMEService::Stop() {
  if (running_ == 1) {
    PostCommand(IME_CloseCtlDev);
    PostCommand(IME_CloseMicDev);
    PostCommand(IME_DestroyCtlDev);
    PostCommand(IME_DestroyMicDev);
    PostCommand(kReleaseSpeech);
    queue_.Stop();
  }
  if (std::shared_ptr<CProcessor> processor = std::atomic_exchange(&processor_, {})) {
    processor->Stop();
  }
  running_ = 0;
}

void CIMEService::PostCommand(unsigned command) { queue_.Post(command, &kDummyPayload, 1); }

std::wstring CIMEService::SettingsFolder() const {
  return settingsFolder_.empty() ? GetAppDataFolder() : settingsFolder_;
}

void CIMEService::OnQueueMessage(unsigned id, const void*, unsigned) {
  TraceMessage(kTraceDebug, L"CIMEService::OnQueueMessage:[%d] %s", id,
               ServiceCommandName(static_cast<int>(id)).c_str());
  switch (id) {
    case 0: InitModules(); break;
    case IME_Config: LoadConfig(); break;
    case IME_SwitchAIMode: SwitchAIMode(); break;
    case IME_SwitchSRMode: SwitchSRMode(); break;
    case 4: SetIndicator(true); break;
    case 5: SetIndicator(false); break;
    case IME_CreateSR: CreateProcessor(); break;
    case IME_CreateCtlDev: CreateCtlDevice(); break;
    case IME_DestroyCtlDev: ctlDevice_.reset(); break;
    case IME_CreateMicDev: CreateMicDevice(); break;
    case IME_DestroyMicDev: micDevice_.reset(); break;
    case IME_OpenCtlDev: OpenCtlDevice(); break;
    case IME_CloseCtlDev: CloseCtlDevice(); break;
    case IME_OpenMicDev: OpenMicDevice(); break;
    case IME_CloseMicDev: CloseMicDevice(); break;
    case IME_SystemCheck: SystemCheck(); break;
    case kReleaseSpeech: ReleaseSpeech(); break;
    default:
      TraceMessage(kTraceError, L"CIMEService Unknown queue event identifier:%d.", id);
  }
}

void CIMEService::InitModules() {
  if (FAILED(speech_.Create(this))) TraceMessage(kTraceError, L"Fail to init TTS module.");
  if (!commands_.LoadFrom(SettingsFolder())) {
    TraceMessage(kTraceError, L"Fail to init AIHelper module.");
  }
}

void CIMEService::ReleaseSpeech() {
  std::lock_guard<std::mutex> lock(speechLock_);
  speech_.Destroy();
}

void CIMEService::LoadConfig() {
  const std::wstring path = SettingsFolder() + L"\\" + kSettingsFileName;
  // The defaults go over what a failed parse has read.
  if (!LoadProtoFile(path, &settings_, kProtoFileText)) {
    TraceMessage(kTraceError, L"CIMEService Fail to load config from %s. Use default config.",
                 kSettingsFileName);
    SetDefaultConfig(&settings_);
  }
  TraceMessage(kTraceInfo, L"Config Description:\r\n%s", DescribeConfig().c_str());
  PostCommand(IME_CreateSR);
  PostCommand(IME_CreateMicDev);
  PostCommand(IME_CreateCtlDev);
  ShowTranslatePair();
}

void CIMEService::ShowTranslatePair() {
  ORVANE::Config::StableConfigPb stable;
  LoadStableConfig(&stable);
  const auto& translate = settings_.translate_config();
  const std::wstring source = CTessikService::StringToWString(
      FindTranslateSets(stable, translate.src_key()).trans_name());
  const std::wstring target = CTessikService::StringToWString(
      FindTranslateSets(stable, translate.dst_key()).trans_name());
  owner_->SetTranslateStatus(translate.b_translate() ? 1 : 0, source.c_str(), target.c_str());
}

std::wstring CIMEService::DescribeConfig() const {
  const std::wstring stars = std::wstring(44, L'*') + L"\r\n";
  const int ctlMode = settings_.ctl_config().ctl_mode();
  const int micMode = settings_.mic_config().mic_mode();
  const wchar_t* ctlName = ctlMode == 0 ? L"HID" : ctlMode == 1 ? L"BLE" : L"";
  const wchar_t* micName = micMode == 0   ? L"General AudioIn Device"
                           : micMode == 1 ? L"BLE AudioIn Device"
                                          : L"";
  return stars + L"Ctl Device: " + ctlName + L"\r\n" + stars +
         DescriptorLines(settings_.ctl_config().device_descriptor()) + stars + L"Mic Device: " +
         micName + L"\r\n" + stars + DescriptorLines(settings_.mic_config().device_descriptor());
}

void CIMEService::SwitchAIMode() {
  greetingPending_ = 1;
  aiMode_ = 1;
  PostToOwner(WM_IME_AI_MODE, 1);
  SpeakReply(L"请问有什么可以帮您？");
}

void CIMEService::SwitchSRMode() {
  PostCommand(IME_CloseMicDev);
  aiMode_ = 0;
  PostToOwner(WM_IME_AI_MODE, 0);
  Speak(L"");  // cuts off a reply being spoken
}

void CIMEService::SetIndicator(bool on) {
  if (!ctlDevice_) return;
  const std::vector<unsigned char> report = IndicatorReport(ctlDevice_->GetType(), on);
  ctlDevice_->Write(report.data(), static_cast<unsigned long>(report.size()));
}

void CIMEService::CreateProcessor() {
  if (std::shared_ptr<CProcessor> old = std::atomic_exchange(&processor_, {})) old->Stop();
  auto processor = std::make_shared<CISRProcessor>();
  processor->Configure(settings_);
  processor->SetListener(this);
  std::atomic_store(&processor_, std::shared_ptr<CProcessor>(processor));
  if (processor->Start() == 1) {
    TraceMessage(kTraceInfo, L"CIMEService Processor start successfully");
  } else {
    TraceMessage(kTraceInfo, L"CIMEService Fail to start processor");
  }
}

void CIMEService::CreateCtlDevice() {
  if (ctlDevice_) {
    TraceMessage(kTraceError, L"CIMEService Ctl device has been created.");
    return;
  }
  TraceMessage(kTraceDebug, L"CIMEService Create ctl device.");
  const auto& config = settings_.ctl_config();
  if (config.ctl_mode() == ORVANE::Config::CtlMode_HID) {
    auto device = std::make_unique<CHIDDevice>();
    device->SetDescriptor(&config.device_descriptor());
    ctlDevice_ = std::move(device);
  } else if (config.ctl_mode() == ORVANE::Config::CtlMode_BLE) {
    ctlDevice_ = MakeBleDevice(DT_Ctl_BLE, kGattControl, config.device_descriptor());
  } else {
    TraceMessage(kTraceError, L"CIMEService Invalid device type");
    return;
  }
  BindCallbacks(ctlDevice_.get());
  PostCommand(IME_OpenCtlDev);
}

void CIMEService::CreateMicDevice() {
  if (micDevice_) {
    TraceMessage(kTraceError, L"CIMEService Mic device has been created.");
    return;
  }
  TraceMessage(kTraceDebug, L"CIMEService Create mic device.");
  const auto& config = settings_.mic_config();
  if (config.mic_mode() == ORVANE::Config::MicMode_Gen) {
    micDevice_ = std::make_unique<CAudioInDevice>(&settings_, kMicBufferCount, kMicFramesPerBuffer);
  } else if (config.mic_mode() == ORVANE::Config::MicMode_BLE) {
    micDevice_ = MakeBleDevice(DT_Mic_BLE, kGattMicrophone, config.device_descriptor());
    bleAudioCount_ = 0;
  } else {
    TraceMessage(kTraceError, L"CIMEService Invalid device type");
    return;
  }
  BindCallbacks(micDevice_.get());
}

void CIMEService::BindCallbacks(CDevice* device) {
  device->SetOpenedCallback([this](CDevice* opened) { return OnDevOpened(opened); });
  device->SetClosedCallback([this](CDevice* closed) { OnDevClosed(closed); });
  device->SetDataCallback([this](CDevice* source, unsigned char* bytes, unsigned long size) {
    return OnDevData(source, bytes, size);
  });
}

void CIMEService::OpenCtlDevice() {
  if (!ctlDevice_) {
    TraceMessage(kTraceError, L"CIMEService The ctl device has not been created.");
    return;
  }
  TraceMessage(kTraceDebug, L"CIMEService Open ctl device.");
  if (ctlDevice_->Open() == 0) TraceMessage(kTraceError, L"CIMEService Open ctl device fail.");
}

void CIMEService::CloseCtlDevice() {
  if (!ctlDevice_) return;
  TraceMessage(kTraceDebug, L"CIMEService Close ctl device.");
  ctlDevice_->Close();
}

void CIMEService::OpenMicDevice() {
  if (!micDevice_) {
    TraceMessage(kTraceError, L"CIMEService The mic device has not been created.");
    return;
  }
  TraceMessage(kTraceDebug, L"CIMEService Open mic device.");
  if (micDevice_->Open() == 0) TraceMessage(kTraceError, L"CIMEService Open mic device fail.");
}

void CIMEService::CloseMicDevice() {
  if (!micDevice_) return;
  TraceMessage(kTraceDebug, L"CIMEService Close mic device.");
  TraceMessage(kTraceDebug, L"CIMEService Close mic device");
  micDevice_->Close();
}

int CIMEService::_CheckNetWork() { return networkCheck_(); }

void CIMEService::SystemCheck() {
  const int controlMissing = ctlDevice_ && ctlDevice_->Check() == 0 ? kControlMissing : 0;
  const int status = _CheckNetWork() | controlMissing;
  TraceMessage(kTraceDebug, L"CIMEService System check finish. CTLDevice:%s MicDevice:Skip NetWork:%s",
               status & kControlMissing ? L"Down" : L"OK  ",
               status & kNetworkDown ? L"Down" : L"OK  ");
  if (status == systemStatus_) return;
  if (systemStatus_ == 0) {
    PostCommand(IME_CloseCtlDev);
    PostCommand(IME_CloseMicDev);
  } else if (status == 0) {
    PostCommand(IME_OpenCtlDev);
  }
  systemStatus_ = status;
  const wchar_t* text = status & kNetworkDown ? L"网络断开" : L"已联网";
  owner_->SetNetworkStatus(status == 0 ? 1 : 0, text);
}

void CIMEService::PostToOwner(UINT message, WPARAM wparam) {
  const HWND window = owner_->GetMessageWindow();
  if (window != nullptr) PostMessageW(window, message, wparam, 0);
}

void CIMEService::PostText(UINT message, WPARAM wparam, const std::wstring& text) {
  PostedObjects::Post(owner_->GetMessageWindow(), message, wparam,
                      std::make_unique<CString>(text.c_str(), static_cast<int>(text.size())));
}
