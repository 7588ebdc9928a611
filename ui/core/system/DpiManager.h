// Process-wide display scale; scales sizes given in 96-DPI units.
#pragma once

#include <windows.h>

namespace ui {

class DpiManager {
 public:
  static DpiManager* GetInstance();

  int GetScale() const { return scale_; }
  bool IsAdaptDPI() const { return dpi_aware_; }
  // Only a DPI-aware process changes its scale.
  void SetScale(int scale) { scale_ = scale; }
  void SetAdaptDPI(bool aware) { dpi_aware_ = aware; }

  int ScaleInt(int value) const;
  void ScaleSize(SIZE& size) const;
  void ScaleRect(RECT& rect) const;
  // Takes the new scale from WM_DPICHANGED's wParam when DPI-aware.
  void OnDpiChanged(WPARAM wparam);

 private:
  bool IsIdentity() const { return !dpi_aware_ || scale_ == 100; }

  int scale_ = 100;
  bool dpi_aware_ = false;
};

}  // namespace ui
