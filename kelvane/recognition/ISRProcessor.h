// The recognition processor on the speech SDK: session calls run on its own queue thread.
#pragma once

#include <chrono>

#include "Processor.h"
#include "brondel/Brondel.h"

class CISRProcessor : public CProcessor, public IBrondelInterface {
 public:
  // Queue message ids.
  enum QueueId : unsigned { QID_SessionBegin = 0, QID_SessionData = 1, QID_SessionEnd = 2 };

  // How long the end of a session waits for the SDK's complete result.
  static constexpr std::chrono::milliseconds kDefaultFinalResultTimeout{15000};

  CISRProcessor();

  int Start() override;
  void Stop() override;
  int Configure(const ORVANE::Config::ConfigPb& settings) override;
  void BeginSession() override;
  void WriteAudio(const void* bytes, unsigned long length) override;
  void EndSession(int reason) override;
  void SetListener(ISpeechRecogniseInterface* listener) override;

  void SetFinalResultTimeout(std::chrono::milliseconds timeout) { finalResultTimeout_ = timeout; }

  void OnQueueMessage(unsigned id, const void* data, unsigned length) override;

 private:
  void OpenSession();
  void WriteSessionAudio(const void* bytes, unsigned length);
  void FinishSession();
  // Polls the final results; false when the session was closed on an error or time-out.
  bool CollectFinalResults();
  // Ends the SDK session with the hint and reports the end to the listener.
  void CloseSession(const char* hint, int ok);
  void ReportResult(const char* result);

  int running_ = 0;
  const char* session_ = nullptr;  // owned by the SDK
  int endpointStatus_ = -1;
  int recognitionStatus_ = -1;
  int audioStatus_ = -1;
  char sessionParameters_[1024];
  ISpeechRecogniseInterface* listener_ = nullptr;
  std::chrono::milliseconds finalResultTimeout_ = kDefaultFinalResultTimeout;
  CBrondel queue_;
};
