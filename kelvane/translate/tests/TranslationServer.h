// The translation service on 127.0.0.1 for tests: an HTTPS server with a test certificate
// that records each request and gives the set answer, at once, late, or one byte a second.
#pragma once

#define CPPHTTPLIB_OPENSSL_SUPPORT
#include <httplib.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "NiuTranslator.h"
#include "TestCertificates.h"
#include "TestEvent.h"

struct ReceivedRequest {
  std::string method, path, version, body;
  httplib::Headers headers;
  std::string Header(const char* name) const {
    auto found = headers.find(name);
    return found == headers.end() ? std::string() : found->second;
  }
};

class TranslationServer {
 public:
  explicit TranslationServer(const TestCertificates& files)
      : server_(files.certificatePath.c_str(), files.keyPath.c_str()) {
    server_.Post(CNiuTranslator::kPath, [this](const httplib::Request& request,
                                               httplib::Response& response) {
      std::unique_lock<std::mutex> lock(mutex_);
      requests_.push_back({request.method, request.path, request.version, request.body,
                           request.headers});
      response.status = status_;
      if (trickle_) {
        response.set_content_provider(
            answer_.size(), "application/json",
            [this, answer = answer_](size_t offset, size_t, httplib::DataSink& sink) {
              return !release_.Wait(1000) && sink.write(answer.data() + offset, 1);
            });
      } else {
        response.set_content(answer_, "application/json");
      }
      lock.unlock();
      if (hold_) release_.Wait(10000);
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~TranslationServer() {
    release_.Set();
    server_.stop();
    thread_.join();
  }

  void Answer(int status, const std::string& body) {
    std::lock_guard<std::mutex> lock(mutex_);
    status_ = status;
    answer_ = body;
  }
  // Answers only when the server ends, or after ten seconds.
  void HoldAnswers() { hold_ = true; }
  // Sends each answer's body one byte a second.
  void TrickleAnswers() { trickle_ = true; }
  std::vector<ReceivedRequest> Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  int port() const { return port_; }

 private:
  httplib::SSLServer server_;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<ReceivedRequest> requests_;
  int status_ = 200;
  std::string answer_;
  std::atomic<bool> hold_{false};
  std::atomic<bool> trickle_{false};
  TestEvent release_;
  int port_ = 0;
};
