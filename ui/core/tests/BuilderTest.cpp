// The window builder: trees from skin XML with classes, includes and events, the resources of
// "global.xml", the layout cache, the mended ownership and include limits, classes and event
// lists that loop, nest deep or double, and a replay of the XML fuzz corpus.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BuilderTestSupport.h"
#include "ControlTestSupport.h"
#include "FileBytes.h"
#include "RenderTestSupport.h"
#include "WindowTestSupport.h"
#include "ZipWriter.h"
#include "archive/ZipApi.h"
#include "builder/WindowBuilder.h"
#include "layout/Box.h"
#include "resources/FontInfo.h"
#include "system/SkinLimits.h"
#include "system/SkinLog.h"
#include "text/Utf8.h"
#include "widgets/Option.h"

namespace ui {
namespace {

class Builder : public SkinFolderTest {};

TEST_F(Builder, TreeWithClassesIncludesAndEvents) {
  Write(L"item.xml", R"(<Window><Control name="item" height="10"/></Window>)");
  RecordingWindow window;
  WindowBuilder builder;
  Control* built = builder.Create(
      LR"(<?xml version="1.0"?><Window size="300,200">
        <Class name="wide" width="50" _value="0"/>
        <VBox name="root">
          <Control name="a" class="wide" height="20"/>
          <Include source="item.xml" count="3"/>
          <Control name="b" width="70" class="wide"/>
          <Unknown name="ghost"><Control name="ghost-child"/></Unknown>
          <Event type="select unselect" receiver="a b" applyattribute="height=&quot;33&quot;"/>
          <BubbledEvent type="mousemove" receiver=".\a" applyattribute="width=&quot;44&quot;"/>
        </VBox>
      </Window>)",
      CreateControlCallback(), &window);
  auto* root = dynamic_cast<Box*>(built);
  ASSERT_NE(root, nullptr);
  window.AttachRoot(root);
  EXPECT_EQ(root->GetCount(), 5);
  EXPECT_EQ(root->GetItemAt(1)->GetName(), L"item");
  EXPECT_EQ(root->GetItemAt(3)->GetName(), L"item");
  Control* a = window.FindControlByName(L"a");
  Control* b = window.FindControlByName(L"b");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->GetFixedWidth(), 50);
  EXPECT_EQ(b->GetFixedWidth(), 50);  // the class comes after "width": it wins
  EXPECT_EQ(window.GetClassAttributes(L"wide"), L"width=\"50\" value=\"0\"");
  EXPECT_EQ(window.FindControlByName(L"ghost-child"), nullptr);

  root->SendEvent(kEventUnSelect);
  EXPECT_EQ(a->GetFixedHeight(), 33);
  EXPECT_EQ(b->GetFixedHeight(), 33);
  a->SendEvent(kEventMouseMove);  // bubbles to the box
  EXPECT_EQ(a->GetFixedWidth(), 44);
}

TEST_F(Builder, ClassesAndEventListsThatLoopNestDeepOrDoubleAreBounded) {
  struct Case {
    const char* name;
    std::wstring classes;
    std::wstring body;
    int width;   // of "t" once built, or -1
    int height;  // of "t" once built, or -1
    bool move;   // a mouse move and a selection reach "t" after the build
  };
  const std::wstring self = LR"(<Class name="a" value="width=&quot;5&quot; class=&quot;a&quot;"/>)";
  const std::wstring doubling = ClassChain(20, 2);  // 2^20 applications unbounded
  const Case cases[] = {
      {"class naming itself", self, LR"(<Control name="t" class="a"/>)", 5, -1, false},
      // The chain ends before its last link, which would set the width.
      {"a chain of 3,000 classes", ClassChain(3000, 1), LR"(<Control name="t" class="c0"/>)", -1,
       -1, false},
      {"classes naming the next twice", doubling, LR"(<Control name="t" class="c0"/>)", 7, -1,
       false},
      {"such classes applied by an event", doubling,
       LR"(<VBox name="t"><Event type="mousemove" receiver="t"
               applyattribute="class=&quot;c0&quot;"/></VBox>)", 7, -1, true},
      {"classes naming each other",
       LR"(<Class name="a" value="width=&quot;5&quot; class=&quot;b&quot;"/>
           <Class name="b" value="height=&quot;6&quot; class=&quot;a&quot;"/>)",
       LR"(<Control name="t" class="a"/>)", 5, 6, false},
      {"such a class applied by an event", self,
       LR"(<VBox name="t"><Event type="mousemove" receiver="t"
               applyattribute="class=&quot;a&quot;"/></VBox>)", 5, -1, true},
      {"events that undo each other", L"",
       LR"(<Option name="t"><Event type="select" receiver="t" applyattribute="selected=&quot;false&quot;"/>
           <Event type="unselect" receiver="t" applyattribute="selected=&quot;true&quot;"/></Option>)",
       -1, -1, true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    std::vector<std::wstring> lines;
    const SkinLogSink previous =
        SetSkinLogSink([&lines](const std::wstring& line) { lines.push_back(line); });
    RecordingWindow window;
    WindowBuilder builder;
    auto* root = dynamic_cast<Box*>(builder.Create(L"<Window>" + test.classes +
                                                       L"<VBox>" + test.body + L"</VBox></Window>",
                                                   CreateControlCallback(), &window));
    ASSERT_NE(root, nullptr);
    window.AttachRoot(root);
    Control* target = window.FindControlByName(L"t");
    ASSERT_NE(target, nullptr);
    if (test.move) {
      target->SendEvent(kEventMouseMove);
      if (auto* option = dynamic_cast<Option*>(target)) option->Selected(true, true);
    }
    SetSkinLogSink(previous);
    EXPECT_EQ(lines.size(), 1u);
    if (test.width >= 0) {
      EXPECT_EQ(target->GetFixedWidth(), test.width);
    }
    if (test.height >= 0) {
      EXPECT_EQ(target->GetFixedHeight(), test.height);
    }
  }
}

TEST_F(Builder, GlobalResourcesAndTheLayoutCache) {
  Write(L"global.xml", R"(<Global defaultfontcolor="ink">
      <Font id="big" name="Arial" size="20" bold="true"/>
      <Font id="nameless" size="20"/>
      <TextColor name="ink" value="#FF102030"/>
      <Class name="pill" value="width=&quot;12&quot;" height="8"/>
      <Control name="ignored"/>
    </Global>)");
  GlobalManager::LoadGlobalResource();
  EXPECT_EQ(GlobalManager::GetTextColor(L"ink"), 0xFF102030u);
  EXPECT_EQ(GlobalManager::GetDefaultTextColor(), L"ink");
  EXPECT_NE(GlobalManager::GetFont(L"big"), nullptr);
  EXPECT_EQ(GlobalManager::GetFont(L"nameless"), nullptr);
  EXPECT_EQ(GlobalManager::GetClassAttributes(L"pill"), L"width=\"12\" height=\"8\"");
  GlobalManager::SetDefaultTextColor(L"textdefaultcolor");

  Write(L"cached.xml", R"(<Window><HBox><Control class="pill"/></HBox></Window>)");
  Box* first = GlobalManager::CreateBoxWithCache(L"cached.xml", CreateControlCallback());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetItemAt(0)->GetFixedWidth(), 12);
  std::filesystem::remove(std::filesystem::path(folder_.File(L"cached.xml")));
  Box* second = GlobalManager::CreateBoxWithCache(L"cached.xml", CreateControlCallback());
  ASSERT_NE(second, nullptr);  // built again from memory
  EXPECT_NE(second, first);
  delete first;
  delete second;
  EXPECT_EQ(GlobalManager::CreateBoxWithCache(L"missing.xml", CreateControlCallback()), nullptr);
}

TEST_F(Builder, ArchiveEntriesAreReadByTheirLength) {
  const std::string layout = R"(<Window><VBox name="zipped"/></Window>)";
  ZipWriterEntry entry;
  entry.name = "skin/layout.xml";
  entry.data = layout;
  const std::string zip = BuildZip({entry});
  ResourceZip() = OpenZip(zip.data(), static_cast<uint32_t>(zip.size()), "");
  ASSERT_NE(ResourceZip(), nullptr);
  GlobalManager::SetResourcePath(L"skin");
  WindowBuilder builder;
  Control* built = builder.Create(L"layout.xml");
  CloseZip();
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->GetName(), L"zipped");
  delete built;
}

TEST_F(Builder, StrayControlsAreDestroyed) {
  Counted::live = 0;
  WindowBuilder builder;
  Control* built = builder.Create(
      LR"(<Window><Counted/><Counted/><Control><Counted/><Counted/></Control></Window>)", MakeCounted);
  ASSERT_NE(built, nullptr);
  // The first top-level control is the caller's; the rest had no owner and are gone.
  EXPECT_EQ(Counted::live, 1);
  delete built;
  EXPECT_EQ(Counted::live, 0);
}

TEST_F(Builder, IncludeCyclesAndCountsAreBounded) {
  Write(L"loop.xml", R"(<Window><Include source="loop.xml" count="2"/><Counted/></Window>)");
  Counted::live = 0;
  WindowBuilder builder;
  auto* root = dynamic_cast<Box*>(builder.Create(
      LR"(<Window><VBox><Include source="loop.xml"/><Include source="loop.xml" count="100000"/></VBox></Window>)",
      MakeCounted));
  ASSERT_NE(root, nullptr);
  EXPECT_GT(root->GetCount(), 0);
  EXPECT_LE(root->GetCount(), WindowBuilder::kMaxIncludes);
  delete root;
  EXPECT_EQ(Counted::live, 0);
}

// A skin with its includes expanded holds no more than one skin file; each build starts over.
TEST_F(Builder, IncludesExpandToOneSkinFileAtMost) {
  Write(L"third.xml", "<Window><Counted/>" + std::string(kMaxSkinFileBytes / 3, ' ') + "</Window>");
  std::vector<std::wstring> lines;
  const SkinLogSink previous =
      SetSkinLogSink([&lines](const std::wstring& line) { lines.push_back(line); });
  Counted::live = 0;
  WindowBuilder builder;
  const std::wstring skin =
      LR"(<Window><VBox><Include source="third.xml" count="200"/><Include source="third.xml"/></VBox></Window>)";
  for (int build = 0; build < 2; ++build) {
    auto* root = dynamic_cast<Box*>(build == 0 ? builder.Create(skin, MakeCounted)
                                               : builder.Create(MakeCounted));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetCount(), 2);  // a third would pass the limit
    delete root;
  }
  EXPECT_EQ(Counted::live, 0);
  EXPECT_EQ(lines.size(), 2u);  // one line per build
  SetSkinLogSink(previous);
}

TEST_F(Builder, WindowAttributesNeedTheNativeWindow) {
  RecordingWindow detached;
  WindowBuilder builder;
  delete builder.Create(LR"(<Window size="300,200" caption="0,0,0,30"><Class name="c" value="x"/><Control/></Window>)",
                        CreateControlCallback(), &detached);
  EXPECT_EQ(detached.GetInitSize().cx, 0);
  EXPECT_EQ(detached.GetCaptionRect().bottom, 0);
  EXPECT_EQ(detached.GetClassAttributes(L"c"), L"x");

  NativeTestWindow window;
  ASSERT_TRUE(window.CreateAt(RECT{0, 0, 100, 100}, false));
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window.GetHWND(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const int work_height = monitor.rcWork.bottom - monitor.rcWork.top;
  delete builder.Create(LR"(<Window shadowattached="false" size="10" heightpercent="nan" caption="0,0,0,30"><Control/></Window>)",
                        CreateControlCallback(), &window);
  EXPECT_EQ(window.GetInitSize().cx, 10);
  EXPECT_EQ(window.GetInitSize().cy, 0);  // missing number: 0; a NaN fraction sizes nothing
  EXPECT_EQ(window.GetCaptionRect().bottom, 30);
  delete builder.Create(LR"(<Window shadowattached="false" mininfo="0,5000" heightpercent="0.5"><Control/></Window>)",
                        CreateControlCallback(), &window);
  EXPECT_EQ(window.GetInitSize().cy, 5000);
  delete builder.Create(LR"(<Window shadowattached="false" mininfo="0,0" heightpercent="0.5" mininfo="0,5000"><Control/></Window>)",
                        CreateControlCallback(), &window);
  EXPECT_EQ(window.GetInitSize().cy, work_height / 2);
  DestroyWindow(window.GetHWND());
}

TEST_F(Builder, ReplaysTheFuzzCorpus) {
  std::wstring corpus = L"Z:" ORVANE_XML_CORPUS;
  for (wchar_t& c : corpus)
    if (c == L'/') c = L'\\';
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    const std::string bytes = ReadBytes(entry.path().wstring());
    // Each seed whole, then cut short at sixteen places.
    for (size_t cut = 0; cut <= 16; ++cut) {
      const std::string part = bytes.substr(0, bytes.size() - bytes.size() * cut / 17);
      const std::wstring text = Utf8BytesToWide(part.data(), part.size());
      RecordingWindow window;
      WindowBuilder builder;
      Counted::live = 0;
      // Tags the factory does not know become counted controls: none may be left over.
      delete builder.Create(text.empty() || text[0] != L'<' ? L"<" + text : text,
                            [](const std::wstring&) -> Control* { return new Counted(); }, &window);
      EXPECT_EQ(Counted::live, 0);
    }
    ++files;
  }
  EXPECT_GT(files, 3);
}

}  // namespace
}  // namespace ui
