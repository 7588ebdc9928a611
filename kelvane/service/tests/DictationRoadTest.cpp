// The whole dictation road: a HID report presses the button, the fake microphone streams a
// fixture, the SDK stand-in recognises it, the release ends the session, and the text is
// typed into the focused EDIT of a test window.
#include "TranslationServer.h"  // first: it brings winsock2.h, which must precede windows.h

#include <gtest/gtest.h>
#include <windows.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "DictationScript.h"
#include "FakeHid.h"
#include "FakeWaveInDriver.h"
#include "FocusedEdit.h"
#include "HidPipe.h"
#include "HostileJson.h"
#include "ServiceTestSupport.h"
#include "TestCertificates.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr wchar_t kMicName[] = L"Kelvane Test Mic";
constexpr size_t kBufferBytes = 4096;  // 2048 frames of 16-bit mono
constexpr size_t kFixtureBuffers = 20;

// Speech stand-in: pseudo-random 16-bit samples filling the given number of microphone buffers.
Bytes SpeechFixture(size_t buffers = kFixtureBuffers) {
  Bytes pcm(buffers * kBufferBytes);
  uint32_t state = 12345;
  for (unsigned char& byte : pcm) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<unsigned char>(state >> 24);
  }
  return pcm;
}

// A JSON text as a quoted JSON string.
std::string Quoted(const std::string& json) {
  std::string quoted = "\"";
  for (char c : json) quoted += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
  return quoted + "\"";
}

class DictationRoadTest : public testing::Test {
 protected:
  explicit DictationRoadTest(size_t fixtureBuffers = kFixtureBuffers)
      : driver_({kMicName}, SpeechFixture(fixtureBuffers)) {
    service_.SetSettingsFolder(folder_.path());
    service_.SetNetworkCheck([] { return 0; });
    service_.SetClock([this] { return now_; });
    service_.Speech().SetVoiceFactory([this](ISpVoice** voice) {
      voice_.AddRef();
      *voice = &voice_;
      return S_OK;
    });
  }
  ~DictationRoadTest() override {
    service_.Stop();
    voice_.JoinNotifications();
  }

  void WriteSettings(const std::string& more) {
    WriteTextFile(folder_.File(CIMEService::kSettingsFileName),
                  SettingsText(pipe_.Path(), Narrow(kMicName), more));
  }
  // Starts the service with the SDK following the script (echo mode when empty) and waits
  // until the control device is open.
  void StartService(const std::string& script) {
    msc_ = std::make_unique<MscTestSession>(script);
    ASSERT_TRUE(edit_.HasFocus());
    ASSERT_EQ(service_.Start(), 1);
    ASSERT_TRUE(PumpUntil([&] { return trace_.Has(kTraceNormal, L"HID opened successfully."); }));
  }
  void Press() {
    now_ += 1000;
    ASSERT_TRUE(pipe_.Send(HidButtonReport(true)));
  }
  // Holds the button while the microphone records the whole fixture, then lets it go and
  // waits for the end of the session.
  void Dictate(std::chrono::milliseconds recording = std::chrono::seconds(5)) {
    const size_t begun = owner_.Messages(WM_USER + 3).size();
    const size_t ended = owner_.Messages(WM_USER + 4).size();
    driver_.Rewind();
    Press();
    ASSERT_TRUE(PumpUntil([&] { return owner_.Messages(WM_USER + 3).size() > begun; }));
    ASSERT_TRUE(driver_.WaitForFixtureRecorded(recording));
    ASSERT_TRUE(pipe_.Send(HidButtonReport(false)));
    ASSERT_TRUE(PumpUntil([&] { return owner_.Messages(WM_USER + 4).size() > ended; }, 20000));
  }
  void ExpectTyped(const std::wstring& text) {
    EXPECT_TRUE(PumpUntil([&] { return edit_.Typed().size() >= text.size(); }))
        << "typed: " << testing::PrintToString(edit_.Typed()) << ", EDIT focused: " << edit_.HasFocus();
    EXPECT_EQ(edit_.Typed(), text);
  }
  int ErrorsStartingWith(const std::wstring& prefix) {
    int count = 0;
    for (const auto& line : trace_.Lines()) {
      count += line.first == kTraceError && line.second.rfind(prefix, 0) == 0;
    }
    return count;
  }
  // The reports written to the control device so far.
  std::vector<Bytes> ControlOutput() {
    std::vector<Bytes> reports;
    for (Bytes report = pipe_.Receive(500); !report.empty(); report = pipe_.Receive(500)) {
      reports.push_back(report);
    }
    return reports;
  }
  static size_t CountStartingWith(const std::vector<Bytes>& reports, const Bytes& prefix) {
    size_t count = 0;
    for (const Bytes& report : reports) {
      count += report.size() >= prefix.size() &&
               std::equal(prefix.begin(), prefix.end(), report.begin());
    }
    return count;
  }

  TraceCapture trace_;
  TempFolder folder_;
  std::unique_ptr<MscTestSession> msc_;
  FakeHid hid_;
  HidPipe pipe_;
  FakeWaveInDriver driver_;
  FocusedEdit edit_;
  FakeSpVoice voice_;
  RecordingOwner owner_;
  DWORD now_ = 100000;
  CIMEService service_{&owner_};
};

TEST_F(DictationRoadTest, HeldButtonTypesTheRecognisedText) {
  WriteSettings("sr_config {\n  language_key: \"zh_cn\"\n  accent_key: \"mandarin\"\n  b_ptt: true\n}\n");
  StartService(kDictationScript);
  Dictate();
  ExpectTyped(kDictated);
  EXPECT_EQ(edit_.Text(), kDictated);

  std::vector<std::pair<UINT, std::wstring>> seen;
  for (const OwnerMessage& m : owner_.Messages()) {
    seen.emplace_back(m.message, std::to_wstring(m.wparam) + L" " + m.text);
  }
  EXPECT_EQ(seen, (std::vector<std::pair<UINT, std::wstring>>{
                      {WM_USER + 3, L"0 "},
                      {WM_USER + 2, L"0 你好"},
                      {WM_USER + 2, L"0 你好世界"},
                      {WM_USER + 2, L"0 你好世界。"},
                      {WM_USER + 2, L"5 你好世界。"},
                      {WM_USER + 4, L"0 "}}));
  EXPECT_EQ(owner_.SampleBytes(), kFixtureBuffers * kBufferBytes);
  // Twenty buffers in a row hold exactly four fifth buffers, whatever came before.
  EXPECT_EQ(CountStartingWith(ControlOutput(), {0x02, 0xB1}), 4u);
}

TEST_F(DictationRoadTest, EchoModeProvesTheAudioArrivedWhole) {
  WriteSettings("");
  StartService("");
  Dictate();
  const Bytes fixture = SpeechFixture();
  char digest[64];
  std::snprintf(digest, sizeof digest, MSC_ECHO_DIGEST_FORMAT, static_cast<unsigned long>(fixture.size()),
                crc32(0, fixture.data(), static_cast<uInt>(fixture.size())));
  ExpectTyped(CIMEService::Utf8ToWide(digest));
}

// The road reads the control device's button while that device takes no output reports.
class StalledControlDeviceTest : public DictationRoadTest {
 protected:
  // Enough buffers for eight periodic reports more than the pipe's buffer holds.
  static constexpr size_t kBuffers = (HidPipe::kBufferBytes / 128 + 8) * 5;
  StalledControlDeviceTest() : DictationRoadTest(kBuffers) {}
};

TEST_F(StalledControlDeviceTest, DictationGoesOnAndStopReturns) {
  WriteSettings("");
  StartService("");
  Dictate(std::chrono::seconds(30));  // the release is read: the session ends
  const Bytes fixture = SpeechFixture(kBuffers);
  char digest[64];
  std::snprintf(digest, sizeof digest, MSC_ECHO_DIGEST_FORMAT, static_cast<unsigned long>(fixture.size()),
                crc32(0, fixture.data(), static_cast<uInt>(fixture.size())));
  ExpectTyped(CIMEService::Utf8ToWide(digest));  // every buffer reached the recogniser
  EXPECT_EQ(owner_.SampleBytes(), fixture.size());
  EXPECT_TRUE(trace_.Has(kTraceError, L"CHIDDevice Write not taken within 200 ms, report dropped."));

  const auto start = std::chrono::steady_clock::now();
  service_.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST_F(DictationRoadTest, ControlCharactersAreNotTyped) {
  // The final result's words carry Backspace, Escape, NUL and BEL.
  const char script[] = R"({"sessions":[{"finals":["{\"sn\":1,\"ls\":true,\"ws\":[)"
                        R"({\"cw\":[{\"w\":\"你好\\b\\u001b\",\"sc\":0}]},)"
                        R"({\"cw\":[{\"w\":\"世界\\u0000。\\u0007\",\"sc\":0}]}]}"]}]})";
  WriteSettings("sr_config {\n  b_append_enter: true\n}\n");
  StartService(script);
  Dictate();
  ExpectTyped(std::wstring(kDictated) + L"\r\n");
  EXPECT_EQ(edit_.UnicodeKeyDowns(), 7);
  // The panel shows and counts what was typed (the line break aside).
  const std::vector<OwnerMessage> results = owner_.Messages(WM_IME_RESULT_TEXT);
  ASSERT_FALSE(results.empty());
  EXPECT_EQ(results.back().wparam, 5u);
  EXPECT_EQ(results.back().text, kDictated);
}

TEST_F(DictationRoadTest, HostileAnswersLeaveTheRoadWorking) {
  // Every hostile text comes as a partial result; the final one is sound.
  std::string partials;
  unsigned long afterBytes = 0;
  const std::vector<HostileJson> hostile = HostileJsonTable();
  for (const HostileJson& answer : hostile) {
    afterBytes += 2048;
    partials += std::string(partials.empty() ? "" : ",") + R"({"after_bytes":)" +
                std::to_string(afterBytes) + R"(,"result":)" + Quoted(answer.text) + "}";
  }
  const std::string finalResult = R"({"sn":1,"ls":true,"ws":[{"cw":[{"w":"你好世界。","sc":0}]}]})";
  const std::string script = R"({"sessions":[{"partials":[)" + partials + R"(],"finals":[)" +
                             Quoted(finalResult) + "]}]}";

  const TestCertificates certificates = MakeTestCertificates(Narrow(folder_.path()));
  TranslationServer server(certificates);
  server.Answer(200, NestedArrays(2000));
  service_.Translator().SetEndpoint("127.0.0.1", server.port());
  service_.Translator().SetCaCertPath(certificates.caPath);
  WriteSettings("translate_config {\n  b_translate: true\n  src_key: \"cn\"\n  dst_key: \"en\"\n}\n");
  StartService(script);
  Dictate();
  ExpectTyped(kDictated);  // the translation failed: the text itself is typed
  EXPECT_EQ(ErrorsStartingWith(L"CNiuTranslator Parse json fail: [[["), 1);
  EXPECT_EQ(ErrorsStartingWith(L"CIMEService Ayalyse result fail :"), static_cast<int>(hostile.size()));

  server.Answer(200, R"({"code":0,"data":{"result":{"trans_result":{"dst":"Hello world."}}}})");
  Dictate();
  ExpectTyped(std::wstring(kDictated) + L"Hello world.");
}

TEST_F(DictationRoadTest, AppendEnterTypesCarriageReturnAndLineFeed) {
  WriteSettings("sr_config {\n  b_append_enter: true\n}\n");
  StartService(kDictationScript);
  Dictate();
  ExpectTyped(std::wstring(kDictated) + L"\r\n");
  EXPECT_EQ(edit_.UnicodeKeyDowns(), 7);
  EXPECT_EQ(edit_.UnicodeKeyUps(), 7);
  EXPECT_EQ(owner_.Messages(WM_USER + 2).back().text, kDictated);  // shown without the line break
}

TEST_F(DictationRoadTest, TranslationTypesTheTranslatedText) {
  const TestCertificates certificates = MakeTestCertificates(Narrow(folder_.path()));
  TranslationServer server(certificates);
  server.Answer(200, R"({"code":0,"data":{"result":{"trans_result":{"dst":"Hello world."}}}})");
  service_.Translator().SetEndpoint("127.0.0.1", server.port());
  service_.Translator().SetCaCertPath(certificates.caPath);
  WriteSettings("translate_config {\n  b_translate: true\n  src_key: \"cn\"\n  dst_key: \"en\"\n}\n");
  StartService(kDictationScript);
  Dictate();
  ExpectTyped(L"Hello world.");
  EXPECT_EQ(owner_.Messages(WM_USER + 2).back().text, kDictated);
  const std::vector<ReceivedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].body.find(R"("business":{"from":"cn","to":"en"})"), std::string::npos)
      << requests[0].body;
}

// Two sessions: a short one the first press opens (the SDK hears its end at once), and the
// AI-mode one after the greeting, which names the stub program's phrase.
const char kAIModeScript[] = R"({"sessions":[
  {"end_of_speech_after_bytes":4096,"finals":[]},
  {"end_of_speech_after_bytes":8192,
   "finals":["{\"sn\":1,\"ls\":true,\"ws\":[{\"cw\":[{\"w\":\"请运行测试程序吧\",\"sc\":0}]}]}"]}]})";

TEST_F(DictationRoadTest, DoublePressRunsASpokenCommandAndSpeaksTheReply) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const std::wstring stub = std::filesystem::path(exe).parent_path() / L"ai_stub.exe";
  WriteTextFile(folder_.File(CAIHelper::kFileName),
                "ai_ability {\n  name: \"\xd4\xcb\xd0\xd0\xb2\xe2\xca\xd4\xb3\xcc\xd0\xf2\"\n"  // 运行测试程序
                "  exe: \"" + Escaped(Narrow(stub)) + "\"\n}\n");
  const std::wstring eventName = L"OrvaneDictationRoad" + std::to_wstring(GetCurrentProcessId());
  HANDLE started = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
  SetEnvironmentVariableW(L"AI_STUB_EVENT", eventName.c_str());
  WriteSettings("");
  StartService(kAIModeScript);

  Press();  // the first press opens the microphone; the SDK ends that session by itself
  ASSERT_TRUE(PumpUntil([&] { return trace_.Has(kTraceDebug, L"CIMEService OnDevClosed DevType:DT_Mic_General"); }));
  driver_.Rewind();
  now_ += 200;  // the second press comes 200 ms after the first
  ASSERT_TRUE(pipe_.Send(HidButtonReport(true)));

  EXPECT_EQ(WaitForSingleObject(started, 20000), WAIT_OBJECT_0);
  ASSERT_TRUE(PumpUntil([&] { return owner_.Messages(WM_USER + 5).size() >= 2; }, 20000));
  const std::vector<OwnerMessage> replies = owner_.Messages(WM_USER + 5);
  EXPECT_EQ(replies[0].text, L"请问有什么可以帮您？");
  EXPECT_EQ(replies[1].text, L"为您运行测试程序");
  const std::vector<OwnerMessage> modes = owner_.Messages(WM_USER + 7);
  ASSERT_EQ(modes.size(), 1u);
  EXPECT_EQ(modes[0].wparam, 1u);
  EXPECT_TRUE(edit_.Typed().empty()) << edit_.Typed();

  ASSERT_TRUE(Settle(service_, trace_));
  const std::vector<Bytes> output = ControlOutput();
  EXPECT_EQ(CountStartingWith(output, {0x02, 0xB2, 0x01}), 1u);  // indicator on after the greeting
  EXPECT_EQ(CountStartingWith(output, {0x02, 0xB2, 0x00}), 1u);  // and off after the command
  service_.Stop();
  voice_.JoinNotifications();
  EXPECT_EQ(voice_.Spoken(), (std::vector<std::wstring>{L"请问有什么可以帮您？", L"为您运行测试程序"}));
  SetEnvironmentVariableW(L"AI_STUB_EVENT", nullptr);
  CloseHandle(started);
}

}  // namespace
