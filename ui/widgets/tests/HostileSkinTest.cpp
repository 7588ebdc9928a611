// Hostile skins in real windows under Wine: class and event loops, thousands of selected
// options, images above the pixel budget, a huge cached control, a data provider that removes
// controls while they are bound, and a 10 MiB paste. None may crash or hang, and the process's
// memory stays bounded.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "FileBytes.h"
#include "RenderTestSupport.h"
#include "TempFolder.h"
#include "TestImages.h"
#include "WindowTestSupport.h"
#include "builder/WindowBuilder.h"
#include "widgets/edit/RichEdit.h"
#include "widgets/list/VirtualListBox.h"

namespace ui {
namespace {

// Removes the last item control of its list while binding, down to a few.
class RemovingProvider : public VirtualListDataProvider {
 public:
  Control* MakeItemControl() override { return new Control(); }
  void BindItemControl(Control*, int) override {
    if (list && list->GetCount() > 3) list->RemoveAt(list->GetCount() - 1);
  }
  int GetItemCount() override { return 100000; }
  VirtualListBox* list = nullptr;
};

class HostileSkins : public FrameworkStarted {
 protected:
  void SetUp() override {
    FrameworkStarted::SetUp();
    GlobalManager::SetResourcePath(folder_.path() + L"\\");
    WriteBytes(folder_.File(L"huge.png"), PngAnnouncing(40000, 40000));
  }
  void TearDown() override {
    GlobalManager::SetResourcePath(L"");
    FrameworkStarted::TearDown();
  }
  TempFolder folder_;
};

std::wstring Options(int count) {
  std::wstring options;
  for (int i = 0; i < count; ++i) options += L"<Option group=\"g\" selected=\"true\" height=\"1\"/>";
  return options;
}

TEST_F(HostileSkins, NoneCrashesHangsOrTakesUnboundedMemory) {
  struct Case {
    const char* name;
    std::wstring classes;
    std::wstring body;
    std::function<void(NativeTestWindow*)> act;  // after the window is shown
  };
  const std::wstring loop = LR"(<Class name="a" value="class=&quot;a&quot;"/>)";
  const Case cases[] = {
      {"class naming itself", loop, LR"(<Control class="a"/>)", nullptr},
      {"classes naming each other",
       LR"(<Class name="a" value="class=&quot;b&quot;"/><Class name="b" value="class=&quot;a&quot;"/>)",
       LR"(<Control class="a"/>)", nullptr},
      {"the loop applied by an event", loop,
       LR"(<Control name="t"/><Event type="mousemove" receiver="t" applyattribute="class=&quot;a&quot;"/>)",
       [](NativeTestWindow* window) {
         SendMessageW(window->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
         SendMessageW(window->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(9, 9));
       }},
      {"2,000 selected options", L"", Options(2000), nullptr},
      {"images above the budget", L"",
       LR"(<Control bkimage="huge.png" height="20"/><Control cache="true" width="23000" height="23000"/>)",
       nullptr},
      {"a provider removing while binding", L"", LR"(<VirtualListBox name="v" vscrollbar="true"/>)",
       [](NativeTestWindow* window) {
         auto* list = dynamic_cast<VirtualListBox*>(window->FindControlByName(L"v"));
         ASSERT_NE(list, nullptr);
         RemovingProvider provider;
         provider.list = list;
         list->SetDataProvider(&provider);
         list->SetElementHeight(20);
         list->InitElement(30);
         for (int scroll : {4000, 100000, 0, 1999000}) {
           list->SetScrollPosY(scroll);
           PumpFor(20);
         }
         list->SetDataProvider(nullptr);
       }},
      {"a 10 MiB paste", L"", LR"(<RichEdit name="e" multiline="false" autohscroll="true"/>)",
       [](NativeTestWindow* window) {
         auto* edit = dynamic_cast<RichEdit*>(window->FindControlByName(L"e"));
         ASSERT_NE(edit, nullptr);
         ASSERT_TRUE(RichEdit::SetClipboardText(std::wstring(10 << 20, L'p')));
         edit->TxSendMessage(WM_PASTE, 0, 0, nullptr);
         EXPECT_EQ(edit->GetText().size(), 32767u);
       }},
  };
  const CommitSampler commit;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const ULONGLONG start = GetTickCount64();
    NativeTestWindow* window = ShowSkinWindow(test.classes, test.body);
    ASSERT_NE(window, nullptr);
    PumpFor(200);
    if (test.act) test.act(window);
    PumpFor(100);
    DestroyWindow(window->GetHWND());
    PumpFor(50);
    delete window;
    const ULONGLONG took = GetTickCount64() - start;
    const size_t grown = commit.PeakGrowth();
    std::printf("%-36s %6llu ms, peak commit +%zu MiB\n", test.name, took, grown >> 20);
    EXPECT_LT(took, 30000u);
    EXPECT_LT(grown, size_t{512} << 20);
  }
}

}  // namespace
}  // namespace ui
