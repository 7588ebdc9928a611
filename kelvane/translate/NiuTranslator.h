// Translates one UTF-8 text through the cloud translation service (HTTPS, signed request).
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace httplib {
struct Request;
}

class CNiuTranslator {
 public:
  static constexpr char kDefaultHost[] = "ots.tavri.example";
  static constexpr int kDefaultPort = 443;
  static constexpr char kPath[] = "/v2/ots";
  // The whole request, from the name lookup and the TLS handshake to the last byte of the
  // answer, ends after this long.
  static constexpr std::chrono::milliseconds kDefaultTimeout{5000};
  // A longer answer is refused as it arrives.
  static constexpr size_t kMaxAnswerBytes = 1 << 20;

  CNiuTranslator();

  // Blocks until the answer or the time-out; true with result = the translated text, false
  // on any failure (one level-3 trace line, result untouched).
  bool Translate(const std::string& text, std::string& result);

  // Source and target language codes, "cn" and "en" at first.
  void SetLanguages(const std::string& from, const std::string& to);

  // The server and how it is trusted. An empty CA path uses the system's certificates;
  // the server certificate is always verified.
  void SetEndpoint(const std::string& host, int port);
  void SetCaCertPath(const std::string& path);
  void SetTimeout(std::chrono::milliseconds timeout);

 private:
  std::string RequestBody(const std::string& text) const;
  httplib::Request SignedRequest(const std::string& text) const;
  // Reads the translation from a 200 answer's body; false after tracing why.
  static bool ReadTranslation(const std::string& body, std::string& result);

  std::string appId_;
  std::string apiKey_;
  std::string apiSecret_;
  std::string from_;
  std::string to_;
  std::string host_ = kDefaultHost;
  int port_ = kDefaultPort;
  std::string caCertPath_;
  std::chrono::milliseconds timeout_ = kDefaultTimeout;
};
