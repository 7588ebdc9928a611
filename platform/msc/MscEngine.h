// The strict state machine behind the SDK stand-in's entry points (not thread-safe).
#pragma once

#include <deque>
#include <list>
#include <memory>
#include <string>

#include "MscScript.h"

class MscEngine {
 public:
  int Login(const char* params);
  int Logout();
  const char* SessionBegin(const char* params, int* errorCode);
  int SessionEnd(const char* sessionId);
  int AudioWrite(const char* sessionId, const void* data, unsigned int length, int audioStatus,
                 int* endpointStatus, int* recognitionStatus);
  const char* GetResult(const char* sessionId, int* recognitionStatus, int* errorCode);

 private:
  struct Session {
    const char* id = nullptr;
    const MscSessionPlan* plan = nullptr;
    int audioWrites = 0;
    int resultCalls = 0;
    bool lastBlockWritten = false;
    unsigned long bytes = 0;
    unsigned long crc = 0;
    size_t partialsGiven = 0;
    std::deque<std::string> results;  // waiting to be fetched
    std::string handedOut;            // the text returned by the last GetResult
  };

  bool IsOpen(const char* sessionId) const;
  int CheckAudioStatus(int audioStatus) const;
  void TakeAudio(const void* data, unsigned int length);
  void QueueFinals();
  bool IsComplete() const;
  int StatusAfterWrite() const;

  bool loggedIn_ = false;
  MscScript script_;
  int sessionsBegun_ = 0;
  std::unique_ptr<Session> session_;
  std::list<std::string> issuedIds_;  // never freed: old identifiers stay readable
};
