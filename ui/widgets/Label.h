// Text on a control or a box: LabelTemplate adds the text, its font, style, padding and
// per-state colours; over Control it sizes itself to the text.
#pragma once

#include <type_traits>

#include "control/Control.h"
#include "image/ImageAttribute.h"
#include "layout/Box.h"
#include "render/RenderInterfaces.h"
#include "resources/GlobalManager.h"
#include "resources/LanguageTable.h"
#include "system/DpiManager.h"
#include "text/Utf8.h"
#include "window/Window.h"

namespace ui {

template <typename Base = Control>
class LabelTemplate : public Base {
 public:
  LabelTemplate() {
    text_colors_.SetOwner(this);
    text_colors_[kControlStateNormal] = GlobalManager::GetDefaultTextColor();
    text_colors_[kControlStateDisabled] = GlobalManager::GetDefaultDisabledTextColor();
    if constexpr (std::is_same_v<Base, Control>) {
      this->cx_fixed_ = kSizeAuto;
      this->cy_fixed_ = kSizeAuto;
    }
  }

  virtual std::wstring GetText() const {
    if (text_.empty() && !text_id_.empty()) return LanguageTable::GetInstance()->GetStringViaID(text_id_);
    return text_;
  }
  virtual std::string GetUTF8Text() const { return WideToUtf8Bytes(GetText()); }
  virtual void SetText(const std::wstring& text) {
    if (text == text_) return;
    text_ = text;
    this->ArrangeOrInvalidate();
  }
  virtual void SetUTF8Text(const std::string& text) { SetText(Utf8BytesToWide(text.data(), text.size())); }
  virtual void SetTextId(const std::wstring& id) {
    if (id == text_id_) return;
    text_id_ = id;
    this->ArrangeOrInvalidate();
  }
  virtual void SetUTF8TextId(const std::string& id) { SetTextId(Utf8BytesToWide(id.data(), id.size())); }

  UINT GetTextStyle() const { return text_style_; }
  void SetTextStyle(UINT style) { text_style_ = style; }
  std::wstring GetFont() const { return font_id_; }
  RECT GetTextPadding() const { return text_padding_; }
  std::wstring GetStateTextColor(ControlStateType state) { return text_colors_[state]; }
  bool IsSingleLine() const { return single_line_; }

  SIZE EstimateText(SIZE available, bool& re_estimate) override {
    re_estimate = false;
    if (single_line_)
      text_style_ |= DT_SINGLELINE;
    else
      text_style_ &= ~DT_SINGLELINE;
    const std::wstring text = GetText();
    if (text.empty()) return SIZE{0, 0};
    IRenderContext* context = this->window_ ? this->window_->GetRenderContext() : nullptr;
    if (!context) return SIZE{0, 0};
    const RECT& pad = text_padding_;
    const int limit = this->cx_fixed_ >= 0 ? this->cx_fixed_ : 0;
    RECT measured = context->MeasureText(text, font_id_, text_style_, limit);
    int text_width = measured.right - measured.left;
    SIZE size = {0, 0};
    if (this->cx_fixed_ == kSizeAuto) size.cx = pad.left + pad.right + text_width;
    if (this->cy_fixed_ != kSizeAuto) return size;
    if (!single_line_ && this->cx_fixed_ == kSizeAuto && this->cx_max_ == kSizeStretch) {
      re_estimate = true;
      const int room = available.cx - pad.left - pad.right;
      if (text_width > room) {
        measured = context->MeasureText(text, font_id_, text_style_, room);
        text_width = room;
      }
    }
    return SIZE{pad.left + pad.right + text_width,
                pad.top + pad.bottom + (measured.bottom - measured.top)};
  }

  bool HasHotState() override { return text_colors_.HasHotColor() || Base::HasHotState(); }

  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    if (name == L"align") {
      auto has = [&value](const wchar_t* word) { return value.find(word) != std::wstring::npos; };
      if (has(L"left")) text_style_ &= ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
      if (has(L"center")) {
        text_style_ &= ~DT_RIGHT;
        text_style_ |= DT_CENTER;
      }
      if (has(L"right")) {
        text_style_ &= ~(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        text_style_ |= DT_RIGHT;
      }
      if (has(L"top")) {
        text_style_ &= ~(DT_VCENTER | DT_BOTTOM);
        text_style_ |= DT_SINGLELINE;
      }
      if (has(L"vcenter")) {
        text_style_ &= ~DT_BOTTOM;
        text_style_ |= DT_CENTER | DT_VCENTER | DT_SINGLELINE;
      }
      if (has(L"bottom")) {
        text_style_ &= ~DT_VCENTER;
        text_style_ |= DT_BOTTOM | DT_SINGLELINE;
      }
    } else if (name == L"endellipsis") {
      if (value == L"true")
        text_style_ |= DT_END_ELLIPSIS;
      else
        text_style_ &= ~DT_END_ELLIPSIS;
    } else if (name == L"linelimit") {
      SetFlag(line_limit_, value == L"true");
    } else if (name == L"singleline") {
      SetFlag(single_line_, value == L"true");
    } else if (name == L"text") {
      SetText(value);
    } else if (name == L"textid") {
      SetTextId(value);
    } else if (name == L"font") {
      font_id_ = value;
      this->Invalidate();
    } else if (SetTextColorAttribute(name, value)) {
    } else if (name == L"textpadding") {
      text_padding_ = ParseRect(value);
      DpiManager::GetInstance()->ScaleRect(text_padding_);
      this->ArrangeOrInvalidate();
    } else {
      Base::SetAttribute(name, value);
    }
  }

  void PaintText(IRenderContext* context) override {
    const std::wstring text = GetText();
    if (text.empty()) return;
    RECT rect = this->rect_;
    rect.left += text_padding_.left;
    rect.top += text_padding_.top;
    rect.right -= text_padding_.right;
    rect.bottom -= text_padding_.bottom;
    ControlStateType state = this->state_;
    if (state == kControlStatePushed && text_colors_[kControlStatePushed].empty()) state = kControlStateHot;
    if (state == kControlStateHot && text_colors_[kControlStateHot].empty()) state = kControlStateNormal;
    if (state == kControlStateDisabled && text_colors_[kControlStateDisabled].empty())
      state = kControlStateNormal;
    if (single_line_)
      text_style_ |= DT_SINGLELINE;
    else
      text_style_ &= ~DT_SINGLELINE;
    const bool normal_or_hot = state == kControlStateNormal || state == kControlStateHot;
    if (this->HasHotFade() && normal_or_hot && !text_colors_[kControlStateHot].empty()) {
      if (!text_colors_[kControlStateNormal].empty()) Draw(context, rect, text, kControlStateNormal, 255);
      if (this->hot_alpha_ > 0) Draw(context, rect, text, kControlStateHot, this->hot_alpha_);
      return;
    }
    Draw(context, rect, text, state, 255);
  }

 protected:
  void SetFlag(bool& flag, bool value) {
    if (flag == value) return;
    flag = value;
    this->Invalidate();
  }
  bool SetTextColorAttribute(const std::wstring& name, const std::wstring& value) {
    static const std::pair<const wchar_t*, ControlStateType> kNames[] = {
        {L"normaltextcolor", kControlStateNormal},
        {L"hottextcolor", kControlStateHot},
        {L"pushedtextcolor", kControlStatePushed},
        {L"disabledtextcolor", kControlStateDisabled}};
    for (const auto& [attribute, state] : kNames) {
      if (name != attribute) continue;
      if (state == kControlStateHot) this->animation_.SetFadeHot(true);
      text_colors_[state] = value;
      this->Invalidate();
      return true;
    }
    return false;
  }
  void Draw(IRenderContext* context, const RECT& rect, const std::wstring& text,
            ControlStateType state, int alpha) {
    context->DrawText(rect, text, GlobalManager::GetTextColor(text_colors_[state]), font_id_,
                      text_style_, static_cast<BYTE>(alpha), line_limit_);
  }

  std::wstring font_id_;
  UINT text_style_ = DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS;
  bool single_line_ = true;
  bool line_limit_ = false;
  RECT text_padding_ = {0, 0, 0, 0};
  std::wstring text_;
  std::wstring text_id_;
  StateColorMap text_colors_;
};

using Label = LabelTemplate<Control>;
using LabelBox = LabelTemplate<Box>;

}  // namespace ui
