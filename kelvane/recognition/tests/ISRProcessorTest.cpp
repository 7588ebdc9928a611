#include <gtest/gtest.h>
#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "ISRProcessor.h"
#include "MscTestSession.h"
#include "TestEvent.h"
#include "TraceCapture.h"

namespace {

using namespace std::chrono_literals;

// Records the listener calls as "begin 1", "result <json>", "end 0" ...
class RecordingListener : public ISpeechRecogniseInterface {
 public:
  void OnSessionBegin(int ok) override {
    Add("begin " + std::to_string(ok));
    if (ok == 0) done_.Set();
  }
  void OnSessionEnd(int ok) override {
    Add("end " + std::to_string(ok));
    done_.Set();
  }
  void OnSessionResult(const char* json) override { Add(std::string("result ") + json); }

  // Waits until the session ended or failed to begin.
  bool WaitDone() {
    const bool done = done_.Wait();
    done_.Reset();
    return done;
  }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }

 private:
  void Add(const std::string& event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(event);
  }

  std::mutex mutex_;
  std::vector<std::string> events_;
  TestEvent done_;
};

ORVANE::Config::ConfigPb Settings(const std::string& language, bool ptt) {
  ORVANE::Config::ConfigPb settings;
  settings.mutable_sr_config()->set_language_key(language);
  settings.mutable_sr_config()->set_accent_key("mandarin");
  settings.mutable_sr_config()->set_b_ptt(ptt);
  return settings;
}

std::vector<std::string> Filter(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  }
  return found;
}

class ISRProcessorTest : public testing::Test {
 protected:
  void TearDown() override { processor_.Stop(); }

  // Takes the SDK environment to show it is set up before the login.
  void Start(const MscTestSession&) {
    processor_.SetListener(&listener_);
    ASSERT_EQ(processor_.Start(), 1);
  }

  void Speak(const std::vector<std::string>& blocks) {
    processor_.BeginSession();
    for (const std::string& block : blocks) processor_.WriteAudio(block.data(), block.size());
    processor_.EndSession(0);
  }

  TraceCapture trace_;
  RecordingListener listener_;
  CISRProcessor processor_;
};

TEST_F(ISRProcessorTest, EchoSessionDeliversEveryBlockInOrder) {
  MscTestSession sdk;
  Start(sdk);
  std::vector<std::string> blocks;
  std::string all;
  for (int i = 0; i < 40; ++i) {
    blocks.push_back(std::string(640 + i, static_cast<char>('a' + i % 26)));
    all += blocks.back();
  }
  processor_.WriteAudio(nullptr, 10);  // posts nothing
  processor_.WriteAudio(all.data(), 0);
  Speak(blocks);
  ASSERT_TRUE(listener_.WaitDone());

  char digest[64];
  std::snprintf(digest, sizeof digest, MSC_ECHO_DIGEST_FORMAT,
                static_cast<unsigned long>(all.size()),
                crc32(0, reinterpret_cast<const Bytef*>(all.data()), all.size()));
  const std::vector<std::string> events = listener_.Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0], "begin 1");
  EXPECT_NE(events[1].find(digest), std::string::npos) << events[1];
  EXPECT_EQ(events[2], "end 1");

  const std::vector<std::string> writes = Filter(sdk.Journal(), "QISRAudioWrite");
  ASSERT_EQ(writes.size(), blocks.size() + 1);
  EXPECT_EQ(writes.front(), "QISRAudioWrite 0 status=1 bytes=640");
  EXPECT_EQ(writes[1], "QISRAudioWrite 0 status=2 bytes=641");
  EXPECT_EQ(writes.back(), "QISRAudioWrite 0 status=4 bytes=0");
  EXPECT_EQ(Filter(sdk.Journal(), "QISRSessionEnd"),
            std::vector<std::string>{"QISRSessionEnd 0 Success"});
}

TEST_F(ISRProcessorTest, EndOfSpeechEndsTheSessionOnce) {
  MscTestSession sdk(R"({"sessions": [{"partials": [{"after_bytes": 4, "result": "{\"p\":1}"}],
      "end_of_speech_after_bytes": 8, "finals": ["{\"f\":1}"]}]})");
  Start(sdk);
  processor_.BeginSession();
  processor_.WriteAudio("abcd", 4);
  processor_.WriteAudio("efgh", 4);  // end of speech: the processor ends the session itself
  processor_.WriteAudio("ijkl", 4);  // queued before the end: still written
  ASSERT_TRUE(listener_.WaitDone());
  processor_.EndSession(0);  // the microphone closes later
  processor_.WriteAudio("mnop", 4);
  processor_.Stop();  // delivers what was queued

  EXPECT_EQ(listener_.Events(),
            (std::vector<std::string>{"begin 1", R"(result {"p":1})", R"(result {"f":1})", "end 1"}));
  EXPECT_EQ(Filter(sdk.Journal(), "QISRAudioWrite").size(), 4u);
  EXPECT_TRUE(trace_.Has(
      kTraceInfo, L"CISRProcessor::OnQueueMessage(QID_SessionEnd) Session has already finished"));
  EXPECT_TRUE(
      trace_.Has(kTraceInfo, L"CISRProcessor::OnQueueMessage(QID_SessionData):No valid session."));
}

struct FailureCase {
  const char* name;
  const char* error;
  int blocks;
  const char* hint;    // the QISRSessionEnd hint; null when no session opened
  const wchar_t* log;  // the level-3 line
  std::vector<std::string> events;
};

TEST_F(ISRProcessorTest, SdkErrorsEndTheSessionAndTheNextOneWorks) {
  const FailureCase cases[] = {
      {"begin fails", R"({"call": "QISRSessionBegin", "at": 1, "code": 801})", 1, nullptr,
       L"CISRProcessor call QISRSessionBegin failed, Error code: 801", {"begin 0"}},
      {"audio write fails", R"({"call": "QISRAudioWrite", "at": 2, "code": 802})", 3,
       "QISRAudioWrite", L"CISRProcessor call QISRAudioWrite failed. Error code: 802",
       {"begin 1", "end 0"}},
      {"partial fetch fails", R"({"call": "QISRGetResult", "at": 1, "code": 803})", 1,
       "QISRGetResult Failed", L"CISRProcessor call QISRGetResult failed. Error code: 803",
       {"begin 1", "end 0"}},
      {"last block fails", R"({"call": "QISRAudioWrite", "at": 2, "code": 804})", 1,
       "QISRAudioWrite Fail", L"CISRProcessor call QISRAudioWrite failed. Error code: 804",
       {"begin 1", "end 0"}},
      {"final fetch fails", R"({"call": "QISRGetResult", "at": 1, "code": 805})", 0,
       "QISRGetResult Fail", L"CISRProcessor call QISRGetResult failed. Error code: 805",
       {"begin 1", "end 0"}},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    // The first session fails as scripted, the second one completes.
    MscTestSession sdk(std::string(R"({"sessions": [{"partials": [{"after_bytes": 1,
        "result": "{}"}], "finals": ["{}"], "errors": [)") + c.error + R"(]}, {}]})");
    RecordingListener listener;
    processor_.SetListener(&listener);
    ASSERT_EQ(processor_.Start(), 1);
    processor_.BeginSession();
    for (int i = 0; i < c.blocks; ++i) processor_.WriteAudio("xy", 2);
    processor_.EndSession(0);
    ASSERT_TRUE(listener.WaitDone());
    processor_.BeginSession();
    processor_.EndSession(0);
    processor_.Stop();

    std::vector<std::string> calls;
    for (const std::string& event : listener.Events()) {
      if (event.rfind("result", 0) != 0) calls.push_back(event);
    }
    std::vector<std::string> expected = c.events;
    expected.insert(expected.end(), {"begin 1", "end 1"});
    EXPECT_EQ(calls, expected);
    std::vector<std::string> ends = {"QISRSessionEnd 0 Success"};
    if (c.hint != nullptr) ends.insert(ends.begin(), std::string("QISRSessionEnd 0 ") + c.hint);
    EXPECT_EQ(Filter(sdk.Journal(), "QISRSessionEnd"), ends);
    EXPECT_TRUE(trace_.Has(kTraceError, c.log));
  }
}

TEST_F(ISRProcessorTest, StalledFinalResultTimesOut) {
  MscTestSession sdk(R"({"sessions": [{"never_completes": true}, {}]})");
  processor_.SetFinalResultTimeout(300ms);
  Start(sdk);
  Speak({"abcd"});
  ASSERT_TRUE(listener_.WaitDone());
  Speak({"efgh"});  // the next session is not blocked
  ASSERT_TRUE(listener_.WaitDone());

  EXPECT_EQ(listener_.Events(), (std::vector<std::string>{"begin 1", "end 0", "begin 1", "end 1"}));
  EXPECT_EQ(Filter(sdk.Journal(), "QISRSessionEnd"),
            (std::vector<std::string>{"QISRSessionEnd 0 QISRGetResult Timeout",
                                      "QISRSessionEnd 0 Success"}));
  EXPECT_TRUE(trace_.Has(kTraceError, L"CISRProcessor Final result not complete after 300 ms"));
}

TEST_F(ISRProcessorTest, SecondBeginWhileOpenIsRefused) {
  MscTestSession sdk;
  Start(sdk);
  processor_.BeginSession();
  processor_.BeginSession();
  processor_.EndSession(0);
  ASSERT_TRUE(listener_.WaitDone());
  EXPECT_EQ(Filter(listener_.Events(), "begin"), std::vector<std::string>{"begin 1"});
  EXPECT_TRUE(trace_.Has(kTraceError,
                         L"OnQueueMessage::OnQueueMessage(QID_SessionBegin) Session unfinished"));
}

TEST_F(ISRProcessorTest, StopDropsAnOpenSessionAndARestartWorks) {
  MscTestSession sdk;
  Start(sdk);
  processor_.BeginSession();
  processor_.WriteAudio("ab", 2);
  processor_.Stop();  // runs what was queued, then logs out without ending the session
  EXPECT_EQ(listener_.Events(), std::vector<std::string>{"begin 1"});
  EXPECT_EQ(sdk.Journal().back(), "MSPLogout 0");

  ASSERT_EQ(processor_.Start(), 1);
  Speak({"cd"});
  ASSERT_TRUE(listener_.WaitDone());
  EXPECT_EQ(Filter(listener_.Events(), "end"), std::vector<std::string>{"end 1"});
}

TEST_F(ISRProcessorTest, ConfigureFormatsBoundedSessionParameters) {
  const std::string configured =
      "sub = iat, domain = iat, language = en_us, accent = mandarin, sample_rate = 16000, "
      "result_type = json, result_encoding = UTF-8, ptt = 0, vad_enable = true, "
      "vad_bos = 5000, vad_eos = 2000, dwa = wpgs";
  const std::string initial =
      "sub = iat, domain = iat, language = zh_cn, accent = mandarin, sample_rate = 16000, "
      "result_type = plain, result_encoding = UTF-8";
  struct Case {
    const char* name;
    std::vector<ORVANE::Config::ConfigPb> settings;
    int result;  // of the last Configure
    std::string parameters;
  };
  const Case cases[] = {
      {"settings", {Settings("en_us", false)}, 1, configured},
      {"no sr_config keeps the initial text", {ORVANE::Config::ConfigPb()}, 0, initial},
      {"too long for the buffer keeps the last text",
       {Settings("en_us", false), Settings(std::string(900, 'x'), true)}, 0, configured},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MscTestSession sdk;
    CISRProcessor processor;
    int result = -1;
    for (const auto& settings : c.settings) result = processor.Configure(settings);
    EXPECT_EQ(result, c.result);
    ASSERT_EQ(processor.Start(), 1);
    processor.BeginSession();
    processor.Stop();
    EXPECT_EQ(Filter(sdk.Journal(), "QISRSessionBegin"),
              std::vector<std::string>{"QISRSessionBegin 0 " + c.parameters});
  }
  EXPECT_TRUE(trace_.Has(kTraceError, L"CISRProcessor Configure fail"));
  EXPECT_TRUE(trace_.Has(kTraceInfo,
                         L"CISRProcessor Configure successfully:" +
                             std::wstring(configured.begin(), configured.end())));
}

TEST_F(ISRProcessorTest, StartLogsInOnceAndReportsLoginFailure) {
  {
    MscTestSession sdk;
    Start(sdk);
    EXPECT_EQ(processor_.Start(), 0);
    EXPECT_TRUE(trace_.Has(kTraceError, L"CISRProcessor is already running"));
    EXPECT_TRUE(trace_.Has(kTraceInfo, L"MSPLogin OK.."));
    processor_.Stop();
  }
  MscTestSession sdk(R"({"login_error": 10407})");
  EXPECT_EQ(processor_.Start(), 0);
  EXPECT_TRUE(trace_.Has(kTraceError, L"MSPLogin failed, Error code: 10407."));
  EXPECT_EQ(processor_.Start(), 0);  // running, though not logged in
  EXPECT_TRUE(trace_.Has(kTraceInfo, L"MSPLogout .."));
}

}  // namespace
