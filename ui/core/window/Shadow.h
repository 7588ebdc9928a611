// The drop shadow around a skinned window's root: settings and the box that draws it.
#pragma once

#include <windows.h>

#include <string>

#include "layout/Box.h"

namespace ui {

// The box around a skinned window's root that draws the shadow image in its padding.
class ShadowBox : public Box {
 public:
  void Paint(IRenderContext* context, const RECT& dirty) override;
};

class Shadow {
 public:
  Shadow();

  bool IsAttached() const { return attached_; }
  void SetAttached(bool attached) { attached_ = attached; }
  bool IsUsingDefaultImage() const { return default_image_; }
  void SetShadowImage(const std::wstring& image);
  // Starts decoding the shadow's image, relative names below `resource_path`.
  void PrefetchImage(const std::wstring& resource_path) const;
  std::wstring GetShadowImage() const { return image_; }
  RECT GetPadding() const { return padding_; }
  // Margins as the skin writes them; DPI-scaled here.
  void SetShadowCorner(const RECT& corner);
  // Wraps `root` in the shadow box when attached; returns the new root.
  Box* WrapRoot(Box* root);
  void MaximizedOrRestored(bool maximized);
  // Rescales the padding after a DPI change.
  void ChangeDpiScale();
  Control* GetRoot() const;

 private:
  bool attached_ = true;
  bool round_corner_ = true;
  bool default_image_ = true;
  std::wstring image_;
  RECT padding_;
  RECT base_padding_ = {14, 14, 14, 14};
  RECT saved_padding_;
  Box* shadow_box_ = nullptr;
};

}  // namespace ui
