// The listener of a recognition processor; called on the processor's queue thread.
#pragma once

class ISpeechRecogniseInterface {
 public:
  // ok: 1 when the session began, 0 when it failed to begin (no end follows).
  virtual void OnSessionBegin(int ok) = 0;
  // ok: 1 when the session's result is complete, 0 after an error.
  virtual void OnSessionEnd(int ok) = 0;
  // One UTF-8 JSON result of the running session.
  virtual void OnSessionResult(const char* utf8Json) = 0;

 protected:
  ~ISpeechRecogniseInterface() = default;
};
