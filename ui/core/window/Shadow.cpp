#include "window/Shadow.h"

#include <shlwapi.h>

#include "image/Image.h"
#include "resources/GlobalManager.h"
#include "system/DpiManager.h"

namespace ui {

void ShadowBox::Paint(IRenderContext* context, const RECT& dirty) {
  // The root covers the padded inner area; only a dirty part outside it shows the shadow.
  const RECT inner = GetPaddingPos();
  RECT covered;
  if (!IntersectRect(&covered, &dirty, &inner) || !EqualRect(&covered, &dirty))
    Box::Paint(context, dirty);
}

Shadow::Shadow() : image_(L"file='../public/bk/bk_shadow.png' corner='30,30,30,30'") {
  padding_ = base_padding_;
  DpiManager::GetInstance()->ScaleRect(padding_);
  saved_padding_ = padding_;
}

void Shadow::SetShadowImage(const std::wstring& image) {
  image_ = image;
  default_image_ = false;
}

void Shadow::SetShadowCorner(const RECT& corner) {
  padding_ = corner;
  DpiManager::GetInstance()->ScaleRect(padding_);
  saved_padding_ = padding_;
}

Control* Shadow::GetRoot() const {
  return shadow_box_ && shadow_box_->GetCount() > 0 ? shadow_box_->GetItemAt(0) : nullptr;
}

void Shadow::PrefetchImage(const std::wstring& resource_path) const {
  if (!attached_) return;
  Image image;
  image.SetImageString(image_);
  const std::wstring& file = image.attribute.file_name;
  if (!file.empty())
    GlobalManager::PrefetchImage(PathIsRelativeW(file.c_str()) ? resource_path + file : file);
}

Box* Shadow::WrapRoot(Box* root) {
  if (!attached_) return root;
  shadow_box_ = new ShadowBox();
  shadow_box_->GetLayout()->SetPadding(padding_, false);
  const int width = root->GetFixedWidth();
  const int height = root->GetFixedHeight();
  const int shadow_width = width > 0 ? width + padding_.left + padding_.right : width;
  const int shadow_height = height > 0 ? height + padding_.top + padding_.bottom : height;
  shadow_box_->SetFixedWidth(shadow_width, true, false);
  shadow_box_->SetFixedHeight(shadow_height, false);
  if (round_corner_) {
    const int round = DpiManager::GetInstance()->ScaleInt(3);
    root->SetBorderRound(SIZE{round, round});
  }
  shadow_box_->Add(root);
  shadow_box_->SetBkImage(image_);
  return shadow_box_;
}

void Shadow::MaximizedOrRestored(bool maximized) {
  if (!attached_ || !shadow_box_) return;
  padding_ = maximized ? RECT{0, 0, 0, 0} : saved_padding_;
  shadow_box_->GetLayout()->SetPadding(padding_, false);
  if (round_corner_ && shadow_box_->GetCount() > 0) {
    const int round = maximized ? 0 : DpiManager::GetInstance()->ScaleInt(3);
    shadow_box_->GetItemAt(0)->SetBorderRound(SIZE{round, round});
  }
}

void Shadow::ChangeDpiScale() {
  if (!attached_ || !shadow_box_) return;
  padding_ = base_padding_;
  DpiManager::GetInstance()->ScaleRect(padding_);
  saved_padding_ = padding_;
  shadow_box_->GetLayout()->SetPadding(base_padding_, true);
}

}  // namespace ui
