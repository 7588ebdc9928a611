// A SAPI voice for tests: records what it is asked and, like SAPI, reports the end of each
// spoken text from another thread through the notify sink.
#pragma once

#include <windows.h>

#include <sapi.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// An event parameter object that counts its releases.
class CountedObject : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return ++releases; }
  std::atomic<ULONG> releases{0};
};

class FakeSpVoice : public ISpVoice {
 public:
  // Results of the calls the voice can be made to fail.
  HRESULT interestResult = S_OK;
  HRESULT notifySinkResult = S_OK;
  HRESULT speakResult = S_OK;

  ~FakeSpVoice() { JoinNotifications(); }

  // Waits until every end notification has been delivered.
  void JoinNotifications() {
    std::vector<std::thread> threads;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      threads.swap(notifiers_);
    }
    for (std::thread& thread : threads) thread.join();
  }

  std::vector<std::wstring> Spoken() {
    std::lock_guard<std::mutex> lock(mutex_);
    return spoken_;
  }
  ISpNotifySink* Sink() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sink_;
  }
  ULONG References() const { return references_; }

  USHORT volume = 0xFFFF;
  LONG rate = 99;
  ULONGLONG interest = 0;
  ULONGLONG queuedInterest = 0;
  DWORD lastFlags = 0;
  CountedObject eventParameter;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISpVoice)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }

  // ISpNotifySource
  HRESULT STDMETHODCALLTYPE SetNotifySink(ISpNotifySink* sink) override {
    if (FAILED(notifySinkResult)) return notifySinkResult;
    std::lock_guard<std::mutex> lock(mutex_);
    sink_ = sink;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetNotifyWindowMessage(HWND, UINT, WPARAM, LPARAM) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetNotifyCallbackFunction(SPNOTIFYCALLBACK*, WPARAM, LPARAM) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetNotifyCallbackInterface(ISpNotifyCallback*, WPARAM,
                                                       LPARAM) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetNotifyWin32Event() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE WaitForNotifyEvent(DWORD) override { return E_NOTIMPL; }
  HANDLE STDMETHODCALLTYPE GetNotifyEventHandle() override { return nullptr; }

  // ISpEventSource
  HRESULT STDMETHODCALLTYPE SetInterest(ULONGLONG events, ULONGLONG queued) override {
    interest = events;
    queuedInterest = queued;
    return interestResult;
  }
  HRESULT STDMETHODCALLTYPE GetEvents(ULONG count, SPEVENT* events, ULONG* fetched) override {
    std::lock_guard<std::mutex> lock(mutex_);
    ULONG given = 0;
    for (; given < count && pendingEvents_ > 0; ++given, --pendingEvents_) {
      events[given] = SPEVENT{};
      events[given].eEventId = SPEI_END_INPUT_STREAM;
      events[given].elParamType = SPET_LPARAM_IS_OBJECT;
      events[given].lParam = reinterpret_cast<LPARAM>(&eventParameter);
    }
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE GetInfo(SPEVENTSOURCEINFO*) override { return E_NOTIMPL; }

  // ISpVoice
  HRESULT STDMETHODCALLTYPE Speak(LPCWSTR text, DWORD flags, ULONG*) override {
    if (FAILED(speakResult)) return speakResult;
    std::lock_guard<std::mutex> lock(mutex_);
    spoken_.push_back(text != nullptr ? text : L"");
    lastFlags = flags;
    ++pendingEvents_;
    if (sink_ != nullptr) notifiers_.emplace_back([sink = sink_] { sink->Notify(); });
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetVolume(USHORT value) override {
    volume = value;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetRate(LONG value) override {
    rate = value;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetOutput(IUnknown*, WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOutputObjectToken(ISpObjectToken**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOutputStream(ISpStreamFormat**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Pause() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Resume() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetVoice(ISpObjectToken*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVoice(ISpObjectToken**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SpeakStream(IStream*, DWORD, ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetStatus(SPVOICESTATUS*, LPWSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Skip(LPCWSTR, LONG, ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetPriority(SPVPRIORITY) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPriority(SPVPRIORITY*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAlertBoundary(SPEVENTENUM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAlertBoundary(SPEVENTENUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRate(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVolume(USHORT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE WaitUntilDone(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetSyncSpeakTimeout(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSyncSpeakTimeout(ULONG*) override { return E_NOTIMPL; }
  HANDLE STDMETHODCALLTYPE SpeakCompleteEvent() override { return nullptr; }
  HRESULT STDMETHODCALLTYPE IsUISupported(LPCWSTR, void*, ULONG, WINBOOL*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DisplayUI(HWND, LPCWSTR, LPCWSTR, void*, ULONG) override {
    return E_NOTIMPL;
  }

 private:
  std::mutex mutex_;
  std::vector<std::wstring> spoken_;
  ISpNotifySink* sink_ = nullptr;
  int pendingEvents_ = 0;
  std::vector<std::thread> notifiers_;
  std::atomic<ULONG> references_{1};
};
