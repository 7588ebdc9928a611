// Speech output through the system's SAPI 5 voice.
#pragma once

#include <windows.h>

#include <sapi.h>

#include <functional>
#include <string>

#include "TTSEventInterface.h"

class CMsTTS : public ISpNotifySink {
 public:
  // Makes the voice; the default creates the system's SAPI voice.
  using VoiceFactory = std::function<HRESULT(ISpVoice** voice)>;

  CMsTTS();
  // Releases a voice still held (Destroy).
  virtual ~CMsTTS();
  CMsTTS(const CMsTTS&) = delete;
  CMsTTS& operator=(const CMsTTS&) = delete;

  void SetVoiceFactory(VoiceFactory factory);

  // Joins COM on the calling thread and creates the voice; with a sink, asks for the end of
  // each spoken text. Returns the creation's HRESULT.
  HRESULT Create(ITTSEventInterface* sink);
  // Speaks asynchronously, cutting off what is being said (an empty text only cuts off).
  // True exactly when the sink will be told of the end; false when there is no voice, no
  // end notification was set up, or the voice refused the text.
  bool Speak(const std::wstring& text);
  bool IsCreated() const { return created_; }
  // Detaches the notification and releases the voice; call on the thread that created it.
  void Destroy();

  // ISpNotifySink: the object lives inside its owner, so AddRef and Release do nothing.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Notify() override;

 private:
  void SetUpEndNotification(ITTSEventInterface* sink);

  ISpVoice* voice_ = nullptr;
  bool created_ = false;
  ITTSEventInterface* sink_ = nullptr;
  bool notifying_ = false;    // the voice reports the end of each text to this object
  DWORD comThread_ = 0;       // the thread whose COM initialisation Destroy undoes; 0 if none
  VoiceFactory voiceFactory_;
};
