// The dictation road through the real panel: a HID report presses the button, the fake
// microphone records the fixture, the SDK stand-in recognises it, the release ends the
// session; the panel shows the partial and final texts and the text lands in the focused EDIT.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "FakeHid.h"
#include "FakeWaveInDriver.h"
#include "FocusedEdit.h"
#include "HidPipe.h"
#include "MscTestSession.h"
#include "PanelFixture.h"
#include "ServiceTestSupport.h"
#include "SpokenFixture.h"

namespace {

const wchar_t kMicName[] = L"Kelvane Demo Mic";

std::vector<unsigned char> HidButton(bool pressed) {
  std::vector<unsigned char> report(17, 0);
  report[0] = 0x01;
  report[1] = 0xB0;
  report[2] = pressed ? 0x01 : 0x00;
  report[16] = pressed ? 0x7B : 0x57;
  return report;
}

// Partial results after the 2nd and 5th buffer (the second replaces the first), one final.
const char kScript[] = R"({"sessions":[{
  "partials":[
    {"after_bytes":8192,"result":"{\"sn\":1,\"ls\":false,\"pgs\":\"apd\",\"ws\":[{\"cw\":[{\"w\":\"你好\",\"sc\":0}]}]}"},
    {"after_bytes":20480,"result":"{\"sn\":2,\"ls\":false,\"pgs\":\"rpl\",\"rg\":[1,1],\"ws\":[{\"cw\":[{\"w\":\"你好\",\"sc\":0}]},{\"cw\":[{\"w\":\"世界\",\"sc\":0}]}]}"}],
  "finals":["{\"sn\":3,\"ls\":true,\"pgs\":\"apd\",\"ws\":[{\"cw\":[{\"w\":\"。\",\"sc\":0}]}]}"]}]})";

class KelvaneDictationTest : public PanelFixture {
 protected:
  KelvaneDictationTest() : driver_({kMicName}, SpokenFixture()), msc_(kScript) {
    WriteTextFile(folder_.File(CIMEService::kSettingsFileName),
                  SettingsText(pipe_.Path(), Narrow(kMicName)));
  }

  // Handles the panel's messages one at a time, noting each new status line text, until
  // done() holds.
  bool Watch(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    while (!done()) {
      MSG msg;
      if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        const std::wstring line = LabelText(IDC_STATUS_LINE);
        if (statusLines_.empty() || statusLines_.back() != line) statusLines_.push_back(line);
        continue;
      }
      if (GetTickCount() - start > timeoutMs) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
  }

  FakeHid hid_;
  HidPipe pipe_;
  FakeWaveInDriver driver_;
  MscTestSession msc_;
  std::vector<std::wstring> statusLines_;
};

TEST_F(KelvaneDictationTest, PanelShowsTheTextsAndTheTextIsTypedIntoTheFocusedWindow) {
  FocusedEdit edit;
  ASSERT_TRUE(edit.HasFocus());
  CreatePanel();
  // The control device is open once a report gets through.
  ASSERT_TRUE(Watch([&] { return pipe_.Send(HidButton(true)); }));
  ASSERT_TRUE(Watch([&] { return LabelText(IDC_STATUS_LINE) == L"识别中..."; }));
  ASSERT_TRUE(driver_.WaitForFixtureRecorded());
  ASSERT_TRUE(pipe_.Send(HidButton(false)));
  ASSERT_TRUE(Watch([&] { return LabelText(IDC_STATUS_LINE) == L"Hello!" && statusLines_.size() > 2; }));
  ASSERT_TRUE(Watch([&] { return edit.Typed().size() >= 5; }));

  EXPECT_EQ(edit.Typed(), L"你好世界。");
  EXPECT_TRUE(edit.HasFocus()) << "the panel took the focus";
  EXPECT_EQ(statusLines_, (std::vector<std::wstring>{L"Hello!", L"识别中...", L"你好", L"你好世界",
                                                     L"你好世界。", L"Hello!"}));
  EXPECT_EQ(dialog_.Statistics().Total(), 5);
}

}  // namespace
