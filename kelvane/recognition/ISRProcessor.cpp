#include "ISRProcessor.h"

#include <cstdio>
#include <cstring>
#include <thread>

#include "TraceMessage.h"
#include "msc/MscApi.h"
#include "tessik/TessikService.h"

namespace {

constexpr char kLoginParameters[] = "appid = 7c2e91ab, work_dir = .";
constexpr char kInitialSessionParameters[] =
    "sub = iat, domain = iat, language = zh_cn, accent = mandarin, sample_rate = 16000, "
    "result_type = plain, result_encoding = UTF-8";
constexpr char kSessionParameterFormat[] =
    "sub = iat, domain = iat, language = %s, accent = %s, sample_rate = 16000, "
    "result_type = json, result_encoding = UTF-8, ptt = %d, vad_enable = true, "
    "vad_bos = 5000, vad_eos = 2000, dwa = wpgs";
constexpr std::chrono::milliseconds kResultPollInterval{100};
const unsigned char kDummyPayload = 0;

}  // namespace

CISRProcessor::CISRProcessor() : queue_(1) {
  std::strcpy(sessionParameters_, kInitialSessionParameters);
  queue_.SetSink(this);
}

int CISRProcessor::Start() {
  if (running_ == 1) {
    TraceMessage(kTraceError, L"CISRProcessor is already running");
    return 0;
  }
  if (queue_.Start() != 1) {
    TraceMessage(kTraceError, L"CISRProcessor Brondel start failed..");
    return 0;
  }
  running_ = 1;
  MSPLogout();
  const int error = MSPLogin(nullptr, nullptr, kLoginParameters);
  if (error != 0) {
    TraceMessage(kTraceError, L"MSPLogin failed, Error code: %d.", error);
    return 0;
  }
  TraceMessage(kTraceInfo, L"MSPLogin OK..");
  return 1;
}

void CISRProcessor::Stop() {
  // The queue runs what was posted before while still logged in; then no SDK call overlaps
  // the logout.
  queue_.Stop();
  TraceMessage(kTraceInfo, L"MSPLogout ..");
  MSPLogout();
  session_ = nullptr;  // the SDK drops an open session with the logout
  running_ = 0;
}

int CISRProcessor::Configure(const ORVANE::Config::ConfigPb& settings) {
  char parameters[sizeof sessionParameters_];
  int length = -1;
  if (settings.has_sr_config()) {
    const auto& sr = settings.sr_config();
    length = std::snprintf(parameters, sizeof parameters, kSessionParameterFormat,
                           sr.language_key().c_str(), sr.accent_key().c_str(), sr.b_ptt() ? 1 : 0);
  }
  if (length < 0 || static_cast<size_t>(length) >= sizeof parameters) {
    TraceMessage(kTraceError, L"CISRProcessor Configure fail");
    return 0;
  }
  std::memcpy(sessionParameters_, parameters, static_cast<size_t>(length) + 1);
  TraceMessage(kTraceInfo, L"CISRProcessor Configure successfully:%s",
               CTessikService::StringToWString(sessionParameters_).c_str());
  return 1;
}

void CISRProcessor::BeginSession() { queue_.Post(QID_SessionBegin, &kDummyPayload, 1); }

void CISRProcessor::WriteAudio(const void* bytes, unsigned long length) {
  if (bytes != nullptr && length > 0) queue_.Post(QID_SessionData, bytes, length);
}

void CISRProcessor::EndSession(int reason) { queue_.Post(QID_SessionEnd, &reason, sizeof reason); }

void CISRProcessor::SetListener(ISpeechRecogniseInterface* listener) { listener_ = listener; }

void CISRProcessor::OnQueueMessage(unsigned id, const void* data, unsigned length) {
  switch (id) {
    case QID_SessionBegin:
      OpenSession();
      break;
    case QID_SessionData:
      WriteSessionAudio(data, length);
      break;
    case QID_SessionEnd:
      FinishSession();
      break;
    default:
      TraceMessage(kTraceError, L"Unknown EvtQueID like %d", id);
  }
}

void CISRProcessor::OpenSession() {
  if (session_ != nullptr) {
    TraceMessage(kTraceError, L"OnQueueMessage::OnQueueMessage(QID_SessionBegin) Session unfinished");
    return;
  }
  audioStatus_ = MSC_AUDIO_FIRST;
  endpointStatus_ = 0;
  recognitionStatus_ = 0;
  int error = 0;
  const char* session = QISRSessionBegin(nullptr, sessionParameters_, &error);
  if (error != 0) {
    TraceMessage(kTraceError, L"CISRProcessor call QISRSessionBegin failed, Error code: %d", error);
  } else {
    session_ = session;
  }
  if (listener_ != nullptr) listener_->OnSessionBegin(error == 0 ? 1 : 0);
}

void CISRProcessor::WriteSessionAudio(const void* bytes, unsigned length) {
  if (session_ == nullptr) {
    TraceMessage(kTraceInfo, L"CISRProcessor::OnQueueMessage(QID_SessionData):No valid session.");
    return;
  }
  int error = QISRAudioWrite(session_, bytes, length, audioStatus_, &endpointStatus_,
                             &recognitionStatus_);
  if (error != 0) {
    TraceMessage(kTraceError, L"CISRProcessor call QISRAudioWrite failed. Error code: %d", error);
    CloseSession("QISRAudioWrite", 0);
    return;
  }
  audioStatus_ = MSC_AUDIO_CONTINUE;
  if (recognitionStatus_ == MSC_RESULT_READY) {
    const char* result = QISRGetResult(session_, &recognitionStatus_, 0, &error);
    if (error != 0) {
      TraceMessage(kTraceError, L"CISRProcessor call QISRGetResult failed. Error code: %d", error);
      CloseSession("QISRGetResult Failed", 0);
      return;
    }
    ReportResult(result);
  }
  if (endpointStatus_ == MSC_ENDPOINT_SPEECH_ENDED) EndSession(2);
}

void CISRProcessor::FinishSession() {
  if (session_ == nullptr) {
    TraceMessage(kTraceInfo,
                 L"CISRProcessor::OnQueueMessage(QID_SessionEnd) Session has already finished");
    return;
  }
  const int error = QISRAudioWrite(session_, nullptr, 0, MSC_AUDIO_LAST, &endpointStatus_,
                                   &recognitionStatus_);
  if (error != 0) {
    TraceMessage(kTraceError, L"CISRProcessor call QISRAudioWrite failed. Error code: %d", error);
    CloseSession("QISRAudioWrite Fail", 0);
    return;
  }
  if (CollectFinalResults()) CloseSession("Success", 1);
}

bool CISRProcessor::CollectFinalResults() {
  const auto deadline = std::chrono::steady_clock::now() + finalResultTimeout_;
  while (recognitionStatus_ != MSC_RESULT_COMPLETE) {
    if (std::chrono::steady_clock::now() >= deadline) {
      TraceMessage(kTraceError, L"CISRProcessor Final result not complete after %d ms",
                   static_cast<int>(finalResultTimeout_.count()));
      CloseSession("QISRGetResult Timeout", 0);
      return false;
    }
    int error = 0;
    const char* result = QISRGetResult(session_, &recognitionStatus_, 0, &error);
    if (error != 0) {
      TraceMessage(kTraceError, L"CISRProcessor call QISRGetResult failed. Error code: %d", error);
      CloseSession("QISRGetResult Fail", 0);
      return false;
    }
    ReportResult(result);
    if (recognitionStatus_ != MSC_RESULT_COMPLETE) {
      std::this_thread::sleep_for(kResultPollInterval);
    }
  }
  return true;
}

void CISRProcessor::CloseSession(const char* hint, int ok) {
  QISRSessionEnd(session_, hint);
  session_ = nullptr;
  if (listener_ != nullptr) listener_->OnSessionEnd(ok);
}

void CISRProcessor::ReportResult(const char* result) {
  if (result != nullptr && listener_ != nullptr) listener_->OnSessionResult(result);
}
