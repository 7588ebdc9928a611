#include <gtest/gtest.h>
#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "msc/MscApi.h"
#include "MscTestSession.h"

namespace {

constexpr char kLoginParams[] = "appid = 7c2e91ab, work_dir = .";

class MscApiTest : public testing::Test {
 protected:
  void TearDown() override { MSPLogout(); }

  const char* Begin() {
    int error = -1;
    const char* session = QISRSessionBegin(nullptr, "sub = iat", &error);
    EXPECT_EQ(error, MSC_OK);
    return session;
  }

  int Write(const char* session, const std::string& audio, int status) {
    return QISRAudioWrite(session, audio.data(), static_cast<unsigned>(audio.size()), status,
                          &endpoint_, &recognition_);
  }

  // Fetches results until the session is complete or maxCalls calls were made.
  std::vector<std::string> Drain(const char* session, int maxCalls = 20) {
    std::vector<std::string> results;
    for (int call = 0; call < maxCalls && recognition_ != MSC_RESULT_COMPLETE; ++call) {
      int error = -1;
      const char* text = QISRGetResult(session, &recognition_, 0, &error);
      EXPECT_EQ(error, MSC_OK);
      if (text != nullptr) results.push_back(text);
    }
    return results;
  }

  int endpoint_ = -1;
  int recognition_ = -1;
};

TEST_F(MscApiTest, ExportsEntryPointsByOrdinalOnly) {
  HMODULE sdk = GetModuleHandleW(L"msc_x64.dll");
  ASSERT_NE(sdk, nullptr);
  for (int ordinal : {1, 2, 20, 21, 23, 24}) {
    EXPECT_NE(GetProcAddress(sdk, MAKEINTRESOURCEA(ordinal)), nullptr) << ordinal;
  }
  EXPECT_EQ(GetProcAddress(sdk, "MSPLogin"), nullptr);
  EXPECT_EQ(GetProcAddress(sdk, "QISRAudioWrite"), nullptr);
}

TEST_F(MscApiTest, RefusesCallsOutOfOrder) {
  MscTestSession environment;
  int error = -1;
  EXPECT_EQ(QISRSessionBegin(nullptr, "sub = iat", &error), nullptr);
  EXPECT_EQ(error, MSC_ERROR_NOT_LOGGED_IN);
  EXPECT_EQ(MSPLogout(), MSC_ERROR_NOT_LOGGED_IN);
  EXPECT_EQ(MSPLogin(nullptr, nullptr, "work_dir = ."), MSC_ERROR_INVALID_PARAM);
  ASSERT_EQ(MSPLogin(nullptr, nullptr, kLoginParams), MSC_OK);
  EXPECT_EQ(MSPLogin(nullptr, nullptr, kLoginParams), MSC_ERROR_ALREADY_LOGGED_IN);

  const char* session = Begin();
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(QISRSessionBegin(nullptr, "sub = iat", &error), nullptr);
  EXPECT_EQ(error, MSC_ERROR_SESSION_BUSY);

  const std::string copy = session;  // same text, another pointer: not the session
  EXPECT_EQ(Write(copy.c_str(), "ab", MSC_AUDIO_FIRST), MSC_ERROR_INVALID_SESSION);
  EXPECT_EQ(QISRGetResult("msc-unknown", &recognition_, 0, &error), nullptr);
  EXPECT_EQ(error, MSC_ERROR_INVALID_SESSION);

  struct Step {
    int status;
    int expected;
  };
  const Step steps[] = {
      {MSC_AUDIO_CONTINUE, MSC_ERROR_AUDIO_STATUS},  // before the first block
      {3, MSC_ERROR_INVALID_PARAM},
      {MSC_AUDIO_FIRST, MSC_OK},
      {MSC_AUDIO_FIRST, MSC_ERROR_AUDIO_STATUS},
      {MSC_AUDIO_CONTINUE, MSC_OK},
      {MSC_AUDIO_LAST, MSC_OK},
      {MSC_AUDIO_CONTINUE, MSC_ERROR_AUDIO_STATUS},  // after the last block
      {MSC_AUDIO_LAST, MSC_ERROR_AUDIO_STATUS},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(Write(session, "ab", step.status), step.expected) << step.status;
  }
  EXPECT_EQ(QISRAudioWrite(session, nullptr, 2, MSC_AUDIO_LAST, &endpoint_, &recognition_),
            MSC_ERROR_INVALID_PARAM);

  EXPECT_EQ(QISRSessionEnd(session, "Success"), MSC_OK);
  EXPECT_EQ(QISRSessionEnd(session, "Success"), MSC_ERROR_INVALID_SESSION);
  EXPECT_NE(Begin(), nullptr);  // the next session may open
}

TEST_F(MscApiTest, EchoModeDigestsEveryByteInOrder) {
  MscTestSession environment;
  ASSERT_EQ(MSPLogin(nullptr, nullptr, kLoginParams), MSC_OK);
  const char* session = Begin();
  const std::string blocks[] = {"first block ", "second ", "third"};
  EXPECT_EQ(Write(session, blocks[0], MSC_AUDIO_FIRST), MSC_OK);
  EXPECT_EQ(recognition_, MSC_RESULT_PENDING);
  EXPECT_EQ(Write(session, blocks[1], MSC_AUDIO_CONTINUE), MSC_OK);
  EXPECT_EQ(Write(session, blocks[2], MSC_AUDIO_CONTINUE), MSC_OK);
  EXPECT_EQ(Write(session, "", MSC_AUDIO_LAST), MSC_OK);
  EXPECT_EQ(endpoint_, MSC_ENDPOINT_NONE);

  const std::string all = blocks[0] + blocks[1] + blocks[2];
  char digest[64];
  std::snprintf(digest, sizeof digest, MSC_ECHO_DIGEST_FORMAT,
                static_cast<unsigned long>(all.size()),
                crc32(0, reinterpret_cast<const Bytef*>(all.data()), all.size()));
  const std::vector<std::string> results = Drain(session);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_NE(results[0].find(std::string("\"w\":\"") + digest + "\""), std::string::npos)
      << results[0];
  EXPECT_EQ(recognition_, MSC_RESULT_COMPLETE);
}

TEST_F(MscApiTest, ScriptHandsOutPartialsEndOfSpeechAndFinals) {
  MscTestSession environment(R"({"sessions": [{
      "partials": [{"after_bytes": 4, "result": "P1"}, {"after_bytes": 6, "result": "P2"}],
      "end_of_speech_after_bytes": 6, "finals": ["F1", "F2"]}]})");
  ASSERT_EQ(MSPLogin(nullptr, nullptr, kLoginParams), MSC_OK);
  const char* session = Begin();
  EXPECT_EQ(Write(session, "ab", MSC_AUDIO_FIRST), MSC_OK);
  EXPECT_EQ(recognition_, MSC_RESULT_PENDING);
  EXPECT_EQ(Write(session, "cdef", MSC_AUDIO_CONTINUE), MSC_OK);
  EXPECT_EQ(recognition_, MSC_RESULT_READY);
  EXPECT_EQ(endpoint_, MSC_ENDPOINT_SPEECH_ENDED);
  EXPECT_EQ(Drain(session, 2), (std::vector<std::string>{"P1", "P2"}));
  EXPECT_EQ(recognition_, MSC_RESULT_PENDING);
  EXPECT_EQ(Write(session, "", MSC_AUDIO_LAST), MSC_OK);
  EXPECT_EQ(Drain(session), (std::vector<std::string>{"F1", "F2"}));
  EXPECT_EQ(recognition_, MSC_RESULT_COMPLETE);
}

TEST_F(MscApiTest, ScriptFailsChosenCallsAndCanNeverComplete) {
  MscTestSession environment(R"({"sessions": [
      {"errors": [{"call": "QISRSessionBegin", "at": 1, "code": 777}]},
      {"errors": [{"call": "QISRAudioWrite", "at": 2, "code": 778},
                  {"call": "QISRGetResult", "at": 1, "code": 779}],
       "never_completes": true}]})");
  ASSERT_EQ(MSPLogin(nullptr, nullptr, kLoginParams), MSC_OK);
  int error = -1;
  EXPECT_EQ(QISRSessionBegin(nullptr, "sub = iat", &error), nullptr);
  EXPECT_EQ(error, 777);
  const char* session = Begin();  // the second session follows the second plan
  EXPECT_EQ(Write(session, "ab", MSC_AUDIO_FIRST), MSC_OK);
  EXPECT_EQ(Write(session, "cd", MSC_AUDIO_CONTINUE), 778);
  EXPECT_EQ(Write(session, "cd", MSC_AUDIO_CONTINUE), MSC_OK);
  EXPECT_EQ(QISRGetResult(session, &recognition_, 0, &error), nullptr);
  EXPECT_EQ(error, 779);
  EXPECT_EQ(Write(session, "", MSC_AUDIO_LAST), MSC_OK);
  EXPECT_TRUE(Drain(session, 50).empty());
  EXPECT_EQ(recognition_, MSC_RESULT_PENDING);  // never complete
}

TEST_F(MscApiTest, ScriptComesFromTheWorkDirectoryAndMustParse) {
  MscTestSession environment;
  const std::string workDir = std::string("appid = 1, work_dir = ") +
      std::string(environment.folder().path().begin(), environment.folder().path().end());
  environment.WriteFile(L"msc_script.json", R"({"login_error": 555})");
  EXPECT_EQ(MSPLogin(nullptr, nullptr, workDir.c_str()), 555);
  environment.WriteFile(L"msc_script.json", R"({"sessions": 3})");
  EXPECT_EQ(MSPLogin(nullptr, nullptr, workDir.c_str()), MSC_ERROR_SCRIPT);
  environment.WriteFile(L"msc_script.json", "{");
  EXPECT_EQ(MSPLogin(nullptr, nullptr, workDir.c_str()), MSC_ERROR_SCRIPT);
}

TEST_F(MscApiTest, JournalRecordsEveryCall) {
  MscTestSession environment;
  ASSERT_EQ(MSPLogin(nullptr, nullptr, kLoginParams), MSC_OK);
  const char* session = Begin();
  Write(session, "abcd", MSC_AUDIO_FIRST);
  QISRSessionEnd(session, "Success");
  EXPECT_EQ(environment.Journal(),
            (std::vector<std::string>{"MSPLogin 0", "QISRSessionBegin 0 sub = iat",
                                      "QISRAudioWrite 0 status=1 bytes=4",
                                      "QISRSessionEnd 0 Success"}));
}

}  // namespace
