// The rich edit over the real windowless text services: typing, the Return and Tab rules,
// number-only input and paste, formatted pastes, the maximum length, the prompt, the caret and
// the engine-less fallbacks.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "RecordingContext.h"
#include "RenderTestSupport.h"
#include "layout/Box.h"
#include "widgets/edit/RichEdit.h"
#include "widgets/edit/TextHost.h"

namespace ui {
namespace {

// Holds the given keys down in this thread's keyboard state for the guard's lifetime.
class HeldKeys {
 public:
  HeldKeys(std::initializer_list<int> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    memcpy(state, saved_, sizeof(state));
    for (int key : {VK_CONTROL, VK_SHIFT, VK_TAB}) state[key] = 0;
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
  }
  ~HeldKeys() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

class RichEditTest : public FrameworkStarted {
 protected:
  void SetUp() override {
    FrameworkStarted::SetUp();
    events_.clear();
    window_ = std::make_unique<RecordingWindow>();
    root_ = new Box();
    edit_ = new RichEdit();
    root_->Add(edit_);
    edit_->AttachAllEvents([this](EventArgs* args) {
      events_.push_back(args->Type);
      return true;
    });
  }
  // Attributes first, then into the window: the engine starts at initialisation.
  void Start(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attributes) {
    for (const auto& attribute : attributes) edit_->SetAttribute(attribute.first, attribute.second);
    window_->AttachRoot(root_);
    edit_->SetPos(RECT{0, 0, 200, 100});
    ASSERT_NE(edit_->GetHost(), nullptr) << "msftedit.dll text services";
  }
  void TearDown() override {
    if (window_->GetRoot() != root_) delete root_;
    window_.reset();  // deletes an attached root
    FrameworkStarted::TearDown();
  }
  void Send(int type, wchar_t key) {
    EventArgs args;
    args.Type = type;
    args.pSender = edit_;
    args.chKey = key;
    args.wParam = key;
    edit_->HandleMessage(args);
  }
  void Type(const std::wstring& text) {
    for (wchar_t ch : text) Send(kEventChar, ch);
  }
  int Count(int type) const { return static_cast<int>(std::count(events_.begin(), events_.end(), type)); }

  std::unique_ptr<RecordingWindow> window_;
  Box* root_ = nullptr;
  RichEdit* edit_ = nullptr;
  std::vector<int> events_;
};

TEST_F(RichEditTest, TypingReachesTheEngineAndAnnouncesChanges) {
  Start({{L"text", L"ab"}});
  EXPECT_EQ(edit_->GetText(), L"ab");
  Type(L"cd");  // the caret starts in front of the initial text
  EXPECT_EQ(edit_->GetText(), L"cdab");
  EXPECT_GE(Count(kEventTextChange), 2);
  edit_->SetText(L"new");
  EXPECT_EQ(edit_->GetText(), L"new");
  EXPECT_EQ(edit_->GetUTF8Text(), "new");
  edit_->SetUTF8Text("\xE4\xB8\xAD");
  EXPECT_EQ(edit_->GetText(), L"\x4E2D");
  edit_->SetSelAll();
  EXPECT_EQ(edit_->GetSelText(), L"\x4E2D");
}

TEST_F(RichEditTest, NumberOnlyDropsOtherCharacters) {
  Start({{L"number", L"true"}});
  Type(L"1a2-3");
  EXPECT_EQ(edit_->GetText(), L"123");
}

TEST_F(RichEditTest, ReturnRules) {
  struct Case {
    const wchar_t* multiline;
    const wchar_t* want_return_msg;
    const wchar_t* want_ctrl;
    std::initializer_list<int> held;
    bool sends_return;
  };
  const Case cases[] = {
      {L"false", L"true", L"false", {}, true},
      {L"false", L"true", L"false", {VK_CONTROL}, false},
      {L"false", L"true", L"true", {VK_CONTROL}, true},
      {L"false", L"true", L"true", {}, false},
      {L"false", L"true", L"false", {VK_SHIFT}, false},
      {L"true", L"false", L"false", {}, false},
  };
  for (const Case& c : cases) {
    TearDown();
    SetUp();
    Start({{L"multiline", c.multiline},
           {L"wantreturnmsg", c.want_return_msg},
           {L"returnmsgwantctrl", c.want_ctrl}});
    HeldKeys keys(c.held);
    Send(kEventKeyDown, VK_RETURN);
    EXPECT_EQ(Count(kEventReturn), c.sends_return ? 1 : 0)
        << "multiline " << c.multiline << " want " << c.want_return_msg << " ctrl "
        << c.want_ctrl << " held " << c.held.size();
  }
}

TEST_F(RichEditTest, TabHeldSendsTabUnlessTheEditWantsIt) {
  Start({{L"wanttab", L"false"}});
  {
    HeldKeys keys({VK_TAB});
    Send(kEventChar, L'\t');
  }
  EXPECT_EQ(Count(kEventTab), 1);
  EXPECT_EQ(edit_->GetText(), L"");
  edit_->SetAttribute(L"wanttab", L"true");
  {
    HeldKeys keys({VK_TAB});
    Send(kEventChar, L'\t');
  }
  EXPECT_EQ(Count(kEventTab), 1);
  EXPECT_EQ(edit_->GetText(), L"\t");
}

// Puts text and the bytes of another format on the clipboard, as another program would.
void PutClipboard(const std::wstring& text, UINT format, const std::string& bytes) {
  EXPECT_TRUE(RichEdit::SetClipboardText(text));
  EXPECT_TRUE(OpenClipboard(nullptr));
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  SetClipboardData(format, block);
  CloseClipboard();
}

// Text and a private format; returns the format.
UINT PutClipboard(const std::wstring& text) {
  const UINT private_format = RegisterClipboardFormatW(L"OrvaneTestFormat");
  PutClipboard(text, private_format, "keep");
  return private_format;
}

TEST_F(RichEditTest, NumberOnlyPastesDigitsAndLeavesTheClipboardAlone) {
  struct Case {
    const wchar_t* clipboard;
    const wchar_t* pasted;
  };
  const Case cases[] = {{L"a1b2", L"12"}, {L"no digits", L""}, {L"3.14", L"314"}, {L"", L""}};
  enum Route { kCtrlV, kShiftInsert, kPasteMessage };
  for (Route route : {kCtrlV, kShiftInsert, kPasteMessage}) {
    for (const Case& c : cases) {
      TearDown();
      SetUp();
      Start({{L"number", L"true"}});
      const UINT private_format = PutClipboard(c.clipboard);
      if (route == kCtrlV) {
        HeldKeys keys({VK_CONTROL});
        Send(kEventKeyDown, L'V');
      } else if (route == kShiftInsert) {
        HeldKeys keys({VK_SHIFT});
        Send(kEventKeyDown, VK_INSERT);
      } else {
        edit_->TxSendMessage(WM_PASTE, 0, 0, nullptr);
      }
      EXPECT_EQ(edit_->GetText(), c.pasted) << route << " " << c.clipboard;
      EXPECT_EQ(RichEdit::GetClipboardText(), c.clipboard) << route;
      EXPECT_TRUE(IsClipboardFormatAvailable(private_format)) << route << " " << c.clipboard;
    }
  }
}

TEST_F(RichEditTest, TextGoingInIsCutAtTheMaximumLength) {
  const size_t limit = 32767;
  const ULONGLONG start = GetTickCount64();
  // Single-line, as the noise field: Wine's engine wraps long text in quadratic time.
  Start({{L"autohscroll", L"true"}, {L"multiline", L"false"}});
  edit_->SetText(std::wstring(100000, L'x'));
  EXPECT_EQ(edit_->GetText().size(), limit);
  Type(L"y");  // full: typing inserts nothing
  EXPECT_EQ(edit_->GetText().find(L'y'), std::wstring::npos);

  // A paste replaces the selection and is cut to the room left.
  edit_->SetText(std::wstring(limit - 3, L'x'));
  PutClipboard(std::wstring(10 << 20, L'p'));  // 10 MiB of text
  {
    HeldKeys keys({VK_CONTROL});
    Send(kEventKeyDown, L'V');
  }
  std::wstring text = edit_->GetText();
  EXPECT_EQ(text.size(), limit);
  EXPECT_EQ(text.substr(text.size() - 3), L"ppp");
  edit_->SetSelAll();
  edit_->TxSendMessage(WM_PASTE, 0, 0, nullptr);
  text = edit_->GetText();
  EXPECT_EQ(text.size(), limit);
  EXPECT_EQ(text.find(L'x'), std::wstring::npos);

  // A number-only edit cuts the digits it pastes.
  TearDown();
  SetUp();
  Start({{L"autohscroll", L"true"}, {L"multiline", L"false"}, {L"number", L"true"}});
  edit_->SetText(std::wstring(limit - 2, L'1'));
  PutClipboard(L"a9b8c7");
  edit_->TxSendMessage(WM_PASTE, 0, 0, nullptr);
  text = edit_->GetText();
  EXPECT_EQ(text.size(), limit);
  EXPECT_EQ(text.substr(text.size() - 3), L"198");
  EXPECT_LT(GetTickCount64() - start, 30000u) << "ms for all of the above";
}

// Puts formatted text (RTF) and its plain form on the clipboard.
void PutFormatted(const std::string& rtf, const std::wstring& plain) {
  PutClipboard(plain, RegisterClipboardFormatW(CF_RTF), rtf + '\0');
}

TEST_F(RichEditTest, RichPasteKeepsItsFormattingPlainPasteDoesNot) {
  for (const wchar_t* rich : {L"true", L"false"}) {
    SCOPED_TRACE(testing::Message() << "rich " << rich);
    TearDown();
    SetUp();
    Start({{L"rich", rich}, {L"autohscroll", L"true"}, {L"multiline", L"false"}});
    PutFormatted("{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 plain \\b bold\\b0  end}", L"plain bold end");
    {
      HeldKeys keys({VK_CONTROL});
      Send(kEventKeyDown, L'V');
    }
    EXPECT_EQ(edit_->GetText(), L"plain bold end");
    CHARRANGE inside_bold = {7, 8};
    edit_->TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&inside_bold), nullptr);
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    edit_->TxSendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format), nullptr);
    EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, rich == std::wstring(L"true"));
  }
}

TEST_F(RichEditTest, RichPasteHoldsTheMaximumLengthBetweenCharacters) {
  const size_t limit = 32767;
  const std::wstring face = L"\xD83D\xDE00";  // one character, two UTF-16 units
  struct Case {
    const char* name;
    std::string rtf;
    std::wstring plain;
    std::wstring tail;  // of the text afterwards
  };
  const Case cases[] = {
      // The plain text does not fit the room of 3: it goes in cut, without its format.
      {"too long", "{\\rtf1\\ansi \\b abcdefgh\\b0}", L"abcdefgh", L"abc"},
      // Formatted text longer than its plain form: the engine's excess is removed again,
      // and the pair the cut would split goes whole.
      {"longer than its plain form", "{\\rtf1\\ansi ab\\u-10179?\\u-8704?cd}", L"x", L"xab"},
      {"formatted text above the bound", "{\\rtf1\\ansi " + std::string(3 << 20, 'r') + "}",
       L"pq", L"xpq"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Start({{L"rich", L"true"}, {L"autohscroll", L"true"}, {L"multiline", L"false"}});
    edit_->SetText(std::wstring(limit - 3, L'x'));
    CHARRANGE end = {-1, -1};
    edit_->TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end), nullptr);
    PutFormatted(c.rtf, c.plain);
    const ULONGLONG start = GetTickCount64();
    edit_->TxSendMessage(WM_PASTE, 0, 0, nullptr);
    EXPECT_LT(GetTickCount64() - start, 2000u);
    const std::wstring text = edit_->GetText();
    EXPECT_LE(text.size(), limit);
    EXPECT_EQ(text.substr(text.size() - c.tail.size()), c.tail);
    EXPECT_EQ(text.find(face.substr(0, 1)), std::wstring::npos);
    // An undo never brings back what the limit cut.
    edit_->TxSendMessage(EM_UNDO, 0, 0, nullptr);
    EXPECT_LE(edit_->GetText().size(), limit);
  }
}

TEST_F(RichEditTest, ASurrogatePairTypedOneShortOfTheLimitGoesInWholeOrNotAtAll) {
  const size_t limit = 32767;
  Start({{L"rich", L"true"}, {L"autohscroll", L"true"}, {L"multiline", L"false"}});
  edit_->SetText(std::wstring(limit - 3, L'x'));
  CHARRANGE end = {-1, -1};
  edit_->TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end), nullptr);
  Type(L"\xD83D\xDE00");  // fits
  Type(L"\xD83D\xDE01");  // one unit of room left: neither half
  Type(L"y");
  const std::wstring text = edit_->GetText();
  EXPECT_EQ(text.size(), limit);
  EXPECT_EQ(text.substr(text.size() - 3), L"\xD83D\xDE00y");
}

TEST_F(RichEditTest, PromptOnlyWhileEmptyWithTextAndColour) {
  GlobalManager::AddTextColor(L"grey", L"#FF808080");
  struct Case {
    const wchar_t* text;
    const wchar_t* prompt;
    const wchar_t* color;
    bool drawn;
  };
  const Case cases[] = {{L"", L"type here", L"grey", true},
                        {L"x", L"type here", L"grey", false},
                        {L"", L"type here", L"", false},
                        {L"", L"", L"grey", false}};
  for (const Case& c : cases) {
    TearDown();
    SetUp();
    Start({{L"text", c.text}, {L"prompttext", c.prompt}, {L"promptcolor", c.color},
           {L"promptmode", L"whatever"}});
    RecordingContext context;
    edit_->PaintStatusImage(&context);
    const std::wstring expected = L"Text 0,0,200,100 type here FF808080 style 100 alpha 255";
    const bool drawn = std::find(context.calls.begin(), context.calls.end(), expected) !=
                       context.calls.end();
    EXPECT_EQ(drawn, c.drawn) << c.text << "|" << c.prompt << "|" << c.color;
  }
}

TEST_F(RichEditTest, CaretShowsOnFocusAtTheEnginePosition) {
  Start({{L"text", L"abc"}});
  Send(kEventInternalSetFocus, 0);
  EXPECT_TRUE(edit_->IsCaretVisible());
  edit_->SetCaretSize(2, 16);
  edit_->SetCaretPos(30, 4);
  RecordingContext context;
  edit_->PaintChild(&context, RECT{0, 0, 200, 100});
  ASSERT_FALSE(context.calls.empty());
  EXPECT_EQ(context.calls.front(), L"Line 30,4,30,20 width 2");
  Send(kEventInternalKillFocus, 0);
  EXPECT_FALSE(edit_->IsCaretVisible());
  RecordingContext after;
  edit_->PaintChild(&after, RECT{0, 0, 200, 100});
  for (const std::wstring& call : after.calls) EXPECT_NE(call.rfind(L"Line", 0), 0u) << call;
}

TEST_F(RichEditTest, AlignmentNeverMovesTextAboveTheTop) {
  Start({{L"align", L"bottom"}, {L"text", L"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12"}});
  edit_->SetPos(RECT{0, 0, 200, 20});
  const RECT aligned = edit_->GetHost()->GetAlignedClientRect();
  EXPECT_EQ(aligned.top, 0);
  edit_->SetText(L"1");
  edit_->SetPos(RECT{0, 0, 200, 100});
  EXPECT_GT(edit_->GetHost()->GetAlignedClientRect().top, 50);
}

TEST_F(RichEditTest, NaturalSizeAndDrawing) {
  GlobalManager::AddFont(L"body", L"Arial", 16, false, false, false, true);
  GlobalManager::AddTextColor(L"white", L"#FFFFFFFF");
  // White on the cleared (black) surface: the edit's background is transparent.
  Start({{L"font", L"body"}, {L"normaltextcolor", L"white"}, {L"text", L"one"}});
  const int one_line = edit_->GetNaturalSize(200).cy;
  EXPECT_GT(one_line, 0);
  edit_->SetText(L"one\ntwo\nthree");
  EXPECT_GT(edit_->GetNaturalSize(200).cy, 2 * one_line);
  auto surface = Surface(200, 100);
  edit_->Paint(surface.get(), RECT{0, 0, 200, 100});
  int inked = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      if (Rgb(PixelAt(surface.get(), x, y)) != 0) ++inked;
  EXPECT_GT(inked, 20);  // the engine drew the text
}

TEST(RichEditWithoutEngine, MessagesAnswerOneAndWriteZero) {
  RichEdit edit;
  LRESULT result = 77;
  EXPECT_EQ(edit.TxSendMessage(WM_GETTEXTLENGTH, 0, 0, &result), 1);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(edit.GetText(), L"");
  EXPECT_EQ(edit.GetNaturalSize(-5).cx, 0);
  EXPECT_EQ(edit.GetNaturalSize(40).cx, 40);
}

}  // namespace
}  // namespace ui
