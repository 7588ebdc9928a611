#include "TraceServiceControl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "FileBytes.h"
#include "TempFolder.h"
#include "TraceMessage.h"
#include "TraceTestSupport.h"
#include "mfc/AfxFileDialog.h"

namespace {

const wchar_t kStamp[] = L"【 2026-12-09 09:36:12 】";
// As in the trace dialog's template: no word wrap.
constexpr DWORD kConsoleStyle = WS_POPUP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                ES_AUTOVSCROLL | ES_AUTOHSCROLL;

class TraceConsoleTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(AfxInitRichEdit2());
    HWND edit = CreateWindowExW(0, L"RichEdit20W", L"", kConsoleStyle, 0, 0, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(console_.SubclassWindow(edit));
    console_.SetClock([this] { return now_; });
    console_.SetPrefix(L"ORVANE");
  }
  void TearDown() override {
    SetTraceConsoleWindow(nullptr);
    console_.OpenLog(false, nullptr);
    console_.DestroyWindow();
    CFileDialog::SetModalHook(nullptr);
  }

  std::wstring LogPath(const wchar_t* name) const { return folder_.path() + L"\\Log\\" + name; }
  std::wstring Text() const { return RichText(console_.m_hWnd); }

  TempFolder folder_;
  SYSTEMTIME now_ = MakeTime(2026, 12, 9, 9, 36, 12);
  CTraceServiceControl console_;
};

TEST_F(TraceConsoleTest, LineFromAnotherThreadReachesConsoleAndLogFile) {
  ASSERT_TRUE(console_.OpenLog(true, folder_.path().c_str()));
  const std::wstring logPath = LogPath(L"ORVANE_2026-12-09 09-36-12.txt");
  EXPECT_EQ(std::wstring(console_.LogFilePath()), logPath);
  SetTraceConsoleWindow(console_.m_hWnd);

  std::thread([] {
    EXPECT_TRUE(TraceMessage(kTraceError, L"CISRProcessor Configure fail %s", L"错误"));
  }).join();
  ASSERT_TRUE(PumpUntil([this] { return !Text().empty(); }));

  const std::wstring line = std::wstring(kStamp) + L"CISRProcessor Configure fail 错误";
  EXPECT_EQ(Text(), line + L"\r");
  EXPECT_EQ(FormatAt(console_.m_hWnd, 0).crTextColor, RGB(255, 0, 0));
  EXPECT_EQ(FormatAt(console_.m_hWnd, static_cast<long>(line.size()) - 1).crTextColor,
            RGB(255, 0, 0));
  EXPECT_EQ(ReadBytes(logPath),
            LogLine(kStamp, 'E', L"CISRProcessor Configure fail 错误"));
}

TEST_F(TraceConsoleTest, EachLevelHasItsColourAndLetter) {
  ASSERT_TRUE(console_.OpenLog(true, folder_.path().c_str()));
  const struct {
    int level;
    char letter;
    COLORREF color;
  } looks[] = {{0, 'I', 0x8CFFFF}, {1, 'N', 0x00FF00}, {2, 'W', 0xFF00FF},
               {3, 'E', 0x0000FF}, {4, 'D', 0xFFFF00}, {-2, 'U', 0x000000}};
  std::string expectedLog;
  for (const auto& look : looks) {
    const long start = console_.GetTextLength();
    console_.Trace(L"x", look.level);
    EXPECT_EQ(FormatAt(console_.m_hWnd, start).crTextColor, look.color) << look.level;
    expectedLog += LogLine(kStamp, look.letter, L"x");
  }
  EXPECT_EQ(ReadBytes(console_.LogFilePath().GetString()), expectedLog);
}

TEST_F(TraceConsoleTest, FilterDropsHigherLevelsFromConsoleAndFile) {
  EXPECT_EQ(console_.GetFilter(), 4);
  for (int filter = -1; filter <= 4; ++filter) {
    console_.SetFilter(filter);
    ASSERT_TRUE(console_.OpenLog(true, folder_.path().c_str()));
    console_.SetWindowText(L"");
    for (int level = -2; level <= 4; ++level) console_.Trace(L"line", level);
    console_.Trace(L"line", 5);

    std::string expectedLog;
    std::wstring expectedText;
    for (int level = -2; filter >= 0 && level <= filter; ++level) {
      expectedLog += LogLine(kStamp, "UUINWED"[level + 2], L"line");
      expectedText += std::wstring(kStamp) + L"line\r";
    }
    EXPECT_EQ(Text(), expectedText) << "filter " << filter;
    EXPECT_EQ(ReadBytes(console_.LogFilePath().GetString()), expectedLog) << "filter " << filter;
    ASSERT_TRUE(console_.OpenLog(false, nullptr));
    std::filesystem::remove_all(folder_.path() + L"\\Log");
  }
}

TEST_F(TraceConsoleTest, NewDayOpensNewFileInTheSettingsLogFolder) {
  now_ = MakeTime(2026, 12, 9, 23, 59, 58);
  ASSERT_TRUE(console_.OpenLog(true, folder_.path().c_str()));
  console_.Trace(L"before midnight", 1);
  now_ = MakeTime(2026, 12, 9, 23, 59, 59);
  console_.Trace(L"same day", 1);
  now_ = MakeTime(2026, 12, 10, 0, 0, 1);
  console_.Trace(L"after midnight", 1);

  const std::wstring firstPath = LogPath(L"ORVANE_2026-12-09 23-59-58.txt");
  const std::wstring secondPath = LogPath(L"ORVANE_2026-12-10 00-00-01.txt");
  EXPECT_EQ(std::wstring(console_.LogFilePath()), secondPath);
  EXPECT_EQ(ReadBytes(firstPath), LogLine(L"【 2026-12-09 23:59:58 】", 'N', L"before midnight") +
                                      LogLine(L"【 2026-12-09 23:59:59 】", 'N', L"same day"));
  EXPECT_EQ(ReadBytes(secondPath), LogLine(L"【 2026-12-10 00:00:01 】", 'N', L"after midnight"));
  EXPECT_FALSE(std::filesystem::exists(L"Log\\ORVANE_2026-12-10 00-00-01.txt"))
      << "nothing goes to the current directory";
}

TEST_F(TraceConsoleTest, WithoutLogFolderTheConsoleStillWorks) {
  const std::wstring notAFolder = folder_.File(L"plain-file");
  WriteBytes(notAFolder, "x");
  EXPECT_FALSE(console_.OpenLog(true, notAFolder.c_str()));
  EXPECT_TRUE(console_.Trace(L"console only", 0));
  EXPECT_EQ(Text(), std::wstring(kStamp) + L"console only\r");
}

TEST_F(TraceConsoleTest, CharactersGbkLacksDoNotStopTheLog) {
  ASSERT_TRUE(console_.OpenLog(true, folder_.path().c_str()));
  console_.Trace(L"smile \U0001F600 end", 0);
  console_.Trace(L"next", 0);
  EXPECT_EQ(ReadBytes(console_.LogFilePath().GetString()),
            LogLine(kStamp, 'I', L"smile ?? end") + LogLine(kStamp, 'I', L"next"));
}

TEST_F(TraceConsoleTest, LinesGoToTheEndWhereverTheCaretIs) {
  console_.Trace(L"first", 0);
  console_.SetSel(0, 3);
  console_.Trace(L"second", 0);
  EXPECT_EQ(Text(), std::wstring(kStamp) + L"first\r" + kStamp + L"second\r");
}

TEST_F(TraceConsoleTest, AddressesBecomeLinkRuns) {
  console_.Trace(L"see http://a.cn/p?q=1 and http://b-c", 0);
  const std::wstring text = Text();
  const long link = static_cast<long>(text.find(L"http://a.cn"));
  const long afterLink = static_cast<long>(text.find(L" and"));
  const long secondLink = static_cast<long>(text.find(L"http://b"));
  const long hyphen = static_cast<long>(text.find(L"-c"));
  EXPECT_TRUE(FormatAt(console_.m_hWnd, link).dwEffects & CFE_LINK);
  EXPECT_TRUE(FormatAt(console_.m_hWnd, afterLink - 1).dwEffects & CFE_LINK) << "the '1'";
  EXPECT_FALSE(FormatAt(console_.m_hWnd, afterLink).dwEffects & CFE_LINK);
  EXPECT_FALSE(FormatAt(console_.m_hWnd, link - 1).dwEffects & CFE_LINK);
  EXPECT_TRUE(FormatAt(console_.m_hWnd, secondLink).dwEffects & CFE_LINK);
  EXPECT_FALSE(FormatAt(console_.m_hWnd, hyphen).dwEffects & CFE_LINK);
  EXPECT_EQ(FormatAt(console_.m_hWnd, link).crTextColor, RGB(255, 255, 140));
}

TEST_F(TraceConsoleTest, ConsoleStartsOverAfter524287Characters) {
  // Windows' rich edit stops taking text at its limit (32767 by default); Wine's does not.
  EXPECT_GT(console_.SendMessage(EM_GETLIMITTEXT), CTraceServiceControl::kResetLength + 32767);
  ASSERT_TRUE(console_.OpenLog(true, folder_.path().c_str()));
  const std::wstring chunk(30000, L'x');
  console_.Trace(chunk.c_str(), 0);
  const long lineLength = console_.GetTextLength();
  ASSERT_GT(lineLength, static_cast<long>(chunk.size()));
  long longest = lineLength;
  int lines = 1;
  while (console_.GetTextLength() <= CTraceServiceControl::kResetLength) {
    console_.Trace(chunk.c_str(), 0);
    ++lines;
    ASSERT_EQ(console_.GetTextLength(), lineLength * lines) << "every line is kept whole";
    longest = console_.GetTextLength();
  }
  console_.Trace(chunk.c_str(), 0);
  EXPECT_GT(longest, CTraceServiceControl::kResetLength);
  EXPECT_EQ(console_.GetTextLength(), lineLength) << "only the newest line";
  std::string expectedLog;
  for (int i = 0; i <= lines; ++i) expectedLog += LogLine(kStamp, 'I', chunk);
  EXPECT_EQ(ReadBytes(console_.LogFilePath().GetString()), expectedLog) << "the file keeps all";
}

TEST_F(TraceConsoleTest, SaveWritesTheTextAsUtf16le) {
  console_.Trace(L"中文 one", 0);
  console_.Trace(L"two", 1);
  const std::wstring path = folder_.File(L"saved.txt");
  bool asked = false;
  CFileDialog::SetModalHook([&](const CFileDialog& dialog, CString& chosen) {
    asked = true;
    EXPECT_FALSE(dialog.IsOpenDialog());
    EXPECT_STREQ(dialog.m_ofn.lpstrDefExt, L"txt");
    EXPECT_EQ(std::wstring(dialog.m_ofn.lpstrFilter, 10), std::wstring(L"信息\0*.txt\0\0", 10));
    EXPECT_TRUE(dialog.m_ofn.Flags & OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(dialog.m_ofn.Flags & OFN_HIDEREADONLY);
    chosen = path.c_str();
    return TRUE;
  });
  WriteBytes(path, std::string(4096, 'z'));  // an older, longer file is replaced
  console_.SendMessage(WM_COMMAND, CTraceServiceControl::ID_TRACE_SAVE);
  ASSERT_TRUE(asked);

  CString text;
  console_.GetWindowText(text);
  const std::string bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), text.GetLength() * sizeof(wchar_t));
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), text.GetLength()),
            text.GetString());
  EXPECT_EQ(bytes.substr(0, 2), std::string("\x10\x30", 2)) << "'【' first: no byte-order mark";
}

TEST_F(TraceConsoleTest, CancelledSaveWritesNothing) {
  console_.Trace(L"kept", 0);
  CFileDialog::SetModalHook([](const CFileDialog&, CString&) { return FALSE; });
  console_.SendMessage(WM_COMMAND, CTraceServiceControl::ID_TRACE_SAVE);
  EXPECT_TRUE(std::filesystem::is_empty(folder_.path()));
}

struct MenuItem {
  UINT id;
  const wchar_t* text;
  bool enabled;
};

void ExpectMenu(const CMenu& menu, const std::vector<MenuItem>& items) {
  ASSERT_EQ(GetMenuItemCount(menu.GetSafeHmenu()), 6);
  for (size_t i = 0; i < items.size(); ++i) {
    const UINT position = i < 4 ? static_cast<UINT>(i) : static_cast<UINT>(i + 1);
    EXPECT_EQ(GetMenuItemID(menu.GetSafeHmenu(), position), items[i].id);
    wchar_t text[64] = L"";
    GetMenuStringW(menu.GetSafeHmenu(), position, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, items[i].text);
    const UINT state = GetMenuState(menu.GetSafeHmenu(), position, MF_BYPOSITION);
    EXPECT_EQ((state & (MF_DISABLED | MF_GRAYED)) == 0, items[i].enabled) << items[i].id;
  }
  EXPECT_TRUE(GetMenuState(menu.GetSafeHmenu(), 4, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST_F(TraceConsoleTest, ContextMenuFollowsTextAndSelection) {
  {
    CMenu empty;
    console_.BuildContextMenu(empty);
    ExpectMenu(empty, {{100, L"复制(&C)\tCtrl+C", false},
                       {110, L"全选(&A)\tCtrl+A", false},
                       {120, L"删除(&D)", false},
                       {130, L"清除信息", false},
                       {140, L"保存信息...", false}});
  }
  console_.Trace(L"some text", 0);
  console_.SetSel(0, 0);
  {
    CMenu unselected;
    console_.BuildContextMenu(unselected);
    ExpectMenu(unselected, {{100, L"复制(&C)\tCtrl+C", false},
                            {110, L"全选(&A)\tCtrl+A", true},
                            {120, L"删除(&D)", false},
                            {130, L"清除信息", true},
                            {140, L"保存信息...", true}});
  }
  console_.SendMessage(WM_COMMAND, CTraceServiceControl::ID_TRACE_SELECT_ALL);
  {
    CMenu allSelected;
    console_.BuildContextMenu(allSelected);
    ExpectMenu(allSelected, {{100, L"复制(&C)\tCtrl+C", true},
                             {110, L"全选(&A)\tCtrl+A", false},
                             {120, L"删除(&D)", false},
                             {130, L"清除信息", true},
                             {140, L"保存信息...", true}});
  }
}

TEST_F(TraceConsoleTest, CommandsSelectCopyAndClear) {
  console_.Trace(L"copy me", 0);
  console_.SendMessage(WM_COMMAND, CTraceServiceControl::ID_TRACE_SELECT_ALL);
  long start = -1, end = -1;
  console_.GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, console_.GetTextLength());

  console_.SendMessage(WM_COMMAND, CTraceServiceControl::ID_TRACE_COPY);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(data, nullptr);
  const std::wstring copied(static_cast<const wchar_t*>(GlobalLock(data)));
  GlobalUnlock(data);
  CloseClipboard();
  EXPECT_NE(copied.find(L"copy me"), std::wstring::npos);

  console_.SendMessage(WM_COMMAND, CTraceServiceControl::ID_TRACE_CLEAR);
  EXPECT_EQ(console_.GetTextLength(), 0);
}

}  // namespace
