// The recognition engine: sessions fed with 16 kHz 16-bit mono audio.
#pragma once

#include "SpeechRecogniseInterface.h"
#include "config.pb.h"

class CProcessor {
 public:
  virtual ~CProcessor() = default;

  // 1 = running and logged in.
  virtual int Start() = 0;
  virtual void Stop() = 0;
  // 1 = the session parameters were taken from the settings.
  virtual int Configure(const ORVANE::Config::ConfigPb& settings) = 0;
  // The three session calls may come from any thread; they only queue work.
  virtual void BeginSession() = 0;
  virtual void WriteAudio(const void* bytes, unsigned long length) = 0;
  virtual void EndSession(int reason) = 0;
  // Not owned; set before Start.
  virtual void SetListener(ISpeechRecogniseInterface* listener) = 0;
};
