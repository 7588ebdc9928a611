#include "MscEngine.h"

#include <zlib.h>

#include <json/json.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "MscApi.h"

namespace {

std::string EchoResult(unsigned long bytes, unsigned long crc) {
  char digest[64];
  std::snprintf(digest, sizeof digest, MSC_ECHO_DIGEST_FORMAT, bytes, crc);
  Json::Value candidate;
  candidate["w"] = digest;
  candidate["sc"] = 0;
  Json::Value word;
  word["cw"].append(candidate);
  Json::Value result;
  result["sn"] = 1;
  result["ls"] = true;
  result["ws"].append(word);
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  return Json::writeString(writer, result);
}

int LoadScript(const std::string& loginParams, MscScript& script) {
  script = MscScript();
  const std::wstring path = FindMscScriptFile(loginParams);
  if (path.empty()) return MSC_OK;
  std::ifstream file{std::filesystem::path(path), std::ios::binary};
  std::stringstream text;
  text << file.rdbuf();
  std::string error;
  if (!file || !ParseMscScript(text.str(), script, error)) {
    script = MscScript();
    return MSC_ERROR_SCRIPT;
  }
  return MSC_OK;
}

}  // namespace

int MscEngine::Login(const char* params) {
  if (loggedIn_) return MSC_ERROR_ALREADY_LOGGED_IN;
  if (params == nullptr || std::string(params).find("appid") == std::string::npos) {
    return MSC_ERROR_INVALID_PARAM;
  }
  if (const int error = LoadScript(params, script_)) return error;
  if (script_.loginError != 0) return script_.loginError;
  loggedIn_ = true;
  sessionsBegun_ = 0;
  return MSC_OK;
}

int MscEngine::Logout() {
  if (!loggedIn_) return MSC_ERROR_NOT_LOGGED_IN;
  loggedIn_ = false;
  session_.reset();
  return MSC_OK;
}

const char* MscEngine::SessionBegin(const char* params, int* errorCode) {
  int error = MSC_OK;
  const MscSessionPlan& plan = script_.PlanOfSession(sessionsBegun_);
  if (errorCode == nullptr) return nullptr;
  if (!loggedIn_) {
    error = MSC_ERROR_NOT_LOGGED_IN;
  } else if (params == nullptr) {
    error = MSC_ERROR_INVALID_PARAM;
  } else if (session_) {
    error = MSC_ERROR_SESSION_BUSY;
  } else {
    error = plan.ErrorAt("QISRSessionBegin", 1);
    ++sessionsBegun_;  // a scripted failure uses up its plan too
  }
  *errorCode = error;
  if (error != MSC_OK) return nullptr;
  issuedIds_.push_back("msc-session-" + std::to_string(issuedIds_.size() + 1));
  session_ = std::make_unique<Session>();
  session_->id = issuedIds_.back().c_str();
  session_->plan = &plan;
  return session_->id;
}

int MscEngine::SessionEnd(const char* sessionId) {
  if (!loggedIn_) return MSC_ERROR_NOT_LOGGED_IN;
  if (!IsOpen(sessionId)) return MSC_ERROR_INVALID_SESSION;
  session_.reset();
  return MSC_OK;
}

int MscEngine::AudioWrite(const char* sessionId, const void* data, unsigned int length,
                          int audioStatus, int* endpointStatus, int* recognitionStatus) {
  if (!loggedIn_) return MSC_ERROR_NOT_LOGGED_IN;
  if (!IsOpen(sessionId)) return MSC_ERROR_INVALID_SESSION;
  if (endpointStatus == nullptr || recognitionStatus == nullptr ||
      (data == nullptr && length > 0)) {
    return MSC_ERROR_INVALID_PARAM;
  }
  if (const int error = CheckAudioStatus(audioStatus)) return error;
  if (const int error = session_->plan->ErrorAt("QISRAudioWrite", ++session_->audioWrites)) {
    return error;
  }
  TakeAudio(data, length);
  if (audioStatus == MSC_AUDIO_LAST) {
    session_->lastBlockWritten = true;
    QueueFinals();
  }
  const long long endAfter = session_->plan->endOfSpeechAfterBytes;
  *endpointStatus = endAfter >= 0 && session_->bytes >= static_cast<unsigned long long>(endAfter)
                        ? MSC_ENDPOINT_SPEECH_ENDED
                        : MSC_ENDPOINT_NONE;
  *recognitionStatus = StatusAfterWrite();
  return MSC_OK;
}

const char* MscEngine::GetResult(const char* sessionId, int* recognitionStatus, int* errorCode) {
  if (errorCode == nullptr) return nullptr;
  *errorCode = !loggedIn_                    ? MSC_ERROR_NOT_LOGGED_IN
               : !IsOpen(sessionId)          ? MSC_ERROR_INVALID_SESSION
               : recognitionStatus == nullptr ? MSC_ERROR_INVALID_PARAM
                                             : MSC_OK;
  if (*errorCode == MSC_OK) {
    *errorCode = session_->plan->ErrorAt("QISRGetResult", ++session_->resultCalls);
  }
  if (*errorCode != MSC_OK) return nullptr;
  const char* text = nullptr;
  if (!session_->results.empty()) {
    session_->handedOut = session_->results.front();
    session_->results.pop_front();
    text = session_->handedOut.c_str();
  }
  *recognitionStatus = session_->results.empty() && IsComplete() ? MSC_RESULT_COMPLETE
                       : session_->results.empty()                ? MSC_RESULT_PENDING
                                                                  : MSC_RESULT_READY;
  return text;
}

bool MscEngine::IsOpen(const char* sessionId) const {
  return session_ && sessionId == session_->id;
}

int MscEngine::CheckAudioStatus(int audioStatus) const {
  switch (audioStatus) {
    case MSC_AUDIO_FIRST:
      return session_->audioWrites == 0 ? MSC_OK : MSC_ERROR_AUDIO_STATUS;
    case MSC_AUDIO_CONTINUE:
      return session_->audioWrites > 0 && !session_->lastBlockWritten ? MSC_OK
                                                                      : MSC_ERROR_AUDIO_STATUS;
    case MSC_AUDIO_LAST:
      return session_->lastBlockWritten ? MSC_ERROR_AUDIO_STATUS : MSC_OK;
    default:
      return MSC_ERROR_INVALID_PARAM;
  }
}

void MscEngine::TakeAudio(const void* data, unsigned int length) {
  Session& session = *session_;
  if (length > 0) {
    session.crc = crc32(session.crc, static_cast<const Bytef*>(data), length);
    session.bytes += length;
  }
  const std::vector<MscPartialResult>& partials = session.plan->partials;
  while (session.partialsGiven < partials.size() &&
         partials[session.partialsGiven].afterBytes <= session.bytes) {
    session.results.push_back(partials[session.partialsGiven++].text);
  }
}

void MscEngine::QueueFinals() {
  const MscSessionPlan& plan = *session_->plan;
  if (plan.echo) {
    session_->results.push_back(EchoResult(session_->bytes, session_->crc));
    return;
  }
  session_->results.insert(session_->results.end(), plan.finals.begin(), plan.finals.end());
}

bool MscEngine::IsComplete() const {
  return session_->lastBlockWritten && !session_->plan->neverCompletes;
}

int MscEngine::StatusAfterWrite() const {
  if (!session_->results.empty()) return MSC_RESULT_READY;
  return IsComplete() ? MSC_RESULT_COMPLETE : MSC_RESULT_PENDING;
}
