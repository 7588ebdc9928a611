// One HTTPS request and its answer, ended by one deadline over the whole call: name
// lookup, connection, TLS handshake, request and answer.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace httplib {
class SSLClient;
struct Request;
}  // namespace httplib

struct ExchangeResult {
  bool answered = false;  // false: no answer before the deadline or the connection failed
  bool tooLarge = false;  // the answer's body was longer than the cap and was refused
  int status = 0;
  std::string body;
};

// The request runs on a thread of its own. At the deadline the connection is shut down,
// which ends a TLS handshake, a request or an answer in progress, and the call returns soon
// after. A name lookup or a connection attempt cannot be broken off: its thread is then
// left to end by itself (a connection attempt within the client's connection time-out),
// touching nothing of the caller's.
ExchangeResult SendBeforeDeadline(std::unique_ptr<httplib::SSLClient> client,
                                  httplib::Request request, size_t maxAnswerBytes,
                                  std::chrono::steady_clock::time_point deadline);
