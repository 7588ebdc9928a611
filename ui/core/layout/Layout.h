// Where the children of one box go: floating (Layout), stacked vertically (VLayout) or
// horizontally (HLayout), or in a grid of cells (TileLayout).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class Box;
class Control;

using ChildList = std::vector<Control*>;

class Layout {
 public:
  Layout() = default;
  virtual ~Layout() = default;
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;

  // True when `name` is a layout attribute.
  virtual bool SetAttribute(const std::wstring& name, const std::wstring& value);
  // Places the children inside `rect`; returns the size they need.
  virtual SIZE ArrangeChild(const ChildList& children, RECT rect);
  // The size the owner needs for its children, padding included.
  virtual SIZE AjustSizeByChild(const ChildList& children, SIZE available);
  RECT GetPadding() const { return padding_; }
  void SetPadding(RECT padding, bool dpi_scale = true);
  int GetChildMargin() const { return child_margin_; }
  void SetChildMargin(int margin);
  void SetOwner(Box* owner) { owner_ = owner; }

  // Places one child by its own rules inside `rect`; returns its size.
  static SIZE SetFloatPos(Control* child, RECT rect);

 protected:
  void ArrangeOwner();
  // Adds the padding to a size computed from the children.
  SIZE AddPadding(SIZE size) const;

  RECT padding_ = {0, 0, 0, 0};
  int child_margin_ = 0;
  Box* owner_ = nullptr;
};

class VLayout : public Layout {
 public:
  SIZE ArrangeChild(const ChildList& children, RECT rect) override;
  SIZE AjustSizeByChild(const ChildList& children, SIZE available) override;
};

class HLayout : public Layout {
 public:
  SIZE ArrangeChild(const ChildList& children, RECT rect) override;
  SIZE AjustSizeByChild(const ChildList& children, SIZE available) override;
};

class TileLayout : public Layout {
 public:
  bool SetAttribute(const std::wstring& name, const std::wstring& value) override;
  SIZE ArrangeChild(const ChildList& children, RECT rect) override;
  SIZE AjustSizeByChild(const ChildList& children, SIZE available) override;
  void SetItemSize(SIZE size);
  SIZE GetItemSize() const { return item_size_; }
  int GetColumns() const { return columns_; }
  void SetColumns(int columns);

 private:
  int RowHeight(const ChildList& children, size_t from, int x, int cell_right) const;

  int columns_ = 1;
  SIZE item_size_ = {0, 0};
};

}  // namespace ui
