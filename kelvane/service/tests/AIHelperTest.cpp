#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AIHelper.h"
#include "FileBytes.h"
#include "TempFolder.h"
#include "TraceCapture.h"

namespace {

// Phrases as GBK bytes, the way the file stores them.
const char kPaintGbk[] = "\xb4\xf2\xbf\xaa\xbb\xad\xcd\xbc";           // 打开画图
const char kNotepadGbk[] = "\xb4\xf2\xbf\xaa\xbc\xc7\xca\xc2\xb1\xbe";  // 打开记事本

struct ShellCall {
  std::wstring verb, file, parameters;
  INT show;
};

class AIHelperTest : public testing::Test {
 protected:
  AIHelperTest() {
    helper_.SetShellExecute([this](HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                   LPCWSTR, INT show) {
      calls_.push_back({verb, file, parameters, show});
      return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(shellResult_));
    });
  }

  void WriteCommands(const std::string& text) {
    std::ofstream(std::filesystem::path(folder_.File(CAIHelper::kFileName)), std::ios::binary)
        << text;
  }

  // The file the matched command opens; empty when nothing matches.
  std::wstring Started(const std::wstring& sentence) {
    AICommand command;
    if (!helper_.Match(sentence, command)) return L"";
    calls_.clear();
    EXPECT_EQ(command.action(), 1);
    return calls_.empty() ? L"?" : calls_.back().file;
  }

  TraceCapture trace_;
  TempFolder folder_;
  CAIHelper helper_;
  std::vector<ShellCall> calls_;
  int shellResult_ = 42;
};

TEST_F(AIHelperTest, FileCommandsJoinAndOverrideTheBuiltIns) {
  WriteCommands(std::string("ai_ability {\r\n  name: \"") + kPaintGbk +
                "\"\r\n  exe: \"mspaint\"\r\n}\r\nai_ability {\r\n  name: \"" + kNotepadGbk +
                "\"\r\n  exe: \"C:\\\\notes.txt\"\r\n}\r\nai_ability {\n  name: \"\"\n  exe: "
                "\"cmd\"\n}\n# the end of the list\n");
  ASSERT_TRUE(helper_.LoadFrom(folder_.path()));

  struct Case {
    const wchar_t* sentence;
    const wchar_t* started;
  };
  const Case cases[] = {
      {L"请帮我打开画图吧", L"mspaint"},
      {L"现在打开记事本", L"C:\\notes.txt"},           // the file overrides the built-in
      {L"打开计算器", L"calc"},                        // built-ins stay
      {L"打开记事本然后打开计算器", L"calc"},          // 计 (U+8BA1) sorts before 记 (U+8BB0)
      {L"打开计算机", L""},                            // no phrase occurs
      {L"随便说点什么", L""},                          // the empty phrase was skipped
  };
  for (const Case& c : cases) EXPECT_EQ(Started(c.sentence), c.started) << c.sentence;
  EXPECT_TRUE(trace_.Has(kTraceError, L"CAIHelper Skip command without phrase, exe:cmd"));
}

TEST_F(AIHelperTest, MissingOrBrokenFileKeepsTheBuiltIns) {
  const std::string files[] = {"", "ai_ability { name: \"x\" exe: }"};
  for (const std::string& file : files) {
    CAIHelper helper;
    if (!file.empty()) WriteCommands(file);
    EXPECT_TRUE(helper.LoadFrom(folder_.path()));
    AICommand command;
    EXPECT_TRUE(helper.Match(L"打开记事本", command));
    EXPECT_EQ(command.name, L"打开记事本");
    EXPECT_FALSE(helper.Match(L"x", command));  // nothing of the broken file
  }
  EXPECT_EQ(trace_.Count(L"CAIHelper Fail to load config file:AIAbilities.prototxt"), 2);
  // The user's file is never moved or copied: nothing saves it.
  EXPECT_EQ(ReadBytes(folder_.File(CAIHelper::kFileName)), files[1]);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
}

TEST_F(AIHelperTest, RunOpensTheFileAndReportsFailure) {
  EXPECT_TRUE(helper_.Run(CAIHelper::kRunFileEntry, L"report.txt", {L"-a", L"b"}));
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].verb, L"open");
  EXPECT_EQ(calls_[0].parameters, L"-a b ");
  EXPECT_EQ(calls_[0].show, SW_SHOW);
  EXPECT_TRUE(trace_.Has(kTraceDebug, L"AIFunc Run:[report.txt] Params:[-a b ]"));

  shellResult_ = 32;
  EXPECT_FALSE(helper_.Run(CAIHelper::kRunBuiltIn, L"calc", {}));
  EXPECT_TRUE(trace_.Has(kTraceError, L"AIFunc Run Fail:[calc] Params:[]"));
  EXPECT_FALSE(helper_.Run(2, L"calc", {}));
  EXPECT_EQ(calls_.size(), 2u);  // the unknown mode starts nothing
}

TEST(AIHelperShellTest, RunStartsARealProgram) {
  TraceCapture trace;
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring stub = std::filesystem::path(path).parent_path() / L"ai_stub.exe";
  const std::wstring eventName = L"OrvaneAIStub" + std::to_wstring(GetCurrentProcessId());
  HANDLE started = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());

  CAIHelper helper;
  EXPECT_TRUE(helper.Run(CAIHelper::kRunFileEntry, stub, {eventName}));
  EXPECT_EQ(WaitForSingleObject(started, 10000), WAIT_OBJECT_0);
  EXPECT_FALSE(helper.Run(CAIHelper::kRunFileEntry, stub + L".missing", {}));
  CloseHandle(started);
}

}  // namespace
