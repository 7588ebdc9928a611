// Labels and buttons: text size, wrapping, alignment words, text colour fallbacks, the click
// from the mouse and from Space and Return.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "RecordingContext.h"
#include "layout/Box.h"
#include "resources/GlobalManager.h"
#include "widgets/Button.h"

namespace ui {
namespace {

class Labels : public testing::Test {
 protected:
  void SetUp() override {
    context = new RecordingContext();
    window.UseRenderContext(context);
    root = new VBox();
    window.AttachRoot(root);
  }
  template <typename T>
  T* Add(T* control) {
    root->Add(control);
    return control;
  }
  RecordingWindow window;
  RecordingContext* context = nullptr;
  VBox* root = nullptr;
};

TEST_F(Labels, SizeFromTextPaddingAndStretch) {
  auto* label = Add(new Label());
  label->SetAttribute(L"text", L"hello");
  label->SetAttribute(L"textpadding", L"2,3,4,5");
  const SIZE size = label->EstimateSize(SIZE{500, 500});
  EXPECT_EQ(size.cx, 40 + 6);
  EXPECT_EQ(size.cy, 16 + 8);
  label->SetAttribute(L"width", L"stretch");
  root->SetPos(RECT{0, 0, 300, 100});
  EXPECT_EQ(label->GetPos(true).right, 300);
}

TEST_F(Labels, MultiLineWrapsOnlyWithAStretchMaximum) {
  auto* label = Add(new Label());
  label->SetAttribute(L"text", std::wstring(50, L'x'));  // 400 pixels
  label->SetAttribute(L"singleline", L"false");
  label->SetAttribute(L"maxwidth", L"stretch");
  EXPECT_EQ(label->EstimateSize(SIZE{100, 500}).cx, 100);
  EXPECT_EQ(label->EstimateSize(SIZE{100, 500}).cy, 64);
  label->SetAttribute(L"maxwidth", L"120");
  EXPECT_EQ(label->EstimateSize(SIZE{100, 500}).cx, 400);
}

TEST_F(Labels, AlignWordsAreSubstrings) {
  Label label;
  label.SetAttribute(L"align", L"right vcenter");
  const UINT style = label.GetTextStyle();
  EXPECT_TRUE(style & DT_RIGHT);
  EXPECT_TRUE(style & DT_CENTER);  // "center" is inside "vcenter"
  EXPECT_TRUE(style & DT_VCENTER);
  EXPECT_TRUE(style & DT_SINGLELINE);
}

TEST_F(Labels, PushedTextColourFallsBackToHotThenNormal) {
  GlobalManager::AddTextColor(L"n", L"#FF000001");
  GlobalManager::AddTextColor(L"h", L"#FF000002");
  auto* label = Add(new Label());
  label->SetAttribute(L"text", L"t");
  label->SetAttribute(L"normaltextcolor", L"n");
  label->SetPos(RECT{0, 0, 20, 20});
  label->SetAttribute(L"state", L"pushed");
  RecordingContext first;
  label->Paint(&first, RECT{0, 0, 20, 20});
  EXPECT_NE(first.Only(L"Text")[0].find(L"FF000001"), std::wstring::npos);
  label->SetAttribute(L"hottextcolor", L"h");
  label->SetAttribute(L"fadehot", L"false");
  RecordingContext second;
  label->Paint(&second, RECT{0, 0, 20, 20});
  EXPECT_NE(second.Only(L"Text")[0].find(L"FF000002"), std::wstring::npos);
}

TEST_F(Labels, ButtonClicksFromMouseAndKeys) {
  auto* button = Add(new Button());
  button->SetPos(RECT{0, 0, 50, 20});
  int clicks = 0;
  root->AttachBubbledEvent(kEventClick, [&](EventArgs* args) {
    clicks += args->pSender == button;
    return true;
  });
  button->SendEvent(kEventMouseButtonDown, 0, 0, 0, POINT{5, 5});
  button->SendEvent(kEventMouseButtonUp, 0, 0, 0, POINT{5, 5});
  EXPECT_EQ(clicks, 1);
  button->SendEvent(kEventMouseButtonDown, 0, 0, 0, POINT{5, 5});
  button->SendEvent(kEventMouseButtonUp, 0, 0, 0, POINT{500, 5});
  EXPECT_EQ(clicks, 1);
  button->SendEvent(kEventKeyDown, 0, 0, VK_SPACE);
  button->SendEvent(kEventKeyDown, 0, 0, VK_RETURN);
  EXPECT_EQ(clicks, 3);
  button->SetAttribute(L"keyboard", L"false");
  button->SendEvent(kEventKeyDown, 0, 0, VK_SPACE);
  EXPECT_EQ(clicks, 3);
  EXPECT_FALSE(button->AcceptsTabFocus());
}

}  // namespace
}  // namespace ui
