#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "FakeSpVoice.h"
#include "MsTTS.h"
#include "TestEvent.h"
#include "TraceCapture.h"

namespace {

class CountingSink : public ITTSEventInterface {
 public:
  void OnSpeakEnd() override {
    ++ends;
    ended.Set();
  }
  std::atomic<int> ends{0};
  TestEvent ended;
};

class MsTTSTest : public testing::Test {
 protected:
  MsTTSTest() {
    tts_.SetVoiceFactory([this](ISpVoice** voice) {
      voice_.AddRef();
      *voice = &voice_;
      return S_OK;
    });
  }

  TraceCapture trace_;
  FakeSpVoice voice_;
  CountingSink sink_;
  CMsTTS tts_;
};

TEST_F(MsTTSTest, SpeaksAndReportsEachEndThenDetaches) {
  ASSERT_EQ(tts_.Create(&sink_), S_OK);
  EXPECT_TRUE(tts_.IsCreated());
  EXPECT_TRUE(trace_.Has(kTraceInfo, L"Create instance of ISpVoice...OK"));
  EXPECT_EQ(voice_.volume, 100);
  EXPECT_EQ(voice_.rate, 0);
  EXPECT_EQ(voice_.interest, 0x240000004ULL);
  EXPECT_EQ(voice_.queuedInterest, 0x240000004ULL);
  EXPECT_EQ(voice_.Sink(), static_cast<ISpNotifySink*>(&tts_));

  EXPECT_TRUE(tts_.Speak(L"请问有什么可以帮您？"));
  EXPECT_EQ(voice_.lastFlags, static_cast<DWORD>(SPF_ASYNC | SPF_PURGEBEFORESPEAK));
  EXPECT_TRUE(tts_.Speak(L""));  // cuts off, and ends too
  voice_.JoinNotifications();
  EXPECT_EQ(sink_.ends, 2);
  EXPECT_EQ(voice_.eventParameter.releases, 2u);  // each event's parameter is freed
  EXPECT_EQ(voice_.Spoken(), (std::vector<std::wstring>{L"请问有什么可以帮您？", L""}));
  EXPECT_TRUE(trace_.Has(kTraceDebug, L"CMsTTS Speak successfully"));

  tts_.Destroy();
  EXPECT_EQ(voice_.Sink(), nullptr);
  EXPECT_EQ(voice_.References(), 1u);  // only the test's own reference is left
  EXPECT_FALSE(tts_.IsCreated());
  EXPECT_FALSE(tts_.Speak(L"x"));
}

TEST_F(MsTTSTest, SpeakSaysWhenNoEndWillBeReported) {
  struct Case {
    const char* name;
    HRESULT interest, notifySink, speak;
    bool withSink;
    const wchar_t* line;
  };
  const Case cases[] = {
      {"no sink", S_OK, S_OK, S_OK, false, nullptr},
      {"interest refused", E_NOTIMPL, S_OK, S_OK, true,
       L"CMsTTS Fail to set up the end-of-speech notification, hr=0x80004001"},
      {"notify sink refused", S_OK, E_NOTIMPL, S_OK, true,
       L"CMsTTS Fail to set up the end-of-speech notification, hr=0x80004001"},
      {"speak refused", S_OK, S_OK, E_NOTIMPL, true, L"CMsTTS Speak fail, hr=0x80004001"},
  };
  for (const Case& c : cases) {
    FakeSpVoice voice;
    voice.interestResult = c.interest;
    voice.notifySinkResult = c.notifySink;
    voice.speakResult = c.speak;
    CountingSink sink;
    CMsTTS tts;
    tts.SetVoiceFactory([&voice](ISpVoice** created) {
      voice.AddRef();
      *created = &voice;
      return S_OK;
    });
    EXPECT_EQ(tts.Create(c.withSink ? &sink : nullptr), S_OK) << c.name;
    EXPECT_FALSE(tts.Speak(L"text")) << c.name;
    tts.Destroy();
    voice.JoinNotifications();
    EXPECT_EQ(sink.ends, 0) << c.name;
    if (c.line != nullptr) {
      EXPECT_TRUE(trace_.Has(kTraceError, c.line) || trace_.Has(kTraceDebug, c.line)) << c.name;
    }
    EXPECT_EQ(voice.References(), 1u) << c.name;
  }
}

TEST_F(MsTTSTest, FailedCreationLeavesNoVoice) {
  CMsTTS tts;
  tts.SetVoiceFactory([](ISpVoice** voice) {
    *voice = nullptr;
    return REGDB_E_CLASSNOTREG;
  });
  EXPECT_EQ(tts.Create(&sink_), REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(tts.IsCreated());
  EXPECT_FALSE(tts.Speak(L"x"));
  const std::wstring prefix = L"Failed to create instance of ISpVoice, Error:";
  bool traced = false;
  for (const auto& line : trace_.Lines()) {
    traced |= line.first == kTraceError && line.second.compare(0, prefix.size(), prefix) == 0;
  }
  EXPECT_TRUE(traced);
}

TEST_F(MsTTSTest, AnswersQueryInterfaceByTheComRule) {
  void* object = &object;
  EXPECT_EQ(tts_.QueryInterface(IID_IUnknown, &object), S_OK);
  EXPECT_EQ(object, static_cast<ISpNotifySink*>(&tts_));
  EXPECT_EQ(tts_.QueryInterface(IID_ISpNotifySink, &object), S_OK);
  EXPECT_EQ(tts_.QueryInterface(IID_ISpVoice, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(tts_.AddRef(), 0u);
  EXPECT_EQ(tts_.Release(), 0u);
}

TEST(MsTTSSystemVoiceTest, NeverHangs) {
  TraceCapture trace;
  CountingSink sink;
  CMsTTS tts;
  tts.Create(&sink);
  // Either the voice refuses (no voice, or Wine's stubs) or the end arrives.
  if (tts.Speak(L"test")) {
    EXPECT_TRUE(sink.ended.Wait(10000));
  }
  tts.Destroy();
}

}  // namespace
