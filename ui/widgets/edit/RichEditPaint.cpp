// Layout, scrolling, painting and the caret of the rich edit.
#include <algorithm>

#include "render/AutoClip.h"
#include "render/RenderInterfaces.h"
#include "resources/GlobalManager.h"
#include "timing/TimerManager.h"
#include "widgets/ScrollBar.h"
#include "widgets/edit/RichEdit.h"
#include "widgets/edit/TextHost.h"
#include "window/Window.h"

namespace ui {
namespace {

bool IsShown(const ScrollBar* bar) { return bar && bar->IsVisible() && bar->GetScrollRange() > 0; }

}  // namespace

SIZE RichEdit::EstimateSize(SIZE available) {
  SIZE size = {cx_fixed_, cy_fixed_};
  const RECT padding = layout_->GetPadding();
  if (cx_fixed_ == kSizeAuto) {
    const SIZE natural = GetNaturalSize(0);
    size.cx = natural.cx + padding.left + padding.right;
    if (cy_fixed_ == kSizeAuto) size.cy = natural.cy + padding.top + padding.bottom;
  } else if (cy_fixed_ == kSizeAuto) {
    const int width = (cx_fixed_ > 0 ? cx_fixed_ : available.cx) - padding.left - padding.right;
    size.cy = GetNaturalSize(width).cy + padding.top + padding.bottom;
  }
  return size;
}

RECT RichEdit::EngineClientRect() const {
  RECT rect = GetPaddingPos();
  if (IsShown(vertical_bar_.get())) rect.right -= vertical_bar_->GetFixedWidth();
  if (IsShown(horizontal_bar_.get())) rect.bottom -= horizontal_bar_->GetFixedHeight();
  return rect;
}

void RichEdit::SetPos(RECT rect) {
  Control::SetPos(rect);
  const RECT client = EngineClientRect();
  if (host_) host_->SetClientRect(client);
  ScrollBar* vertical = vertical_bar_.get();
  if (vertical && (vertical->GetScrollRange() == 0 || content_taller_)) {
    const int width = client.right - client.left + vertical->GetFixedWidth();
    if (GetNaturalSize(width).cy > client.bottom - client.top) {
      vertical->SetScrollPos(0);
      content_taller_ = true;
    } else if (content_taller_) {
      vertical->SetScrollRange(0);
      content_taller_ = false;
    }
  }
  if (vertical && vertical->IsVisible())
    vertical->SetPos(RECT{rect.right - vertical->GetFixedWidth(), rect.top, rect.right,
                          rect.bottom - (IsShown(horizontal_bar_.get())
                                             ? horizontal_bar_->GetFixedHeight() : 0)});
  if (ScrollBar* horizontal = horizontal_bar_.get(); horizontal && horizontal->IsVisible())
    horizontal->SetPos(RECT{rect.left, rect.bottom - horizontal->GetFixedHeight(),
                            rect.right - (IsShown(vertical) ? vertical->GetFixedWidth() : 0),
                            rect.bottom});
  if (!items_.empty()) layout_->ArrangeChild(items_, client);
}

void RichEdit::SetScrollPos(SIZE pos) {
  ScrollBar* vertical = vertical_bar_.get();
  ScrollBar* horizontal = horizontal_bar_.get();
  if (vertical && vertical->GetScrollRange() > 0) {
    const int64_t wanted = std::clamp<int64_t>(pos.cy, 0, vertical->GetScrollRange());
    const int64_t old = vertical->GetScrollPos();
    if (wanted != old) {
      vertical->SetScrollPos(wanted);
      vertical->SetPos(vertical->GetPos());
      TxSendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, wanted), 0, nullptr);
      // A plain-text engine may stop short of the end when scrolling down.
      if (!rich_ && wanted > old && vertical->GetScrollPos() <= wanted)
        vertical->SetScrollPos(wanted);
    }
  }
  if (horizontal && horizontal->GetScrollRange() > 0) {
    const int64_t wanted = std::clamp<int64_t>(pos.cx, 0, horizontal->GetScrollRange());
    if (wanted != horizontal->GetScrollPos()) {
      horizontal->SetScrollPos(wanted);
      horizontal->SetPos(horizontal->GetPos());
      TxSendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, wanted), 0, nullptr);
    }
  }
}

void RichEdit::PageUp() { TxSendMessage(WM_VSCROLL, SB_PAGEUP, 0, nullptr); }
void RichEdit::PageDown() { TxSendMessage(WM_VSCROLL, SB_PAGEDOWN, 0, nullptr); }
void RichEdit::HomeUp() { TxSendMessage(WM_VSCROLL, SB_TOP, 0, nullptr); }
void RichEdit::PageLeft() { TxSendMessage(WM_HSCROLL, SB_PAGELEFT, 0, nullptr); }
void RichEdit::PageRight() { TxSendMessage(WM_HSCROLL, SB_PAGERIGHT, 0, nullptr); }
void RichEdit::HomeLeft() { TxSendMessage(WM_HSCROLL, SB_LEFT, 0, nullptr); }
void RichEdit::EndRight() { TxSendMessage(WM_HSCROLL, SB_RIGHT, 0, nullptr); }

void RichEdit::Paint(IRenderContext* context, const RECT& dirty) {
  RECT unused;
  if (!IntersectRect(&unused, &dirty, &rect_)) return;
  Control::Paint(context, dirty);
  if (!host_) return;
  RECT bounds = host_->GetAlignedClientRect();
  RECTL draw_bounds = {bounds.left, bounds.top, bounds.right, bounds.bottom};
  RECT update = dirty;
  host_->GetTextServices()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, context->GetDC(),
                                   nullptr, &draw_bounds, nullptr, &update, nullptr, 0,
                                   TXTVIEW_ACTIVE);
  ScrollBar* vertical = vertical_bar_.get();
  if (content_taller_ && vertical) {
    const RECT client = host_->GetClientRect();
    const int width = client.right - client.left + vertical->GetFixedWidth();
    if (GetNaturalSize(width).cy <= client.bottom - client.top) SetPos(rect_);
  }
}

void RichEdit::PaintStatusImage(IRenderContext* context) {
  if (read_only_) return;
  if (focused_ && !focused_image_.attribute.image_string.empty())
    DrawImage(context, focused_image_, L"", -1);
  else
    ScrollableBox::PaintStatusImage(context);
  PaintPromptText(context);
}

void RichEdit::PaintPromptText(IRenderContext* context) {
  if (!host_ || !GetText().empty()) return;
  const std::wstring prompt = GetPromptText();
  if (prompt.empty() || prompt_color_.empty()) return;
  context->DrawText(host_->GetAlignedClientRect(), prompt,
                    GlobalManager::GetTextColor(prompt_color_), font_id_, DT_NOCLIP, 255, false);
}

void RichEdit::PaintChild(IRenderContext* context, const RECT& dirty) {
  RECT unused;
  if (!IntersectRect(&unused, &dirty, &rect_)) return;
  PaintCaret(context);
  {
    AutoClip clip(context, EngineClientRect());
    for (Control* child : ChildList(items_))
      if (child->IsVisible()) child->AlphaPaint(context, dirty);
  }
  for (ScrollBar* bar : {vertical_bar_.get(), horizontal_bar_.get()}) {
    if (!bar || !bar->IsVisible()) continue;
    const RECT bar_rect = bar->GetPos();
    if (IntersectRect(&unused, &dirty, &bar_rect)) bar->AlphaPaint(context, dirty);
  }
}

void RichEdit::SetCaretSize(int width, int height) {
  caret_width_ = width;
  caret_height_ = height;
}

void RichEdit::SetCaretPos(int x, int y) {
  caret_x_ = x;
  caret_y_ = y;
  ShowCaret(GetSelText().empty());
}

void RichEdit::ShowCaret(bool show) {
  caret_timer_.Cancel();
  caret_visible_ = show;
  if (show) {
    TimerManager::GetInstance()->AddTimer(
        caret_timer_.GetWeakFlag(),
        [this] {
          caret_visible_ = !caret_visible_;
          Invalidate();
        },
        500, -1);
  }
  Invalidate();
}

void RichEdit::PaintCaret(IRenderContext* context) {
  if ((read_only_ && hide_caret_read_only_) || !caret_visible_ || composing_) return;
  const DWORD color =
      caret_color_.empty() ? 0xFF000000 : GlobalManager::GetTextColor(caret_color_);
  context->DrawLine(RECT{caret_x_, caret_y_, caret_x_, caret_y_ + caret_height_}, caret_width_,
                    color);
}

}  // namespace ui
