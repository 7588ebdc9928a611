#define CPPHTTPLIB_OPENSSL_SUPPORT
#include <httplib.h>

#include <gtest/gtest.h>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <mutex>
#include <sstream>
#include <thread>

#include "HostileJson.h"
#include "NiuTranslator.h"
#include "TempFolder.h"
#include "TestCertificates.h"
#include "TestEvent.h"
#include "TraceCapture.h"
#include "TranslationServer.h"

namespace {

using namespace std::chrono_literals;

// Base64 through OpenSSL's BIO filter, apart from the code under test.
std::string Base64(const unsigned char* bytes, size_t length) {
  BIO* chain = BIO_push(BIO_new(BIO_f_base64()), BIO_new(BIO_s_mem()));
  BIO_set_flags(chain, BIO_FLAGS_BASE64_NO_NL);
  BIO_write(chain, bytes, static_cast<int>(length));
  BIO_flush(chain);
  char* data = nullptr;
  const long size = BIO_get_mem_data(BIO_next(chain), &data);
  std::string text(data, size);
  BIO_free_all(chain);
  return text;
}

std::string ExpectedDigest(const std::string& body) {
  unsigned char hash[32];
  size_t length = 0;
  EVP_Q_digest(nullptr, "SHA256", nullptr, body.data(), body.size(), hash, &length);
  return "SHA-256=" + Base64(hash, length);
}

std::string ExpectedAuthorization(const ReceivedRequest& request) {
  const std::string origin = "host: " + request.Header("Host") + "\ndate: " +
                             request.Header("Date") + "\n" + request.method + " " + request.path +
                             " " + request.version + "\ndigest: " + request.Header("Digest");
  const std::string secret = "e90b3d6a1f7c4285b2e6d0a9c3f71845";
  unsigned char mac[32];
  size_t length = 0;
  EVP_Q_mac(nullptr, "HMAC", nullptr, "SHA256", nullptr, secret.data(), secret.size(),
            reinterpret_cast<const unsigned char*>(origin.data()), origin.size(), mac, sizeof mac,
            &length);
  return "api_key=\"4f1a9c3e7b2d8e6051c7a93f0e4d2b68\",algorithm=\"hmac-sha256\",headers=\"host "
         "date request-line digest\",signature=\"" +
         Base64(mac, length) + "\"";
}

// Seconds between the Date header and now; a large value when it does not parse.
long long SecondsFromNow(const std::string& date) {
  std::tm parsed{};
  std::istringstream(date) >> std::get_time(&parsed, "%a, %d %b %Y %H:%M:%S GMT");
  if (parsed.tm_year == 0) return 1LL << 40;
  return std::llabs(static_cast<long long>(_mkgmtime(&parsed) - std::time(nullptr)));
}

// A loopback port that nothing listens on.
int ClosedPort() {
  SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
  closesocket(probe);
  return ntohs(address.sin_port);
}

// A server on 127.0.0.1 that accepts and then sends its side of the TLS handshake one byte
// every 400 ms: a record header that announces 16 KB, then zeros.
class TricklingHandshakeServer {
 public:
  TricklingHandshakeServer() {
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
    listen(listener_, 4);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~TricklingHandshakeServer() {
    stop_.Set();
    closesocket(listener_);  // ends an accept still waiting
    thread_.join();
  }
  int port() const { return port_; }
  int bytesSent() const { return bytesSent_; }

 private:
  void Serve() {
    const SOCKET client = accept(listener_, nullptr, nullptr);
    const unsigned char header[] = {0x16, 0x03, 0x03, 0x40, 0x00};
    for (size_t i = 0; !stop_.Wait(400); ++i) {
      const char byte = i < sizeof header ? static_cast<char>(header[i]) : 0;
      if (send(client, &byte, 1, 0) != 1) break;
      ++bytesSent_;
    }
    closesocket(client);
  }

  SOCKET listener_;
  int port_ = 0;
  std::atomic<int> bytesSent_{0};
  TestEvent stop_;
  std::thread thread_;
};

class NiuTranslatorTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder;
    const std::wstring& path = folder_->path();
    files_ = MakeTestCertificates(std::string(path.begin(), path.end()));
  }
  static void TearDownTestSuite() { delete folder_; }

  NiuTranslatorTest() : server_(files_) {
    translator_.SetEndpoint("127.0.0.1", server_.port());
    translator_.SetCaCertPath(files_.caPath);
  }

  // The level-3 lines traced since the count given.
  int ErrorsSince(size_t before) {
    const auto& lines = trace_.Lines();
    int errors = 0;
    for (size_t i = before; i < lines.size(); ++i) errors += lines[i].first == kTraceError;
    return errors;
  }

  static TempFolder* folder_;
  static TestCertificates files_;
  TraceCapture trace_;
  TranslationServer server_;
  CNiuTranslator translator_;
};

TempFolder* NiuTranslatorTest::folder_ = nullptr;
TestCertificates NiuTranslatorTest::files_;

TEST_F(NiuTranslatorTest, SendsASignedRequestAndReadsTheTranslation) {
  server_.Answer(200, R"({"code":0,"message":"success","sid":"x",
      "data":{"result":{"from":"cn","to":"ja","trans_result":{"dst":"こんにちは","src":"你好"}}}})");
  translator_.SetLanguages("cn", "ja");
  std::string result = "unchanged";
  ASSERT_TRUE(translator_.Translate("你好", result));
  EXPECT_EQ(result, "こんにちは");

  const std::vector<ReceivedRequest> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const ReceivedRequest& request = requests[0];
  EXPECT_EQ(request.method + " " + request.path + " " + request.version, "POST /v2/ots HTTP/1.1");
  EXPECT_EQ(request.body,
            R"({"business":{"from":"cn","to":"ja"},"common":{"app_id":"7c2e91ab"},)"
            R"("data":{"text":"5L2g5aW9"}})");
  EXPECT_EQ(request.Header("Content-Type"), "application/json;charset=utf-8");
  EXPECT_EQ(request.Header("Accept"), "application/json,version=1.0");
  EXPECT_EQ(request.Header("Host"), "127.0.0.1");
  EXPECT_LT(SecondsFromNow(request.Header("Date")), 300) << request.Header("Date");
  EXPECT_EQ(request.Header("Digest"), ExpectedDigest(request.body));
  EXPECT_EQ(request.Header("Authorization"), ExpectedAuthorization(request));
  const std::wstring success = L"CNiuTranslator Request successfully, message=";
  EXPECT_TRUE(std::any_of(trace_.Lines().begin(), trace_.Lines().end(), [&](const auto& line) {
    return line.first == kTraceDebug && line.second.compare(0, success.size(), success) == 0;
  }));
}

TEST_F(NiuTranslatorTest, EmptyTextSendsAnEmptyText) {
  server_.Answer(200, R"({"code":0,"data":{"result":{"trans_result":{"dst":""}}}})");
  std::string result = "unchanged";
  ASSERT_TRUE(translator_.Translate("", result));
  EXPECT_EQ(result, "");
  EXPECT_NE(server_.Requests().at(0).body.find(R"("data":{"text":""})"), std::string::npos);
}

TEST_F(NiuTranslatorTest, BadAnswersFailWithOneLine) {
  struct Case {
    int status;
    const char* body;
    const wchar_t* line;
  };
  const Case cases[] = {
      {500, "oops", L"CNiuTranslator Request fail, status=500 message=oops"},
      {401, R"({"code":0})", L"CNiuTranslator Request fail, status=401 message={\"code\":0}"},
      {200, "not json", L"CNiuTranslator Parse json fail: not json"},
      {200, R"({"message":"x"})", L"CNiuTranslator Field [code] not found: {\"message\":\"x\"}"},
      {200, R"({"code":"0"})", L"CNiuTranslator Field [code] not found: {\"code\":\"0\"}"},
      {200, R"([0])", L"CNiuTranslator Field [code] not found: [0]"},
      {200, R"({"code":10105})", L"CNiuTranslator Translate fail. Error code=10105"},
      {200, R"({"code":0})",
       L"CNiuTranslator Fail to get data/result/translate_result/dst from {\"code\":0}"},
      {200, R"({"code":0,"data":"x"})",
       L"CNiuTranslator Fail to get data/result/translate_result/dst from {\"code\":0,\"data\":\"x\"}"},
      {200, R"({"code":0,"data":{"result":{"trans_result":[{"dst":"x"}]}}})",
       L"CNiuTranslator Fail to get data/result/translate_result/dst from "
       L"{\"code\":0,\"data\":{\"result\":{\"trans_result\":[{\"dst\":\"x\"}]}}}"},
      {200, R"({"code":0,"data":{"result":{"trans_result":{"dst":5}}}})",
       L"CNiuTranslator Fail to get data/result/translate_result/dst from "
       L"{\"code\":0,\"data\":{\"result\":{\"trans_result\":{\"dst\":5}}}}"},
  };
  for (const Case& c : cases) {
    server_.Answer(c.status, c.body);
    std::string result = "unchanged";
    const size_t before = trace_.Lines().size();
    EXPECT_FALSE(translator_.Translate("text", result)) << c.body;
    EXPECT_EQ(result, "unchanged");
    EXPECT_EQ(ErrorsSince(before), 1) << c.body;
    EXPECT_TRUE(trace_.Has(kTraceError, c.line)) << c.body;
  }
}

TEST_F(NiuTranslatorTest, HostileAnswersFailWithOneLine) {
  std::vector<HostileJson> answers = HostileJsonTable();
  answers.push_back({"code past int64", R"({"code":1e19})"});
  answers.push_back({"code at uint64 max", R"({"code":18446744073709551615})"});
  answers.push_back({"dst nested past the limit",
                     R"({"code":0,"data":{"result":{"trans_result":{"dst":)" + NestedArrays(2000) +
                         "}}}}"});
  for (const HostileJson& answer : answers) {
    SCOPED_TRACE(answer.what);
    server_.Answer(200, answer.text);
    std::string result = "unchanged";
    const size_t before = trace_.Lines().size();
    EXPECT_FALSE(translator_.Translate("text", result));
    EXPECT_EQ(result, "unchanged");
    EXPECT_EQ(ErrorsSince(before), 1);
  }
}

TEST_F(NiuTranslatorTest, ATricklingHandshakeOrAnswerEndsAtTheTotalDeadline) {
  server_.Answer(200, R"({"code":0,"data":{"result":{"trans_result":{"dst":"late"}}}})");
  server_.TrickleAnswers();
  TricklingHandshakeServer trickling;
  const struct {
    const char* name;
    int port;
  } cases[] = {{"answer", server_.port()}, {"handshake", trickling.port()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t before = trace_.Lines().size();
    translator_.SetEndpoint("127.0.0.1", c.port);
    std::string result = "unchanged";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(translator_.Translate("text", result));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, CNiuTranslator::kDefaultTimeout - 100ms);
    EXPECT_LT(elapsed, CNiuTranslator::kDefaultTimeout + 1s);
    EXPECT_EQ(result, "unchanged");
    EXPECT_EQ(ErrorsSince(before), 1);
    EXPECT_EQ(trace_.Lines().back().second, L"CNiuTranslator Fail to post tranlate request");
  }
  EXPECT_GE(trickling.bytesSent(), 5);  // the handshake was under way
}

TEST_F(NiuTranslatorTest, AnswersLongerThanTheCapAreRefused) {
  const std::string head = R"({"code":0,"data":{"result":{"trans_result":{"dst":")";
  const std::string tail = R"("}}}})";
  const auto answerOf = [&](size_t bytes) {
    return head + std::string(bytes - head.size() - tail.size(), 'x') + tail;
  };
  std::string result = "unchanged";
  server_.Answer(200, answerOf(CNiuTranslator::kMaxAnswerBytes + 1));
  EXPECT_FALSE(translator_.Translate("text", result));
  EXPECT_EQ(result, "unchanged");
  EXPECT_TRUE(trace_.Has(kTraceError, L"CNiuTranslator Answer refused: longer than 1048576 bytes"));
  EXPECT_EQ(ErrorsSince(0), 1);

  server_.Answer(200, answerOf(CNiuTranslator::kMaxAnswerBytes));
  EXPECT_TRUE(translator_.Translate("text", result));
  EXPECT_EQ(result.size(), CNiuTranslator::kMaxAnswerBytes - head.size() - tail.size());
}

TEST_F(NiuTranslatorTest, UnreachableSlowOrUntrustedServersFail) {
  server_.HoldAnswers();
  translator_.SetTimeout(500ms);
  std::string result = "unchanged";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(translator_.Translate("slow", result));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);

  CNiuTranslator untrusted;  // the system's certificates do not know the test CA
  untrusted.SetEndpoint("127.0.0.1", server_.port());
  EXPECT_FALSE(untrusted.Translate("text", result));

  CNiuTranslator closed;
  closed.SetEndpoint("127.0.0.1", ClosedPort());
  closed.SetCaCertPath(files_.caPath);
  EXPECT_FALSE(closed.Translate("text", result));

  EXPECT_EQ(result, "unchanged");
  EXPECT_EQ(trace_.Count(L"CNiuTranslator Fail to post tranlate request"), 3);
  EXPECT_EQ(server_.Requests().size(), 1u);  // only the slow one got through
}

}  // namespace
