// The service's event side: device callbacks, the button, the recogniser and the voice.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "ControlReports.h"
#include "IMEService.h"
#include "ImaAdpcm.h"
#include "NameTables.h"
#include "PrintableText.h"
#include "TraceMessage.h"

namespace {

// Microphone buffers since program start; every fifth one writes the periodic report.
std::atomic<uint32_t> micPacketCount{0};
constexpr uint32_t kPeriodicReportEvery = 5;

constexpr unsigned long kBleFlushAbove = 2048;

std::wstring HexDump(const unsigned char* bytes, unsigned long size) {
  std::wstring dump;
  wchar_t part[8];
  for (unsigned long i = 0; i < size; ++i) {
    _snwprintf(part, 8, L"%#02x ", bytes[i]);
    part[7] = L'\0';
    dump += part;
  }
  return dump;
}

}  // namespace

int CIMEService::OnDevOpened(CDevice* device) {
  const int type = device->GetType();
  if (type == DT_Mic_General || type == DT_Mic_BLE) {
    if (std::shared_ptr<CProcessor> processor = Processor()) processor->BeginSession();
  }
  TraceMessage(kTraceInfo, L"CIMEService OnDevOpened DevType:%s", DeviceTypeName(type).c_str());
  return 1;
}

void CIMEService::OnDevClosed(CDevice* device) {
  const int type = device->GetType();
  TraceMessage(kTraceDebug, L"CIMEService OnDevClosed DevType:%s", DeviceTypeName(type).c_str());
  if (type != DT_Mic_General && type != DT_Mic_BLE) return;
  if (type == DT_Mic_BLE) FlushBleAudio();
  if (std::shared_ptr<CProcessor> processor = Processor()) processor->EndSession(0);
}

int CIMEService::OnDevData(CDevice* device, unsigned char* bytes, unsigned long size) {
  const int type = device->GetType();
  TraceMessage(kTraceDebug, L"CIMEService OnDevData DevType:%s Size:%d",
               DeviceTypeName(type).c_str(), static_cast<int>(size));
  switch (type) {
    case DT_Mic_General:
      OnGeneralMicData(bytes, size);
      return 1;
    case DT_Mic_BLE:
      OnBleMicData(bytes, size);
      return 1;
    case DT_Ctl_HID:
    case DT_Ctl_BLE:
      return OnControlData(type, bytes, size);
    default:
      return 1;
  }
}

void CIMEService::OnGeneralMicData(unsigned char* bytes, unsigned long size) {
  owner_->AddSamples(bytes, size);
  if (std::shared_ptr<CProcessor> processor = Processor()) processor->WriteAudio(bytes, size);
  if (++micPacketCount % kPeriodicReportEvery == 0 && ctlDevice_) {
    const std::vector<unsigned char> report = PeriodicReport();
    ctlDevice_->Write(report.data(), static_cast<unsigned long>(report.size()));
  }
}

void CIMEService::OnBleMicData(unsigned char* bytes, unsigned long size) {
  // Signed: packets shorter than the header hold no audio.
  const long pcmLength = static_cast<long>(size) * 4 - 24;
  if (pcmLength <= 0) return;
  std::vector<int16_t> pcm(static_cast<size_t>(pcmLength) / 2);
  Decode(bytes + 2, pcm.data(), static_cast<int>(pcm.size()));
  const auto* pcmBytes = reinterpret_cast<const unsigned char*>(pcm.data());
  owner_->AddSamples(pcmBytes, static_cast<unsigned long>(pcmLength));
  const unsigned long taken =
      std::min<unsigned long>(pcmLength, sizeof bleAudio_ - bleAudioCount_);
  std::copy(pcmBytes, pcmBytes + taken, bleAudio_ + bleAudioCount_);
  bleAudioCount_ += taken;
  if (bleAudioCount_ > kBleFlushAbove) FlushBleAudio();
}

void CIMEService::FlushBleAudio() {
  if (bleAudioCount_ == 0) return;
  if (std::shared_ptr<CProcessor> processor = Processor()) {
    processor->WriteAudio(bleAudio_, bleAudioCount_);
  }
  bleAudioCount_ = 0;
}

int CIMEService::OnControlData(int type, const unsigned char* bytes, unsigned long size) {
  const bool hid = type == DT_Ctl_HID;
  TraceMessage(kTraceDebug, hid ? L"HID data[%d]:%s" : L"BLE Data[%d]:%s", static_cast<int>(size),
               HexDump(bytes, size).c_str());
  const unsigned long minimum = ButtonReportLength(type);
  if (size < minimum) {
    TraceMessage(kTraceError,
                 hid ? L"HID Invalid data len：%d. Min length required: %d"
                     : L"BLE Invalid data len：%d. Min length required: %d",
                 static_cast<int>(size), static_cast<int>(minimum));
    return 0;
  }
  switch (ReadButtonReport(type, bytes)) {
    case ButtonReport::Pressed:
      ButtonPress();
      break;
    case ButtonReport::Released:
      if (aiMode_ == 0) PostCommand(IME_CloseMicDev);
      break;
    case ButtonReport::Unknown:
      TraceMessage(kTraceError, hid ? L"HID Unknown CMD" : L"BLE Unknown CMD");
      break;
  }
  return 1;
}

void CIMEService::ButtonPress() {
  const DWORD now = clock_();
  const DWORD sinceLast = now - lastPressTime_;  // unsigned: safe across the tick wrap-around
  if (sinceLast >= kDoublePressMs) {
    lastPressTime_ = now;
    if (aiMode_ == 0) PostCommand(IME_OpenMicDev);
    return;
  }
  PostCommand(IME_CloseMicDev);
  PostCommand(IME_SwitchAIMode);
}

void CIMEService::OnSessionBegin(int ok) {
  TraceMessage(kTraceInfo, L"OnSessionBegin:%d", ok);
  PostToOwner(WM_IME_SESSION_BEGIN, 0);
  if (ok) return;
  // No end follows a failed begin: end here, so the panel does not stay in recognition.
  EndListening();
  PostToOwner(WM_IME_SESSION_END, 0);
}

void CIMEService::OnSessionResult(const char* utf8Json) {
  TraceMessage(kTraceDebug, L"CIMEService Result text :%s", Utf8ToWide(utf8Json).c_str());
  if (!assembler_.Parse(utf8Json)) {
    TraceMessage(kTraceError, L"CIMEService Ayalyse result fail :%s", Utf8ToWide(utf8Json).c_str());
    return;
  }
  const std::wstring text = Utf8ToWide(assembler_.Text());
  TraceMessage(kTraceDebug, L"OnSessionResult:%s", text.c_str());
  PostText(WM_IME_RESULT_TEXT, 0, text);
}

void CIMEService::OnSessionEnd(int ok) {
  TraceMessage(kTraceInfo, L"OnSessionEnd:%d", ok);
  EndListening();
  const std::string utf8 = assembler_.Text();
  const std::wstring text = Utf8ToWide(utf8);
  TraceMessage(kTraceDebug, L"OnSessionResult:%s", text.c_str());
  // Counted as typed: control characters never reach the user's window.
  const std::wstring printable = PrintableText(text);
  PostText(WM_IME_RESULT_TEXT, printable.size(), printable);
  if (!text.empty()) {
    if (aiMode_ == 1) {
      RunSpokenCommand(text);
    } else {
      TypeText(utf8, text);
    }
  }
  assembler_.Clear();
  PostToOwner(WM_IME_SESSION_END, 0);
}

void CIMEService::EndListening() {
  PostCommand(IME_CloseMicDev);
  if (aiMode_ == 1) PostCommand(5);
}

void CIMEService::RunSpokenCommand(const std::wstring& text) {
  AICommand command;
  if (!commands_.Match(text, command)) {
    SpeakReply(L"还不支持这样的指令");
    return;
  }
  SpeakReply((command.action() ? L"为您" : L"暂时无法为您") + command.name);
}

void CIMEService::TypeText(const std::string& utf8, std::wstring text) {
  const auto& translate = settings_.translate_config();
  if (!utf8.empty() && translate.b_translate()) {
    translator_.SetLanguages(translate.src_key(), translate.dst_key());
    std::string translation;
    if (translator_.Translate(utf8, translation)) {
      text = Utf8ToWide(translation);
      TraceMessage(kTraceDebug, L"DoTranslate:%s", text.c_str());
    }
  }
  text = PrintableText(text);
  if (settings_.sr_config().b_append_enter()) text += L"\r\n";
  if (SendText(text.c_str())) {
    TraceMessage(kTraceDebug, L"CIMEService Send text successfully");
  } else {
    TraceMessage(kTraceDebug, L"CIMEService Fail to send text, Context:[%s]", text.c_str());
  }
}

void CIMEService::SpeakReply(const std::wstring& text) {
  PostText(WM_IME_REPLY, 0, text);
  // Without an end-of-speech report the greeting's end step would never run.
  if (!Speak(text)) OnSpeakEnd();
}

bool CIMEService::Speak(const std::wstring& text) {
  std::lock_guard<std::mutex> lock(speechLock_);
  return speech_.Speak(text);
}

void CIMEService::OnSpeakEnd() {
  if (aiMode_ == 1 && greetingPending_.exchange(0) == 1) {
    PostCommand(4);
    PostCommand(IME_OpenMicDev);
  }
}
