#include "DeadlineExchange.h"

#define CPPHTTPLIB_OPENSSL_SUPPORT
#include <httplib.h>
#include <openssl/ssl.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace {

// How long the request's thread may take to end once its connection is shut down.
constexpr std::chrono::milliseconds kStopMargin{500};

// Shared by the caller and the request's thread, which may outlive the call.
class Exchange {
 public:
  Exchange(std::unique_ptr<httplib::SSLClient> client, httplib::Request request, size_t maxAnswerBytes)
      : client_(std::move(client)), request_(std::move(request)), maxAnswerBytes_(maxAnswerBytes) {
    request_.content_receiver = [this](const char* data, size_t size, uint64_t, uint64_t) {
      result_.tooLarge = result_.body.size() + size > maxAnswerBytes_;
      if (!result_.tooLarge) result_.body.append(data, size);
      return !result_.tooLarge;
    };
    client_->set_socket_options([this](socket_t socket) { Track(socket); });
    SSL_CTX_set_app_data(client_->ssl_context(), this);
    SSL_CTX_set_info_callback(client_->ssl_context(), &Exchange::OnHandshakeStep);
  }
  ~Exchange() {
    if (connection_ != INVALID_SOCKET) closesocket(connection_);
  }
  Exchange(const Exchange&) = delete;
  Exchange& operator=(const Exchange&) = delete;

  // On the request's thread.
  void Run() {
    httplib::Response response;
    httplib::Error error = httplib::Error::Success;
    const bool answered = client_->send(request_, response, error);
    std::lock_guard<std::mutex> guard(lock_);
    result_.answered = answered;
    result_.status = response.status;
    done_ = true;
    finished_.notify_all();
  }

  // The result once the request has ended; nothing when the deadline came first.
  ExchangeResult Await(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock<std::mutex> guard(lock_);
    if (!finished_.wait_until(guard, deadline, [this] { return done_; })) {
      expired_ = true;
      if (connection_ != INVALID_SOCKET) shutdown(connection_, SD_BOTH);
      finished_.wait_for(guard, kStopMargin, [this] { return done_; });
    }
    return done_ && !expired_ ? result_ : ExchangeResult{};
  }

  bool Done() {
    std::lock_guard<std::mutex> guard(lock_);
    return done_;
  }

 private:
  // Each socket the request opens, before it connects. Kept as a descriptor of our own, so
  // that shutting it down never meets a socket the request has closed meanwhile.
  void Track(socket_t socket) {
    std::lock_guard<std::mutex> guard(lock_);
    if (connection_ != INVALID_SOCKET) closesocket(connection_);
    connection_ = INVALID_SOCKET;
    WSAPROTOCOL_INFOW info{};
    if (WSADuplicateSocketW(socket, GetCurrentProcessId(), &info) == 0) {
      connection_ = WSASocketW(FROM_PROTOCOL_INFO, FROM_PROTOCOL_INFO, FROM_PROTOCOL_INFO, &info,
                               0, WSA_FLAG_OVERLAPPED);
    }
  }

  // Every return of the TLS handshake, on the request's thread: once the deadline has
  // passed (it may pass before the socket existed) the handshake goes no further.
  static void OnHandshakeStep(const SSL* ssl, int where, int) {
    if ((where & SSL_CB_EXIT) == 0) return;
    auto* self = static_cast<Exchange*>(SSL_CTX_get_app_data(SSL_get_SSL_CTX(ssl)));
    std::lock_guard<std::mutex> guard(self->lock_);
    if (self->expired_) shutdown(SSL_get_fd(ssl), SD_BOTH);
  }

  std::unique_ptr<httplib::SSLClient> client_;
  httplib::Request request_;
  const size_t maxAnswerBytes_;

  std::mutex lock_;
  std::condition_variable finished_;
  ExchangeResult result_;  // body and tooLarge: the request's thread only until done_
  bool done_ = false;
  bool expired_ = false;
  SOCKET connection_ = INVALID_SOCKET;
};

}  // namespace

ExchangeResult SendBeforeDeadline(std::unique_ptr<httplib::SSLClient> client,
                                  httplib::Request request, size_t maxAnswerBytes,
                                  std::chrono::steady_clock::time_point deadline) {
  auto exchange = std::make_shared<Exchange>(std::move(client), std::move(request), maxAnswerBytes);
  std::thread worker([exchange] { exchange->Run(); });
  ExchangeResult result = exchange->Await(deadline);
  if (exchange->Done()) {
    worker.join();
  } else {
    worker.detach();  // still looking the name up; it owns its share of the exchange
  }
  return result;
}
