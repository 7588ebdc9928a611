// The IME service: one command queue that owns the devices, the recogniser, the translator,
// the speech output and the spoken-command table, and turns button presses into typed text.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "AIHelper.h"
#include "Device.h"
#include "IMEServiceOwner.h"
#include "MsTTS.h"
#include "NiuTranslator.h"
#include "Processor.h"
#include "ResultAssembler.h"
#include "SpeechRecogniseInterface.h"
#include "TTSEventInterface.h"
#include "brondel/Brondel.h"
#include "config.pb.h"

// Window messages posted to the owner.
constexpr UINT WM_IME_RESULT_TEXT = WM_USER + 2;  // wParam 0 = partial, else the final length
constexpr UINT WM_IME_SESSION_BEGIN = WM_USER + 3;
constexpr UINT WM_IME_SESSION_END = WM_USER + 4;
constexpr UINT WM_IME_REPLY = WM_USER + 5;
constexpr UINT WM_IME_AI_MODE = WM_USER + 7;  // wParam 1 = on, 0 = off

class CIMEService : public ISpeechRecogniseInterface,
                    public IBrondelInterface,
                    public ITTSEventInterface {
 public:
  using Clock = std::function<DWORD()>;
  // 0 when connected to the internet, 4 when not.
  using NetworkCheck = std::function<int()>;

  // Two presses closer than this switch AI mode on.
  static constexpr DWORD kDoublePressMs = 500;
  static constexpr wchar_t kSettingsFileName[] = L"imecfg.prototxt";

  // The owner is not owned and must outlive the service.
  explicit CIMEService(IIMEServiceOwner* owner);
  ~CIMEService();
  CIMEService(const CIMEService&) = delete;
  CIMEService& operator=(const CIMEService&) = delete;

  // Starts the queue and posts commands 0 and 1; 1 = started, 0 when already running or
  // the queue cannot start.
  int Start();
  // Closes and destroys the devices on the queue thread, stops the queue, then the recogniser.
  void Stop();
  // Posts one command (ServiceCommand) to the queue.
  void PostCommand(unsigned command);

  // The configured devices, one "\r\n"-ended line each.
  std::wstring DescribeConfig() const;
  int _CheckNetWork();

  // Device callbacks.
  int OnDevOpened(CDevice* device);
  void OnDevClosed(CDevice* device);
  int OnDevData(CDevice* device, unsigned char* bytes, unsigned long size);
  void ButtonPress();

  // ISpeechRecogniseInterface, on the recogniser's queue thread.
  void OnSessionBegin(int ok) override;
  void OnSessionEnd(int ok) override;
  void OnSessionResult(const char* utf8Json) override;
  // ITTSEventInterface, on the voice's event thread.
  void OnSpeakEnd() override;

  // Shows the reply and speaks it.
  void SpeakReply(const std::wstring& text);
  // Types the text into the window that has the keyboard focus, as Unicode key-down/key-up
  // pairs. False for a null text or when not every event was inserted.
  static bool SendText(const wchar_t* text);
  static std::wstring Utf8ToWide(const std::string& text);

  void OnQueueMessage(unsigned id, const void* data, unsigned length) override;

  // Set-up before Start. The settings folder holds imecfg.prototxt and AIAbilities.prototxt
  // (%APPDATA%\Tavri\Kelvane unless set).
  void SetSettingsFolder(const std::wstring& folder) { settingsFolder_ = folder; }
  void SetClock(Clock clock) { clock_ = std::move(clock); }
  void SetNetworkCheck(NetworkCheck check) { networkCheck_ = std::move(check); }
  CMsTTS& Speech() { return speech_; }
  CAIHelper& Commands() { return commands_; }
  CNiuTranslator& Translator() { return translator_; }

 private:
  std::wstring SettingsFolder() const;
  std::shared_ptr<CProcessor> Processor() const { return std::atomic_load(&processor_); }
  // A text for the owner travels as a heap CString; it is freed here when the post fails.
  void PostText(UINT message, WPARAM wparam, const std::wstring& text);
  void PostToOwner(UINT message, WPARAM wparam);
  // Speaks under the speech lock; true when the end will be reported.
  bool Speak(const std::wstring& text);

  // Commands.
  void InitModules();
  void LoadConfig();
  void ShowTranslatePair();
  void SwitchAIMode();
  void SwitchSRMode();
  void SetIndicator(bool on);
  void CreateProcessor();
  void CreateCtlDevice();
  void CreateMicDevice();
  void BindCallbacks(CDevice* device);
  void OpenCtlDevice();
  void CloseCtlDevice();
  void OpenMicDevice();
  void CloseMicDevice();
  void SystemCheck();
  void ReleaseSpeech();

  // Device events.
  void OnGeneralMicData(unsigned char* bytes, unsigned long size);
  void OnBleMicData(unsigned char* bytes, unsigned long size);
  int OnControlData(int type, const unsigned char* bytes, unsigned long size);
  void FlushBleAudio();

  // The end of a session: close the microphone and, in AI mode, the indicator.
  void EndListening();
  void RunSpokenCommand(const std::wstring& text);
  void TypeText(const std::string& utf8, std::wstring text);

  CResultAssembler assembler_;
  int running_ = 0;
  std::atomic<int> aiMode_{0};
  std::unique_ptr<CDevice> ctlDevice_;
  std::unique_ptr<CDevice> micDevice_;
  IIMEServiceOwner* owner_;
  CBrondel queue_;
  std::shared_ptr<CProcessor> processor_;
  CNiuTranslator translator_;
  CMsTTS speech_;
  std::mutex speechLock_;  // Speak (queue and recogniser threads) against the release
  std::atomic<int> greetingPending_{0};
  CAIHelper commands_;
  ORVANE::Config::ConfigPb settings_;
  int systemStatus_ = 255;
  std::atomic<DWORD> lastPressTime_{0};
  unsigned long bleAudioCount_ = 0;
  unsigned char bleAudio_[4096] = {};

  std::wstring settingsFolder_;
  Clock clock_;
  NetworkCheck networkCheck_;
};
