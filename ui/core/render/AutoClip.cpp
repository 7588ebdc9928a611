#include "render/AutoClip.h"

namespace ui {

AutoClip::AutoClip(IRenderContext* context, const RECT& rect, bool clip)
    : context_(context), clipped_(clip) {
  if (clipped_) context_->SetClip(rect);
}

AutoClip::AutoClip(IRenderContext* context, const RECT& rect, int width, int height, bool clip)
    : context_(context), clipped_(clip) {
  if (clipped_) context_->SetRoundClip(rect, width, height);
}

AutoClip::~AutoClip() {
  if (clipped_) context_->ClearClip();
}

}  // namespace ui
