#include "image/StateImage.h"

#include "render/RenderInterfaces.h"

namespace ui {
namespace {

bool IsNormalOrHot(ControlStateType state) {
  return state == kControlStateNormal || state == kControlStateHot;
}

// The state drawn for `state` when some state has nothing set: pushed falls back to hot,
// hot and disabled to normal.
template <typename IsSet>
ControlStateType FallBack(ControlStateType state, IsSet is_set) {
  if (state == kControlStatePushed && !is_set(kControlStatePushed)) state = kControlStateHot;
  if (state == kControlStateHot && !is_set(kControlStateHot)) state = kControlStateNormal;
  if (state == kControlStateDisabled && !is_set(kControlStateDisabled)) state = kControlStateNormal;
  return state;
}

}  // namespace

bool StateImage::HasImageString(ControlStateType state) const {
  auto found = images_.find(state);
  return found != images_.end() && !found->second.attribute.image_string.empty();
}

bool StateImage::PaintStatusImage(IRenderContext* context, ControlStateType state,
                                  const std::wstring& modify) {
  if (!owner_) return false;
  if (owner_->HasHotFade() && IsNormalOrHot(state)) {
    Image& normal = images_[kControlStateNormal];
    Image& hot = images_[kControlStateHot];
    const int hot_alpha = owner_->GetHotAlpha();
    const ImageAttribute& n = normal.attribute;
    const ImageAttribute& h = hot.attribute;
    if (!n.file_name.empty() && n.file_name == h.file_name && EqualRect(&n.source, &h.source)) {
      const double x = hot_alpha / 255.0;
      return owner_->DrawImage(context, hot, modify,
                               static_cast<int>((1 - x) * n.fade + x * h.fade));
    }
    owner_->DrawImage(context, normal, modify, -1);
    return owner_->DrawImage(context, hot, modify, h.fade * hot_alpha / 255);
  }
  const ControlStateType chosen =
      FallBack(state, [this](ControlStateType s) { return HasImageString(s); });
  // A pushed control shown with its hot image draws it opaque, for this draw only.
  const bool pushed_as_hot = state == kControlStatePushed && chosen == kControlStateHot;
  return owner_->DrawImage(context, images_[chosen], modify, pushed_as_hot ? 255 : -1);
}

Image* StateImage::GetEstimateImage() {
  for (ControlStateType state :
       {kControlStateNormal, kControlStateHot, kControlStatePushed, kControlStateDisabled}) {
    auto found = images_.find(state);
    if (found != images_.end() && !found->second.attribute.file_name.empty()) return &found->second;
  }
  return nullptr;
}

void StateImage::ClearCache() {
  for (auto& [state, image] : images_) image.ClearCache();
}

void StateImageMap::SetOwner(StatePaintOwner* owner) {
  owner_ = owner;
  for (StateImageType type :
       {kStateImageBk, kStateImageFore, kStateImageSelectedBk, kStateImageSelectedFore})
    images_[type].SetOwner(owner);
}

void StateImageMap::SetImage(StateImageType type, ControlStateType state,
                             const std::wstring& text) {
  StateImage& images = images_[type];
  images.SetOwner(owner_);
  Image& image = images.GetImage(state);
  image.SetImageString(text);
  if (owner_) owner_->PrefetchImage(image);
}

std::wstring StateImageMap::GetImagePath(StateImageType type, ControlStateType state) {
  return images_[type].GetImage(state).attribute.image_string;
}

bool StateImageMap::PaintStatusImage(IRenderContext* context, StateImageType type,
                                     ControlStateType state, const std::wstring& modify) {
  auto found = images_.find(type);
  return found != images_.end() && found->second.PaintStatusImage(context, state, modify);
}

Image* StateImageMap::GetEstimateImage(StateImageType type) {
  auto found = images_.find(type);
  return found == images_.end() ? nullptr : found->second.GetEstimateImage();
}

bool StateImageMap::HasHotImage() const {
  for (const auto& [type, images] : images_)
    if (images.HasHotImage()) return true;
  return false;
}

void StateImageMap::ClearCache() {
  for (auto& [type, images] : images_) images.ClearCache();
}

std::wstring StateColorMap::ColorOf(ControlStateType state) const {
  auto found = colors_.find(state);
  return found == colors_.end() ? std::wstring() : found->second;
}

bool StateColorMap::HasHotColor() const { return !ColorOf(kControlStateHot).empty(); }

void StateColorMap::PaintStatusColor(IRenderContext* context, const RECT& rect,
                                     ControlStateType state) {
  if (owner_ && owner_->HasHotFade() && IsNormalOrHot(state) && HasHotColor()) {
    context->DrawColor(rect, ColorOf(kControlStateNormal), 255);
    const int hot_alpha = owner_->GetHotAlpha();
    if (hot_alpha >= 1)
      context->DrawColor(rect, ColorOf(kControlStateHot), static_cast<BYTE>(hot_alpha));
    return;
  }
  const ControlStateType chosen =
      FallBack(state, [this](ControlStateType s) { return !ColorOf(s).empty(); });
  context->DrawColor(rect, ColorOf(chosen), 255);
}

}  // namespace ui
