// A progress drawn as an arc on a ring, optionally with a gradient and an indicator image
// turned to the end of the arc.
#pragma once

#include "widgets/progress/Progress.h"

namespace Gdiplus {
class GpImage;
}

namespace ui {

class CircleProgress : public Progress {
 public:
  CircleProgress() = default;
  ~CircleProgress() override;

  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void ClearImageCache() override;
  void PaintStatusImage(IRenderContext* context) override;

  // The square the ring is drawn in (the arc's box before insets), and the arc's box.
  RECT GetRingSquare() const;
  RECT GetArcRect() const;
  // Degrees from the top; negative when counter-clockwise.
  float GetSweepAngle() const;
  bool HasIndicator() const { return indicator_ != nullptr; }
  SIZE GetIndicatorSize() const;

 private:
  void SetIndicator(const std::wstring& path);
  // Loads the indicator from its stored path; again after a cache clear.
  void LoadIndicator();
  void DeleteIndicator();
  void PaintRing(IRenderContext* context);

  bool circular_ = true;
  bool clockwise_ = true;
  int circle_width_ = 1;
  DWORD bk_color_ = 0;
  DWORD fg_color_ = 0;
  DWORD gradient_color_ = 0;
  Gdiplus::GpImage* indicator_ = nullptr;
  std::wstring indicator_path_;
};

}  // namespace ui
