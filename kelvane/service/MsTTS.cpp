#include "MsTTS.h"

#include "TraceMessage.h"

namespace {

constexpr ULONGLONG kEndOfStreamInterest = SPFEI(SPEI_END_INPUT_STREAM);
constexpr DWORD kSpeakFlags = SPF_ASYNC | SPF_PURGEBEFORESPEAK;

HRESULT CreateSystemVoice(ISpVoice** voice) {
  return CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                          reinterpret_cast<void**>(voice));
}

// Frees what an event's parameter holds.
void ClearEvent(SPEVENT& event) {
  switch (event.elParamType) {
    case SPET_LPARAM_IS_POINTER:
    case SPET_LPARAM_IS_STRING:
      CoTaskMemFree(reinterpret_cast<void*>(event.lParam));
      break;
    case SPET_LPARAM_IS_TOKEN:
    case SPET_LPARAM_IS_OBJECT:
      if (event.lParam != 0) reinterpret_cast<IUnknown*>(event.lParam)->Release();
      break;
    default:
      break;
  }
  event = SPEVENT{};
}

}  // namespace

CMsTTS::CMsTTS() : voiceFactory_(&CreateSystemVoice) {}

CMsTTS::~CMsTTS() { Destroy(); }

void CMsTTS::SetVoiceFactory(VoiceFactory factory) { voiceFactory_ = std::move(factory); }

HRESULT CMsTTS::Create(ITTSEventInterface* sink) {
  if (SUCCEEDED(CoInitialize(nullptr))) comThread_ = GetCurrentThreadId();
  const HRESULT hr = voiceFactory_(&voice_);
  if (FAILED(hr) || voice_ == nullptr) {
    TraceMessage(kTraceError, L"Failed to create instance of ISpVoice, Error:%d", GetLastError());
    voice_ = nullptr;
    return FAILED(hr) ? hr : E_POINTER;
  }
  TraceMessage(kTraceInfo, L"Create instance of ISpVoice...OK");
  created_ = true;
  voice_->SetVolume(100);
  voice_->SetRate(0);
  if (sink != nullptr) SetUpEndNotification(sink);
  return hr;
}

void CMsTTS::SetUpEndNotification(ITTSEventInterface* sink) {
  sink_ = sink;
  HRESULT hr = voice_->SetInterest(kEndOfStreamInterest, kEndOfStreamInterest);
  if (SUCCEEDED(hr)) hr = voice_->SetNotifySink(this);
  notifying_ = SUCCEEDED(hr);
  if (!notifying_) {
    TraceMessage(kTraceError, L"CMsTTS Fail to set up the end-of-speech notification, hr=%#x",
                 static_cast<unsigned>(hr));
  }
}

bool CMsTTS::Speak(const std::wstring& text) {
  if (!created_) return false;
  const HRESULT hr = voice_->Speak(text.c_str(), kSpeakFlags, nullptr);
  if (FAILED(hr)) {
    TraceMessage(kTraceDebug, L"CMsTTS Speak fail, hr=%#x", static_cast<unsigned>(hr));
    return false;
  }
  TraceMessage(kTraceDebug, L"CMsTTS Speak successfully");
  return notifying_;
}

void CMsTTS::Destroy() {
  if (voice_ != nullptr) {
    if (notifying_) voice_->SetNotifySink(nullptr);
    voice_->Release();
    voice_ = nullptr;
  }
  created_ = false;
  notifying_ = false;
  sink_ = nullptr;
  if (comThread_ != 0 && comThread_ == GetCurrentThreadId()) {
    CoUninitialize();
    comThread_ = 0;
  }
}

HRESULT STDMETHODCALLTYPE CMsTTS::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISpNotifySink)) {
    *object = static_cast<ISpNotifySink*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CMsTTS::AddRef() { return 0; }

ULONG STDMETHODCALLTYPE CMsTTS::Release() { return 0; }

HRESULT STDMETHODCALLTYPE CMsTTS::Notify() {
  ISpVoice* voice = voice_;
  if (voice == nullptr) return S_OK;
  SPEVENT event{};
  while (voice->GetEvents(1, &event, nullptr) == S_OK) ClearEvent(event);
  if (sink_ != nullptr) sink_->OnSpeakEnd();
  return S_OK;
}
