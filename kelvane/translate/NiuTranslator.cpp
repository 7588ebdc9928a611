#include "NiuTranslator.h"

#define CPPHTTPLIB_OPENSSL_SUPPORT
#include <httplib.h>
#include <json/json.h>

#include <ctime>
#include <memory>
#include <utility>

#include "Base64.h"
#include "DeadlineExchange.h"
#include "JsonText.h"
#include "RequestSigning.h"
#include "TraceMessage.h"
#include "tessik/TessikService.h"

namespace {

std::string HttpDate() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_s(&utc, &now);
  char text[64];
  std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &utc);
  return text;
}

std::wstring Wide(const std::string& text) { return CTessikService::StringToWString(text); }

// The member at the end of the path of object keys; null when a step is missing or no object.
const Json::Value& Find(const Json::Value& root, std::initializer_list<const char*> path) {
  static const Json::Value missing;
  const Json::Value* value = &root;
  for (const char* key : path) {
    if (!value->isObject() || !value->isMember(key)) return missing;
    value = &(*value)[key];
  }
  return *value;
}

}  // namespace

CNiuTranslator::CNiuTranslator()
    : appId_("7c2e91ab"),
      apiKey_("4f1a9c3e7b2d8e6051c7a93f0e4d2b68"),
      apiSecret_("e90b3d6a1f7c4285b2e6d0a9c3f71845"),
      from_("cn"),
      to_("en") {}

void CNiuTranslator::SetLanguages(const std::string& from, const std::string& to) {
  from_ = from;
  to_ = to;
}

void CNiuTranslator::SetEndpoint(const std::string& host, int port) {
  host_ = host;
  port_ = port;
}

void CNiuTranslator::SetCaCertPath(const std::string& path) { caCertPath_ = path; }

void CNiuTranslator::SetTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }

bool CNiuTranslator::Translate(const std::string& text, std::string& result) {
  auto client = std::make_unique<httplib::SSLClient>(host_, port_);
  client->enable_server_certificate_verification(true);
  if (!caCertPath_.empty()) client->set_ca_cert_path(caCertPath_.c_str());
  client->set_connection_timeout(timeout_);
  client->set_read_timeout(timeout_);
  client->set_write_timeout(timeout_);

  const ExchangeResult answer = SendBeforeDeadline(
      std::move(client), SignedRequest(text), kMaxAnswerBytes, std::chrono::steady_clock::now() + timeout_);
  if (answer.tooLarge) {
    TraceMessage(kTraceError, L"CNiuTranslator Answer refused: longer than %d bytes",
                 static_cast<int>(kMaxAnswerBytes));
    return false;
  }
  if (!answer.answered) {
    TraceMessage(kTraceError, L"CNiuTranslator Fail to post tranlate request");
    return false;
  }
  if (answer.status != 200) {
    TraceMessage(kTraceError, L"CNiuTranslator Request fail, status=%d message=%s",
                 answer.status, Wide(answer.body).c_str());
    return false;
  }
  TraceMessage(kTraceDebug, L"CNiuTranslator Request successfully, message=%s",
               Wide(answer.body).c_str());
  return ReadTranslation(answer.body, result);
}

httplib::Request CNiuTranslator::SignedRequest(const std::string& text) const {
  const std::string date = HttpDate();
  httplib::Request request;
  request.method = "POST";
  request.path = kPath;
  request.body = RequestBody(text);
  const std::string digest = BodyDigest(request.body);
  const std::string requestLine = std::string("POST ") + kPath + " HTTP/1.1";
  const std::string signature =
      HmacSha256Base64(apiSecret_, SignatureOrigin(host_, date, requestLine, digest));
  request.headers = {
      {"Accept", "application/json,version=1.0"},
      {"Host", host_},
      {"Date", date},
      {"Digest", digest},
      {"Authorization", AuthorizationHeader(apiKey_, signature)},
      {"Content-Type", "application/json;charset=utf-8"},
  };
  return request;
}

std::string CNiuTranslator::RequestBody(const std::string& text) const {
  Json::Value request;
  request["common"]["app_id"] = appId_;
  request["business"]["from"] = from_;
  request["business"]["to"] = to_;
  request["data"]["text"] = Base64Encode(text);
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  return Json::writeString(writer, request);
}

bool CNiuTranslator::ReadTranslation(const std::string& body, std::string& result) {
  Json::Value answer;
  if (!ParseJson(body, answer)) {
    TraceMessage(kTraceError, L"CNiuTranslator Parse json fail: %s", Wide(body).c_str());
    return false;
  }
  const Json::Value& code = Find(answer, {"code"});
  if (!code.isInt()) {
    TraceMessage(kTraceError, L"CNiuTranslator Field [code] not found: %s", Wide(body).c_str());
    return false;
  }
  if (code.asInt() != 0) {
    TraceMessage(kTraceError, L"CNiuTranslator Translate fail. Error code=%d", code.asInt());
    return false;
  }
  const Json::Value& dst = Find(answer, {"data", "result", "trans_result", "dst"});
  if (!dst.isString()) {
    TraceMessage(kTraceError, L"CNiuTranslator Fail to get data/result/translate_result/dst from %s",
                 Wide(body).c_str());
    return false;
  }
  result = dst.asString();
  return true;
}
