// What the SDK stand-in answers: a script read from a JSON file, or echo mode without one.
#pragma once

#include <string>
#include <vector>

// A call of the session that fails: the at-th call (1-based, counted per session) of the
// named function returns code.
struct MscScriptedError {
  std::string call;
  int at = 0;
  int code = 0;
};

// A result handed out once the session has received at least afterBytes audio bytes.
struct MscPartialResult {
  unsigned long afterBytes = 0;
  std::string text;
};

struct MscSessionPlan {
  bool echo = true;  // the final result is the digest of the audio
  std::vector<MscPartialResult> partials;
  long long endOfSpeechAfterBytes = -1;  // -1: the SDK never hears the end of speech
  std::vector<std::string> finals;        // handed out after the last block
  bool neverCompletes = false;            // the result never becomes complete
  std::vector<MscScriptedError> errors;

  // The scripted error code of the count-th call of the function, 0 when none.
  int ErrorAt(const std::string& call, int count) const;
};

// File format, every member optional:
// { "login_error": int,
//   "sessions": [ { "partials": [ { "after_bytes": int, "result": text } ],
//                   "end_of_speech_after_bytes": int, "finals": [ text ],
//                   "never_completes": bool,
//                   "errors": [ { "call": name, "at": int, "code": int } ] } ] }
// The n-th begin after login (failed ones included) follows sessions[n], the last entry
// once they run out; without "sessions" every session echoes.
struct MscScript {
  int loginError = 0;
  std::vector<MscSessionPlan> sessions;

  const MscSessionPlan& PlanOfSession(int index) const;
};

// False with a reason when the text is not a script of the format above.
bool ParseMscScript(const std::string& text, MscScript& script, std::string& error);

// The script file: the one named by MSC_SCRIPT_VARIABLE, else MSC_SCRIPT_FILE_NAME in the
// login parameters' work_dir when it exists; empty when there is none.
std::wstring FindMscScriptFile(const std::string& loginParams);
