// The skinned message box on a UI thread registered as thread 0: the owner is disabled while
// it shows and re-enabled when it closes, and the answer reaches the callback once, later,
// from the UI thread's loop.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "FileBytes.h"
#include "RenderTestSupport.h"
#include "TempFolder.h"
#include "WindowTestSupport.h"
#include "base/FrameworkThread.h"
#include "base/MessageLoop.h"
#include "base/ThreadManager.h"
#include "resources/LanguageTable.h"
#include "widgets/msgbox/MsgBox.h"

namespace ui {
namespace {

using ui_comp::MsgBox;
using ui_comp::MsgBoxRet;

constexpr char kSkin[] = R"(<Window size="340,180" caption="0,0,0,34">
  <TextColor name="white" value="#FFFFFFFF"/><TextColor name="blue" value="#FF2060D0"/>
  <VBox width="340" height="auto" bkcolor="white">
    <HBox height="34"><Label name="title" width="stretch"/>
      <Button name="closebtn" width="20" height="20" margin="10,6,0,0" bkcolor="blue"/></HBox>
    <RichEdit name="content" width="300" margin="20,30,20,30" multiline="true" vscrollbar="false"
              autovscroll="false" enabled="false" rich="true"/>
    <HBox height="auto" margin="0,0,20,20" childmargin="10"><Control/>
      <Button name="btn_yes" width="80" height="30" bkcolor="blue"/>
      <Button name="btn_no" width="80" height="30" bkcolor="blue"/></HBox>
  </VBox></Window>)";

// Runs `body` as the first task of a UI loop on this thread, registered as thread 0.
class UiThread : public base::FrameworkThread {
 public:
  explicit UiThread(std::function<void(UiThread*)> body) : FrameworkThread("ui"), body_(std::move(body)) {}
  void Run() { RunOnCurrentThreadWithLoop(base::MessageLoop::kUIMessageLoop); }
  void After(int ms, std::function<void()> task) {
    base::MessageLoop::current()->PostDelayedTask(std::move(task), static_cast<int64_t>(ms) * 1000);
  }
  // Runs `then` once the condition holds, looking every 50 ms (the run's own limit ends a wait
  // that never does).
  void When(std::function<bool()> condition, std::function<void()> then) {
    if (condition()) {
      then();
      return;
    }
    After(50, [this, condition = std::move(condition), then = std::move(then)]() mutable {
      When(std::move(condition), std::move(then));
    });
  }

 protected:
  void Init() override {
    base::ThreadManager::RegisterThread(0);
    base::MessageLoop::current()->PostTask([this] { body_(this); });
    After(15000, [this] { Stop(); });  // a failed step must not hang the run
  }
  void Cleanup() override { base::ThreadManager::UnregisterThread(); }

 private:
  std::function<void(UiThread*)> body_;
};

MsgBox* FindBox() {
  HWND hwnd = FindWindowW(L"MsgBox", nullptr);
  return hwnd ? dynamic_cast<MsgBox*>(reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
              : nullptr;
}

class MsgBoxTest : public FrameworkStarted {
 protected:
  void SetUp() override {
    FrameworkStarted::SetUp();
    GlobalManager::SetResourcePath(skin_.path() + L"\\");
    std::filesystem::create_directories(skin_.File(L"msgbox"));
    WriteBytes(skin_.File(L"msgbox\\msgbox.xml"), kSkin);
    WriteBytes(skin_.File(L"strings.ini"), "STRING_OK=OK\n");
    LanguageTable::GetInstance()->LoadStringTable(skin_.File(L"strings.ini"));
    owner_ = new NativeTestWindow();
    ASSERT_NE(owner_->CreateAt(RECT{50, 50, 450, 350}, false, WS_POPUP | WS_VISIBLE), nullptr);
  }
  void TearDown() override {
    if (IsWindow(owner_->GetHWND())) DestroyWindow(owner_->GetHWND());
    delete owner_;
    GlobalManager::SetResourcePath(L"");
    FrameworkStarted::TearDown();
  }

  TempFolder skin_;
  NativeTestWindow* owner_ = nullptr;
  std::vector<int> answers_;
};

TEST_F(MsgBoxTest, YesClosesReenablesTheOwnerAndAnswersOnceLater) {
  bool owner_disabled_while_shown = false;
  bool answered_inside_end = true;
  bool box_gone = false;
  UiThread ui([&](UiThread* thread) {
    HWND owner = owner_->GetHWND();
    ui_comp::ShowMsgBox(owner, [&](MsgBoxRet answer) { answers_.push_back(answer); },
                        L"Translation needs a network.", L"Notice", L"STRING_OK", L"Cancel");
    owner_disabled_while_shown = !IsWindowEnabled(owner);
    const auto shownYes = []() -> Control* {
      MsgBox* box = FindBox();
      Control* yes = box && IsWindowVisible(box->GetHWND()) ? box->FindControlByName(L"btn_yes") : nullptr;
      return yes && yes->GetPos().right > yes->GetPos().left ? yes : nullptr;
    };
    thread->When([shownYes] { return shownYes() != nullptr; }, [&, thread, owner, shownYes] {
      MsgBox* box = FindBox();
      Control* yes = shownYes();
      EXPECT_TRUE(yes->IsVisible());
      const RECT pos = yes->GetPos();
      // A real click on "btn_yes"; the close button after it must not answer again.
      ASSERT_TRUE(XClick(box->GetHWND(), POINT{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2}));
      thread->When([&] { return !answers_.empty() || FindBox() == nullptr; }, [&, thread, owner] {
        if (MsgBox* still = FindBox()) {
          EventArgs close;
          close.pSender = still->FindControlByName(L"closebtn");
          still->OnClicked(&close);
        }
        answered_inside_end = false;
        thread->After(800, [&, thread, owner] {
          box_gone = FindBox() == nullptr;
          EXPECT_TRUE(IsWindowEnabled(owner));
          thread->Stop();
        });
      });
    });
  });
  ui.Run();
  EXPECT_TRUE(owner_disabled_while_shown);
  EXPECT_TRUE(box_gone);
  EXPECT_EQ(answers_, std::vector<int>{0});
  (void)answered_inside_end;
}

TEST_F(MsgBoxTest, AnswerIsDeliveredOncePerBox) {
  UiThread ui([&](UiThread* thread) {
    ui_comp::ShowMsgBox(owner_->GetHWND(), [&](MsgBoxRet answer) { answers_.push_back(answer); },
                        L"text", L"title", L"STRING_OK", L"No");
    MsgBox* box = FindBox();
    ASSERT_NE(box, nullptr);
    for (const wchar_t* name : {L"btn_no", L"btn_yes", L"closebtn"}) {
      EventArgs click;
      click.pSender = box->FindControlByName(name);
      box->OnClicked(&click);
    }
    EXPECT_TRUE(answers_.empty());  // queued, not called from inside End
    thread->After(800, [thread] { thread->Stop(); });
  });
  ui.Run();
  EXPECT_EQ(answers_, std::vector<int>{1});
}

TEST_F(MsgBoxTest, ButtonsWithoutTextsAreHidden) {
  UiThread ui([&](UiThread* thread) {
    ui_comp::ShowMsgBox(owner_->GetHWND(), nullptr, L"text", L"title", L"NO_SUCH_ID", L"");
    thread->After(500, [&, thread] {
      MsgBox* box = FindBox();
      ASSERT_NE(box, nullptr);
      EXPECT_FALSE(box->FindControlByName(L"btn_yes")->IsVisible());
      EXPECT_FALSE(box->FindControlByName(L"btn_no")->IsVisible());
      EventArgs close;
      close.pSender = box->FindControlByName(L"closebtn");
      box->OnClicked(&close);  // an empty callback: the box just closes
      thread->After(800, [&, thread] {
        EXPECT_EQ(FindBox(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(owner_->GetHWND()));
        thread->Stop();
      });
    });
  });
  ui.Run();
}

}  // namespace
}  // namespace ui
