// A button with a selected state of its own images, colours and text colour; clicking it
// toggles the state and raises "select" (42) or "unselect" (43).
#pragma once

#include "widgets/Button.h"

namespace ui {

template <typename Base = Control>
class CheckBoxTemplate : public ButtonTemplate<Base> {
 public:
  CheckBoxTemplate() { selected_colors_.SetOwner(this); }

  bool IsSelected() const { return selected_; }

  virtual void Selected(bool selected, bool trigger_event = false) {
    if (selected_ == selected) return;
    selected_ = selected;
    if (this->window_ && trigger_event)
      this->window_->SendNotify(this, selected ? kEventSelect : kEventUnSelect);
    this->Invalidate();
  }

  void Activate() override {
    if (this->IsActivatable()) Selected(!selected_, true);
  }

  Image* GetEstimateImage() override {
    if (!this->bk_image_.attribute.file_name.empty()) return &this->bk_image_;
    if (Image* image = this->state_images_.GetEstimateImage(kStateImageBk)) return image;
    return this->state_images_.GetEstimateImage(kStateImageSelectedBk);
  }

  bool HasHotState() override {
    return selected_colors_.HasHotColor() || LabelTemplate<Base>::HasHotState();
  }

  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    static const std::pair<const wchar_t*, ControlStateType> kStates[] = {
        {L"normal", kControlStateNormal},
        {L"hot", kControlStateHot},
        {L"pushed", kControlStatePushed},
        {L"disabled", kControlStateDisabled}};
    for (const auto& [word, state] : kStates) {
      if (name == std::wstring(L"selected") + word + L"image" ||
          name == std::wstring(L"selectedfore") + word + L"image") {
        const bool fore = name.compare(0, 12, L"selectedfore") == 0;
        this->state_images_.SetImage(fore ? kStateImageSelectedFore : kStateImageSelectedBk, state, value);
        this->ArrangeOrInvalidate();
        return;
      }
      if (name == std::wstring(L"selected") + word + L"color") {
        selected_colors_[state] = value;
        this->Invalidate();
        return;
      }
    }
    if (name == L"selected") {
      Selected(value == L"true", true);
    } else if (name == L"selectedtextcolor") {
      selected_text_color_ = value;
      this->Invalidate();
    } else {
      ButtonTemplate<Base>::SetAttribute(name, value);
    }
  }

  void PaintStatusColor(IRenderContext* context) override {
    if (!selected_) {
      Base::PaintStatusColor(context);
      return;
    }
    selected_colors_.PaintStatusColor(context, this->paint_rect_, this->state_);
  }

  void PaintStatusImage(IRenderContext* context) override {
    if (!selected_) {
      Base::PaintStatusImage(context);
      return;
    }
    this->state_images_.PaintStatusImage(context, kStateImageSelectedBk, this->state_);
    this->state_images_.PaintStatusImage(context, kStateImageSelectedFore, this->state_);
  }

  void PaintText(IRenderContext* context) override {
    if (!selected_) {
      LabelTemplate<Base>::PaintText(context);
      return;
    }
    const std::wstring text = this->GetText();
    if (text.empty()) return;
    RECT rect = this->rect_;
    rect.left += this->text_padding_.left;
    rect.top += this->text_padding_.top;
    rect.right -= this->text_padding_.right;
    rect.bottom -= this->text_padding_.bottom;
    std::wstring color = selected_text_color_.empty() ? this->text_colors_[kControlStateNormal]
                                                      : selected_text_color_;
    if (this->state_ == kControlStateDisabled) color = this->text_colors_[kControlStateDisabled];
    context->DrawText(rect, text, GlobalManager::GetTextColor(color), this->font_id_,
                      this->text_style_, 255, false);
  }

 protected:
  bool selected_ = false;
  std::wstring selected_text_color_;
  StateColorMap selected_colors_;
};

using CheckBox = CheckBoxTemplate<Control>;
using CheckBoxBox = CheckBoxTemplate<Box>;

}  // namespace ui
