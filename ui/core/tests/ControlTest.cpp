// The control base without native windows: attributes, relayout and repaint rules, the
// state machine, handler maps and bubbling, and painting through a recording context.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ControlTestSupport.h"
#include "RecordingContext.h"
#include "RenderTestSupport.h"
#include "layout/Box.h"
#include "resources/GlobalManager.h"

namespace ui {
namespace {

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

struct AttributeCase {
  std::vector<std::pair<const wchar_t*, const wchar_t*>> attributes;
  std::function<bool(Control&)> holds;
  const char* what;
};

TEST(ControlAttributes, Table) {
  const AttributeCase cases[] = {
      {{{L"width", L"100"}, {L"height", L"auto"}},
       [](Control& c) { return c.GetFixedWidth() == 100 && c.GetFixedHeight() == kSizeAuto; },
       "pixels and auto"},
      {{{L"width", L"100"}, {L"width", L"auto"}},
       [](Control& c) { return c.GetFixedWidth() == kSizeAuto; }, "later width wins"},
      {{{L"width", L"-3"}}, [](Control& c) { return c.GetFixedWidth() == kSizeStretch; },
       "below -2 ignored"},
      {{{L"margin", L"10"}}, [](Control& c) { return Same(c.GetMargin(), RECT{10, 0, 0, 0}); },
       "missing numbers are 0"},
      {{{L"halign", L"center"}, {L"valign", L"middle"}},
       [](Control& c) {
         return c.GetHorAlignType() == kHorAlignCenter && c.GetVerAlignType() == kVerAlignTop;
       },
       "keywords only"},
      {{{L"alpha", L"300"}}, [](Control& c) { return c.GetAlpha() == 255; }, "alpha clamped high"},
      {{{L"alpha", L"-7"}}, [](Control& c) { return c.GetAlpha() == 0; }, "alpha clamped low"},
      {{{L"bordersize", L"1,2,3,4"}, {L"bordersize", L"2"}},
       [](Control& c) {
         return c.GetBorderSize() == 2 && Same(c.GetBorderSides(), RECT{0, 0, 0, 0});
       },
       "single border size clears sides"},
      {{{L"state", L"hot"}},
       [](Control& c) { return c.GetState() == kControlStateHot && c.GetHotAlpha() == 255; },
       "state hot"},
      {{{L"enabled", L"TRUE"}}, [](Control& c) { return !c.IsEnabled(); }, "only \"true\" is true"},
      {{{L"nofocus", L"false"}}, [](Control& c) { return c.IsNoFocus(); }, "nofocus ignores value"},
      {{{L"fadehot", L"false"}, {L"hotcolor", L"red"}}, [](Control& c) { return c.HasHotFade(); },
       "hot colour turns the hot fade on"},
      {{{L"hotcolor", L"red"}, {L"fadehot", L"false"}}, [](Control& c) { return !c.HasHotFade(); },
       "fadehot after it turns it off"},
      {{{L"cursortype", L"hand"}}, [](Control& c) { return c.GetCursorType() == kCursorHand; },
       "cursor"},
      {{{L"tooltiptext", L"a<n>b"}}, [](Control& c) { return c.GetToolTipText() == L"a\r\nb"; },
       "tooltip line breaks"},
      {{{L"visible", L"false"}}, [](Control& c) { return !c.IsVisible(); }, "visible"},
      {{{L"bkcolor", L"\t red"}}, [](Control& c) { return c.GetBkColor() == L"red"; },
       "leading blanks skipped"},
  };
  for (const AttributeCase& test : cases) {
    Control control;
    for (const auto& [name, value] : test.attributes) control.SetAttribute(name, value);
    EXPECT_TRUE(test.holds(control)) << test.what;
  }
}

TEST(ControlAttributes, AttributeListStopsAtMalformedPair) {
  Control control;
  control.ApplyAttributeList(L"width=\"30\" height=\"40\"x name=\"n\"");
  EXPECT_EQ(control.GetFixedWidth(), 30);
  EXPECT_EQ(control.GetFixedHeight(), 40);
  EXPECT_EQ(control.GetName(), L"");
}

TEST(ControlRelayout, ChangesReachTheRightAncestorAndNothingRepaintsWithoutHandle) {
  RecordingWindow window;
  auto* root = new VBox();
  auto* auto_box = new VBox();
  auto_box->SetFixedHeight(kSizeAuto);
  auto* child = new Control();
  auto_box->Add(child);
  root->Add(auto_box);
  window.AttachRoot(root);
  root->SetPos(RECT{0, 0, 100, 100});
  window.SetArrange(false);
  EXPECT_FALSE(root->NeedsArrange());

  child->SetAttribute(L"height", L"20");  // auto parent: the root arranges
  EXPECT_TRUE(auto_box->IsReEstimateSize());
  EXPECT_TRUE(root->NeedsArrange());
  EXPECT_TRUE(window.IsArrangeNeeded());

  child->SetAttribute(L"bkcolor", L"red");  // repaint only
  EXPECT_TRUE(child->IsCacheDirty());
  child->SetPos(RECT{1, 1, 5, 5});
  // A window without its native handle has nothing to repaint.
  EXPECT_TRUE(window.invalidated.empty());
}

TEST(ControlStateMachine, HotPushedAndRelease) {
  RecordingWindow window;
  auto* root = new Box();
  auto* button = new LoggingControl();
  root->Add(button);
  window.AttachRoot(root);
  button->SetPos(RECT{0, 0, 10, 10});
  const POINT inside = {5, 5}, outside = {50, 50};

  button->SendEvent(kEventMouseEnter, 0, 0, 0, inside);
  EXPECT_EQ(button->GetState(), kControlStateHot);
  button->SendEvent(kEventMouseButtonDown, 0, 0, 0, inside);
  EXPECT_EQ(button->GetState(), kControlStatePushed);
  button->SendEvent(kEventMouseButtonUp, 0, 0, 0, inside);
  EXPECT_EQ(button->GetState(), kControlStateHot);
  EXPECT_EQ(button->activations, 1);

  button->SendEvent(kEventMouseButtonDown, 0, 0, 0, inside);
  button->SendEvent(kEventMouseButtonUp, 0, 0, 0, outside);
  EXPECT_EQ(button->GetState(), kControlStateNormal);
  EXPECT_EQ(button->activations, 1);

  button->SetEnabled(false);
  EXPECT_EQ(button->GetState(), kControlStateDisabled);
  button->SendEvent(kEventMouseEnter, 0, 0, 0, inside);
  button->SendEvent(kEventMouseButtonDown, 0, 0, 0, inside);
  EXPECT_EQ(button->GetState(), kControlStateDisabled);
  button->SetEnabled(true);
  EXPECT_EQ(button->GetState(), kControlStateNormal);
}

TEST(ControlHandlers, ExactListThenAllAndFalseStaysFalse) {
  RecordingWindow window;
  auto* root = new Box();
  auto* control = new LoggingControl();
  root->Add(control);
  window.AttachRoot(root);
  std::vector<std::string> order;
  bool bubbled = false;
  root->AttachBubbledEvent(kEventClick, [&](EventArgs* args) {
    bubbled = args->pSender == control;
    return true;
  });
  control->AttachClick([&](EventArgs*) { order.push_back("click"); return false; });
  control->AttachAllEvents([&](EventArgs*) { order.push_back("all"); return true; });
  control->SendEvent(kEventClick);
  EXPECT_EQ(order, (std::vector<std::string>{"click", "all"}));
  // The "all" list's true does not undo the click list's false: no own handling, no bubble.
  EXPECT_TRUE(control->log.empty());
  EXPECT_FALSE(bubbled);

  order.clear();
  control->SendEvent(kEventInternalSetFocus);  // internal events skip the maps
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(control->log, std::vector<int>{kEventInternalSetFocus});
}

TEST(ControlHandlers, BubblingThroughBoxes) {
  RecordingWindow window;
  auto* root = new Box();
  auto* middle = new Box();
  auto* control = new Control();
  middle->Add(control);
  root->Add(middle);
  window.AttachRoot(root);
  std::vector<std::string> seen;
  middle->AttachBubbledEvent(kEventClick, [&](EventArgs*) { seen.push_back("middle"); return false; });
  middle->AttachXmlBubbledEvent(kEventClick, [&](EventArgs*) { seen.push_back("xml"); return true; });
  root->AttachBubbledEvent(kEventClick, [&](EventArgs*) { seen.push_back("root"); return true; });
  control->SendEvent(kEventClick);
  EXPECT_EQ(seen, std::vector<std::string>{"middle"});

  // A handler that destroys its control ends the event at once.
  auto* doomed = new Control();
  middle->Add(doomed);
  int after = 0;
  doomed->AttachClick([&](EventArgs*) { middle->SetDelayedDestroy(false); middle->Remove(doomed); return true; });
  doomed->AttachAllEvents([&](EventArgs*) { ++after; return true; });
  doomed->SendEvent(kEventClick);
  EXPECT_EQ(after, 0);
  EXPECT_EQ(middle->GetCount(), 1);
}

TEST(ControlHandlers, MouseLeaveFromChildKeepsParentHotWhileHoverInside) {
  RecordingWindow window;
  auto* root = new Box();
  auto* parent = new Box();
  auto* child = new Control();
  auto* other = new Control();
  other->SetAttribute(L"float", L"true");
  other->SetPos(RECT{60, 0, 80, 20});
  parent->Add(child);
  root->Add(parent);
  root->Add(other);
  window.AttachRoot(root);
  root->SetPos(RECT{0, 0, 100, 100});
  parent->SetPos(RECT{0, 0, 50, 50});
  child->SetPos(RECT{0, 0, 20, 20});
  other->SetPos(RECT{60, 0, 80, 20});

  window.HandleMouseEnterLeave(POINT{5, 5}, 0, 0);  // enters the child, bubbles to the parent
  EXPECT_EQ(child->GetState(), kControlStateHot);
  EXPECT_EQ(parent->GetState(), kControlStateHot);
  child->SendEvent(kEventMouseLeave);  // hover still inside the parent
  EXPECT_EQ(child->GetState(), kControlStateNormal);
  EXPECT_EQ(parent->GetState(), kControlStateHot);
  window.HandleMouseEnterLeave(POINT{70, 5}, 0, 0);  // out to another control
  EXPECT_EQ(parent->GetState(), kControlStateNormal);
}

TEST(ControlHandlers, ReceiverInsideOwnSubtreeWins) {
  RecordingWindow window;
  auto* root = new Box();
  auto* panel = new Box();
  auto* inner = new Control();
  auto* outer = new Control();
  inner->SetName(L"Target");
  outer->SetName(L"target");
  panel->Add(inner);
  root->Add(panel);
  root->Add(outer);
  window.AttachRoot(root);
  panel->ApplyAttributeListTo(L".\\target", L"width=\"7\"");
  EXPECT_EQ(inner->GetFixedWidth(), 7);
  EXPECT_EQ(outer->GetFixedWidth(), kSizeStretch);
  panel->ApplyAttributeListTo(L"target", L"width=\"9\"");
  EXPECT_EQ(outer->GetFixedWidth(), 9);
}

class ControlPainting : public FrameworkStarted {
 protected:
  void SetUp() override {
    FrameworkStarted::SetUp();
    GlobalManager::AddTextColor(L"red", L"#FFFF0000");
    GlobalManager::AddTextColor(L"halfblue", L"#800000FF");
    GlobalManager::AddTextColor(L"green", L"#FF00FF00");
  }
};

TEST_F(ControlPainting, StepsInOrderAndBorders) {
  RecordingContext context;
  Control control;
  control.SetPos(RECT{10, 10, 50, 40});
  control.SetAttribute(L"bkcolor", L"halfblue");
  control.SetAttribute(L"normalcolor", L"green");
  control.SetAttribute(L"bordercolor", L"red");
  control.SetAttribute(L"bordersize", L"3");
  control.AlphaPaint(&context, RECT{0, 0, 30, 30});
  const std::vector<std::wstring> expected = {
      L"Clip 10,10,50,40",
      L"Color 10,10,50,40 800000FF alpha 255",  // translucent: the whole position
      L"Color 10,10,30,30 green alpha 255",      // state colour: the paint rectangle
      L"Rect 11,11,48,38 width 3",
  };
  EXPECT_EQ(context.calls, expected);

  RecordingContext sides;
  control.SetAttribute(L"bordersize", L"1,0,2,0");
  control.Paint(&sides, RECT{0, 0, 100, 100});
  EXPECT_EQ(sides.Only(L"Line"),
            (std::vector<std::wstring>{L"Line 10,10,10,39 width 1", L"Line 49,10,49,40 width 2"}));
}

TEST_F(ControlPainting, AlphaZeroHidesSubtreeAndHalfAlphaBlendsOverChildren) {
  RecordingContext context;
  VBox box;
  auto* child = new Control();
  child->SetAttribute(L"bkcolor", L"red");
  box.Add(child);
  box.SetAttribute(L"bkcolor", L"green");
  box.SetPos(RECT{0, 0, 20, 20});
  box.SetAttribute(L"alpha", L"0");
  box.AlphaPaint(&context, RECT{0, 0, 20, 20});
  EXPECT_TRUE(context.calls.empty());

  box.SetAttribute(L"alpha", L"128");
  box.AlphaPaint(&context, RECT{0, 0, 20, 20});
  const std::vector<std::wstring> expected = {
      L"Clip 0,0,20,20", L"Color 0,0,20,20 FFFF0000 alpha 255",  // the child, on the target
      L"Color 0,0,20,20  alpha 255",                              // (no state colour set)
      L"AlphaBlend 0,0,20,20 alpha 128"};                         // then the box's layer
  EXPECT_EQ(context.calls, expected);
}

TEST_F(ControlPainting, PixelsOnARealSurface) {
  auto surface = Surface(40, 40);
  VBox box;
  auto* child = new Control();
  child->SetAttribute(L"bkcolor", L"red");
  child->SetAttribute(L"margin", L"10,10,10,10");
  box.Add(child);
  box.SetAttribute(L"bkcolor", L"green");
  box.SetPos(RECT{0, 0, 40, 40});
  box.AlphaPaint(surface.get(), RECT{0, 0, 40, 40});
  EXPECT_EQ(Rgb(PixelAt(surface.get(), 2, 2)), 0x00FF00u);
  EXPECT_EQ(Rgb(PixelAt(surface.get(), 20, 20)), 0xFF0000u);

  child->SetAttribute(L"alpha", L"128");
  surface->Clear();
  box.AlphaPaint(surface.get(), RECT{0, 0, 40, 40});
  const DWORD mixed = Rgb(PixelAt(surface.get(), 20, 20));
  EXPECT_NEAR(static_cast<int>((mixed >> 16) & 0xFF), 128, 3);
  EXPECT_NEAR(static_cast<int>((mixed >> 8) & 0xFF), 127, 3);
}

}  // namespace
}  // namespace ui
