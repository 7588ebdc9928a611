#include "window/Shadow.h"

#include "layout/Box.h"
#include "system/DpiManager.h"

namespace ui {

Shadow::Shadow()
    : image_(L"file='../public/bk/bk_shadow.png' corner='30,30,30,30'") {
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

Box* Shadow::AttachShadow(Box* root) { return root; }

void Shadow::MaximizedOrRestored(bool) {}

void Shadow::ChangeDpiScale() {}

}  // namespace ui
