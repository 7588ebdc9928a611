// The geometric part of every element of a skinned window: name, window, parent, size rules,
// float and alignment, visibility, and when a change needs a relayout or only a repaint.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "base/WeakCallback.h"

namespace ui {

class Box;
class Window;
class IRenderContext;

constexpr int kSizeStretch = -1;
constexpr int kSizeAuto = -2;

enum HorAlignType { kHorAlignLeft = 0, kHorAlignCenter, kHorAlignRight };
enum VerAlignType { kVerAlignTop = 0, kVerAlignCenter, kVerAlignBottom };

class PlaceHolder : public virtual base::SupportWeakCallback {
 public:
  PlaceHolder();
  PlaceHolder(const PlaceHolder&) = delete;
  PlaceHolder& operator=(const PlaceHolder&) = delete;
  ~PlaceHolder() override;

  virtual Window* GetWindow() const { return window_; }
  virtual void SetWindow(Window* window) { window_ = window; }
  virtual void SetWindow(Window* window, Box* parent, bool init);
  virtual void Init() { DoInit(); }
  virtual void DoInit() {}
  virtual bool IsVisible() const { return visible_ && intern_visible_; }
  virtual SIZE EstimateSize(SIZE available);
  virtual RECT GetPos(bool contain_shadow = true) const;
  virtual void SetPos(RECT rect) { rect_ = rect; }
  virtual void Arrange();
  virtual void ArrangeAncestor();
  virtual void Invalidate();
  virtual void ArrangeSelf();

  std::wstring GetName() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }
  Box* GetParent() const { return parent_; }
  void SetParent(Box* parent) { parent_ = parent; }

  int GetFixedWidth() const { return cx_fixed_; }
  int GetFixedHeight() const { return cy_fixed_; }
  // Values below -2 are ignored; positive ones are DPI-scaled when asked.
  void SetFixedWidth(int width, bool arrange = true, bool dpi_scale = true);
  void SetFixedHeight(int height, bool dpi_scale = true);
  int GetMinWidth() const { return cx_min_; }
  int GetMinHeight() const { return cy_min_; }
  int GetMaxWidth() const { return cx_max_; }
  int GetMaxHeight() const { return cy_max_; }
  void SetMinWidth(int width);
  void SetMinHeight(int height);
  void SetMaxWidth(int width);
  void SetMaxHeight(int height);
  int GetWidth() const { return rect_.right - rect_.left; }
  int GetHeight() const { return rect_.bottom - rect_.top; }

  HorAlignType GetHorAlignType() const { return hor_align_; }
  VerAlignType GetVerAlignType() const { return ver_align_; }
  void SetHorAlignType(HorAlignType align) { hor_align_ = align; }
  void SetVerAlignType(VerAlignType align) { ver_align_ = align; }
  bool IsFloat() const { return float_; }
  void SetFloat(bool value);
  bool IsReEstimateSize() const { return re_estimate_; }
  void SetReEstimateSize(bool value) { re_estimate_ = value; }
  bool NeedsArrange() const { return is_arranged_; }
  bool IsUseCache() const { return use_cache_; }
  void SetUseCache(bool value) { use_cache_ = value; }
  bool IsCacheDirty() const { return cache_dirty_; }
  void SetCacheDirty(bool value) { cache_dirty_ = value; }
  // A cache layer is made only up to this size (128 MiB; a full 8K screen fits).
  static constexpr uint64_t kMaxLayerPixels = uint64_t{1} << 25;

  // Scroll position of the nearest scrolling ancestor, for window coordinates.
  SIZE GetScrollOffset() const;

 protected:
  // Invalidates `rect` (content coordinates) on the window, when it has a native window.
  void InvalidateOnWindow(RECT rect) const;
  // A value read from a size attribute ("stretch", "auto" or pixels): false when rejected.
  static bool ParseSizeValue(const std::wstring& value, int& size);
  static int ScaleByDpi(int value);
  // Stores a size limit; a float element arranges itself, others ask their ancestors.
  void StoreLimit(int& field, int value);

  std::wstring name_;
  Window* window_ = nullptr;
  Box* parent_ = nullptr;
  int cx_fixed_ = kSizeStretch;
  int cy_fixed_ = kSizeStretch;
  int cx_min_ = -1;
  int cy_min_ = -1;
  int cx_max_ = 9999999;
  int cy_max_ = 9999999;
  RECT rect_ = {0, 0, 0, 0};
  HorAlignType hor_align_ = kHorAlignLeft;
  VerAlignType ver_align_ = kVerAlignTop;
  bool float_ = false;
  bool re_estimate_ = true;
  bool visible_ = true;
  bool intern_visible_ = true;
  bool is_arranged_ = true;
  bool use_cache_ = false;
  bool cache_dirty_ = false;
  std::unique_ptr<IRenderContext> cache_context_;
};

}  // namespace ui
