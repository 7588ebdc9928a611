#include "layout/Layout.h"

#include <algorithm>

#include "control/Control.h"
#include "image/ImageAttribute.h"
#include "layout/Box.h"
#include "system/DpiManager.h"

namespace ui {

bool Layout::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"padding") {
    SetPadding(ParseRect(value), true);
    return true;
  }
  if (name == L"childmargin") {
    SetChildMargin(_wtoi(value.c_str()));
    return true;
  }
  return false;
}

void Layout::ArrangeOwner() {
  if (owner_) owner_->Arrange();
}

void Layout::SetPadding(RECT padding, bool dpi_scale) {
  if (dpi_scale) DpiManager::GetInstance()->ScaleRect(padding);
  padding_ = padding;
  ArrangeOwner();
}

void Layout::SetChildMargin(int margin) {
  child_margin_ = DpiManager::GetInstance()->ScaleInt(margin);
  ArrangeOwner();
}

SIZE Layout::AddPadding(SIZE size) const {
  return SIZE{size.cx + padding_.left + padding_.right, size.cy + padding_.top + padding_.bottom};
}

SIZE Layout::SetFloatPos(Control* child, RECT rect) {
  if (!child->IsVisible()) return SIZE{0, 0};
  const RECT m = child->GetMargin();
  const RECT inner = {rect.left + m.left, rect.top + m.top, rect.right - m.right,
                      rect.bottom - m.bottom};
  const SIZE available = {inner.right - inner.left, inner.bottom - inner.top};
  SIZE size = child->EstimateSize(available);
  if (child->GetFixedWidth() == kSizeAuto && child->GetFixedHeight() == kSizeAuto &&
      child->GetMaxWidth() == kSizeStretch) {
    const int width = std::max<int>(0, available.cx);
    if (size.cx > width) {
      // `width` is already in pixels: no second DPI scaling.
      child->SetFixedWidth(width, false, false);
      size = child->EstimateSize(available);
      child->SetFixedWidth(kSizeAuto, false, false);
    }
  }
  int width = size.cx == kSizeStretch ? std::max<int>(0, available.cx) : size.cx;
  width = std::max(width, child->GetMinWidth());
  if (child->GetMaxWidth() >= 0) width = std::min(width, child->GetMaxWidth());
  int height = size.cy == kSizeStretch ? std::max<int>(0, available.cy) : size.cy;
  height = std::max(height, child->GetMinHeight());
  height = std::min(height, child->GetMaxHeight());
  int x = inner.left;
  if (child->GetHorAlignType() == kHorAlignRight) x = inner.right - width;
  if (child->GetHorAlignType() == kHorAlignCenter) x = inner.left + (inner.right - width - inner.left) / 2;
  int y = inner.top;
  if (child->GetVerAlignType() == kVerAlignBottom) y = inner.bottom - height;
  if (child->GetVerAlignType() == kVerAlignCenter) y = inner.top + (inner.bottom - height - inner.top) / 2;
  child->SetPos(RECT{x, y, x + width, y + height});
  return SIZE{width, height};
}

SIZE Layout::ArrangeChild(const ChildList& children, RECT rect) {
  SIZE needed = {0, 0};
  for (Control* child : children) {
    if (!child->IsVisible()) continue;
    const SIZE size = SetFloatPos(child, rect);
    needed.cx = std::max(needed.cx, size.cx);
    needed.cy = std::max(needed.cy, size.cy);
  }
  return needed;
}

namespace {

// A child's estimate within its own limits.
SIZE LimitedEstimate(Control* child, SIZE available) {
  const SIZE s = child->EstimateSize(available);
  int width = std::max<int>(s.cx, child->GetMinWidth());
  if (child->GetMaxWidth() >= 0) width = std::min(width, child->GetMaxWidth());
  int height = std::max<int>(s.cy, child->GetMinHeight());
  height = std::min(height, child->GetMaxHeight());
  return SIZE{width, height};
}

}  // namespace

SIZE Layout::AjustSizeByChild(const ChildList& children, SIZE available) {
  // Without visible children the owner needs only its padding (never a negative size).
  SIZE needed = {0, 0};
  for (Control* child : children) {
    if (!child->IsVisible()) continue;
    const SIZE size = LimitedEstimate(child, available);
    const RECT m = child->GetMargin();
    needed.cx = std::max<int>(needed.cx, m.left + m.right + size.cx);
    needed.cy = std::max<int>(needed.cy, m.top + m.bottom + size.cy);
  }
  return AddPadding(needed);
}

SIZE VLayout::AjustSizeByChild(const ChildList& children, SIZE available) {
  SIZE needed = {0, 0};
  int count = 0;
  for (Control* child : children) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    const SIZE size = LimitedEstimate(child, available);
    const RECT m = child->GetMargin();
    needed.cx = std::max<int>(needed.cx, m.left + m.right + size.cx);
    needed.cy += size.cy + m.top + m.bottom;
    ++count;
  }
  if (count >= 2) needed.cy += (count - 1) * child_margin_;
  return AddPadding(needed);
}

SIZE HLayout::AjustSizeByChild(const ChildList& children, SIZE available) {
  SIZE needed = {0, 0};
  int count = 0;
  for (Control* child : children) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    const SIZE size = LimitedEstimate(child, available);
    const RECT m = child->GetMargin();
    needed.cy = std::max<int>(needed.cy, m.top + m.bottom + size.cy);
    needed.cx += size.cx + m.left + m.right;
    ++count;
  }
  if (count >= 2) needed.cx += (count - 1) * child_margin_;
  return AddPadding(needed);
}

SIZE VLayout::ArrangeChild(const ChildList& children, RECT rect) {
  const SIZE available = {rect.right - rect.left, rect.bottom - rect.top};
  int count = 0, fixed_sum = 0, stretch_count = 0;
  for (Control* child : children) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    ++count;
    const SIZE s = child->EstimateSize(available);
    const RECT m = child->GetMargin();
    if (s.cy == kSizeStretch) {
      ++stretch_count;
      fixed_sum += m.top + m.bottom;
    } else {
      const int height = std::min(std::max<int>(s.cy, child->GetMinHeight()), child->GetMaxHeight());
      fixed_sum += height + m.top + m.bottom;
    }
  }
  fixed_sum += (count - 1) * child_margin_;
  const int expand = stretch_count == 0 ? 0 : std::max<int>(0, (available.cy - fixed_sum) / stretch_count);
  int remainder = available.cy - stretch_count * expand - fixed_sum;
  int y = rect.top, remaining = available.cy, needed = 0, widest = 0;
  for (Control* child : children) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(child, rect);
      continue;
    }
    const RECT m = child->GetMargin();
    const SIZE s = child->EstimateSize(SIZE{available.cx, remaining - m.top});
    int height = s.cy;
    if (height == kSizeStretch) {
      height = expand;
      if (remainder >= 1) {
        ++height;
        --remainder;
      }
    }
    height = std::min(std::max(height, child->GetMinHeight()), child->GetMaxHeight());
    int width = s.cx == kSizeStretch ? available.cx - m.right - m.left : s.cx;
    width = std::max(std::max(width, 0), child->GetMinWidth());
    if (child->GetMaxWidth() >= 0) width = std::min(width, child->GetMaxWidth());
    int x = rect.left + m.left;
    if (child->GetHorAlignType() == kHorAlignRight) x = rect.right - m.right - width;
    if (child->GetHorAlignType() == kHorAlignCenter)
      x = rect.left + (m.left + rect.right - m.right - width - rect.left) / 2;
    const int top = y + m.top;
    child->SetPos(RECT{x, top, x + width, top + height});
    widest = std::max(widest, width);
    y += m.top + height + m.bottom + child_margin_;
    needed += m.top + height + m.bottom;
    remaining -= m.top + height + m.bottom + child_margin_;
  }
  if (count >= 2) needed += (count - 1) * child_margin_;
  return SIZE{widest, needed};
}

SIZE HLayout::ArrangeChild(const ChildList& children, RECT rect) {
  const SIZE available = {rect.right - rect.left, rect.bottom - rect.top};
  int count = 0, fixed_sum = 0, stretch_count = 0;
  auto limit_width = [](Control* child, int width) {
    width = std::max(width, child->GetMinWidth());
    if (child->GetMaxWidth() >= 0) width = std::min(width, child->GetMaxWidth());
    return width;
  };
  for (Control* child : children) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    ++count;
    const SIZE s = child->EstimateSize(available);
    const RECT m = child->GetMargin();
    if (s.cx == kSizeStretch) {
      ++stretch_count;
      fixed_sum += m.left + m.right;
    } else {
      fixed_sum += limit_width(child, s.cx) + m.left + m.right;
    }
  }
  fixed_sum += (count - 1) * child_margin_;
  const int expand = stretch_count == 0 ? 0 : std::max<int>(0, (available.cx - fixed_sum) / stretch_count);
  int remainder = available.cx - stretch_count * expand - fixed_sum;
  int x = rect.left, remaining = available.cx, needed = 0, tallest = 0;
  for (Control* child : children) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(child, rect);
      continue;
    }
    const RECT m = child->GetMargin();
    const SIZE s = child->EstimateSize(SIZE{remaining - m.left, available.cy});
    int width = s.cx;
    if (width == kSizeStretch) {
      width = expand;
      if (remainder >= 1) {
        ++width;
        --remainder;
      }
    }
    width = limit_width(child, width);
    int height = s.cy == kSizeStretch ? available.cy - m.bottom - m.top : s.cy;
    height = std::min(std::max(std::max(height, 0), child->GetMinHeight()), child->GetMaxHeight());
    int y = rect.top + m.top;
    if (child->GetVerAlignType() == kVerAlignBottom) y = rect.bottom - m.bottom - height;
    if (child->GetVerAlignType() == kVerAlignCenter)
      y = rect.top + (m.top + rect.bottom - m.bottom - height - rect.top) / 2;
    const int left = x + m.left;
    child->SetPos(RECT{left, y, left + width, y + height});
    tallest = std::max(tallest, height);
    x += m.left + width + m.right + child_margin_;
    needed += m.left + width + m.right;
    remaining -= m.left + width + m.right + child_margin_;
  }
  if (count >= 2) needed += (count - 1) * child_margin_;
  return SIZE{needed, tallest};
}

bool TileLayout::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"itemsize") {
    const RECT pair = ParseRect(value);
    SetItemSize(SIZE{pair.left, pair.top});
    return true;
  }
  if (name == L"columns") {
    SetColumns(_wtoi(value.c_str()));
    return true;
  }
  return Layout::SetAttribute(name, value);
}

void TileLayout::SetItemSize(SIZE size) {
  DpiManager::GetInstance()->ScaleSize(size);
  if (size.cx == item_size_.cx && size.cy == item_size_.cy) return;
  item_size_ = size;
  ArrangeOwner();
}

void TileLayout::SetColumns(int columns) {
  if (columns <= 0) return;
  columns_ = columns;
  ArrangeOwner();
}

int TileLayout::RowHeight(const ChildList& children, size_t from, int x, int cell_right) const {
  int row_height = 0;
  int k = 0;
  for (size_t i = from; i < children.size(); ++i) {
    Control* member = children[i];
    if (!member->IsVisible() || member->IsFloat()) continue;
    const RECT m = member->GetMargin();
    const bool edge = k == 0 || (k + 1) % columns_ == 0;
    int width = cell_right - m.right - m.left - x - (edge ? child_margin_ / 2 : child_margin_);
    width = std::max(width, member->GetMinWidth());
    if (member->GetMaxWidth() >= 0) width = std::min(width, member->GetMaxWidth());
    const SIZE s = member->EstimateSize(SIZE{width, 9999});
    const int height = std::min(std::max<int>(s.cy, member->GetMinHeight()), member->GetMaxHeight());
    row_height = std::max<int>(row_height, height + m.top + m.bottom);
    if ((k + 1) % columns_ == 0) break;
    ++k;
  }
  return row_height;
}

SIZE TileLayout::ArrangeChild(const ChildList& children, RECT rect) {
  // A box squeezed below nothing lays out as an empty one: never a negative grid.
  const int width = std::max<int>(0, rect.right - rect.left);
  if (item_size_.cx > 0) columns_ = std::max<int>(1, width / item_size_.cx);
  const int cell_width = width / columns_;
  int extra = width % columns_;
  int x = rect.left, y = rect.top, index = 0, row_height = 0, needed = 0;
  for (size_t i = 0; i < children.size(); ++i) {
    Control* child = children[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(child, rect);
      continue;
    }
    int cell_right = x + cell_width;
    if (extra > 0) {
      ++cell_right;
      --extra;
    }
    if (index % columns_ == 0) row_height = RowHeight(children, i, x, cell_right);
    const RECT m = child->GetMargin();
    const int left = x + m.left + child_margin_ / 2;
    const int right = cell_right - child_margin_ / 2 - m.right;
    const int top = y + m.top;
    const SIZE s = child->EstimateSize(SIZE{right - left, row_height - m.top});
    int w = s.cx == kSizeStretch ? right - left : s.cx;
    int h = s.cy == kSizeStretch ? row_height - m.top : s.cy;
    w = std::max(w, child->GetMinWidth());
    if (child->GetMaxWidth() >= 0) w = std::min(w, child->GetMaxWidth());
    h = std::min(std::max(h, child->GetMinHeight()), child->GetMaxHeight());
    const int child_left = (left + right - w) / 2;
    const int child_top = (y + row_height + top - h) / 2;
    child->SetPos(RECT{child_left, child_top, child_left + w, child_top + h});
    needed = y + row_height - rect.top;
    ++index;
    if (index % columns_ == 0) {
      y += row_height + child_margin_;
      x = rect.left;
      row_height = 0;
      extra = width % columns_;
    } else {
      x = cell_right;
    }
  }
  return SIZE{width, needed};
}

SIZE TileLayout::AjustSizeByChild(const ChildList& children, SIZE available) {
  SIZE size = owner_ ? static_cast<Control*>(owner_)->Control::EstimateSize(available) : SIZE{0, 0};
  size.cy = 0;
  int columns = columns_;
  if (item_size_.cx > 0 && owner_) columns = owner_->GetFixedWidth() / item_size_.cx;
  columns = std::max(1, columns);
  const int count = static_cast<int>(std::count_if(
      children.begin(), children.end(), [](Control* child) { return child->IsVisible(); }));
  if (count > 0) {
    const int rows = (count + columns - 1) / columns;
    // Stretch and auto children have no fixed height to multiply.
    const int item_height = std::max(0, children.front()->GetFixedHeight());
    size.cy += rows * item_height + padding_.top + padding_.bottom + (rows - 1) * child_margin_;
  }
  return size;
}

}  // namespace ui
