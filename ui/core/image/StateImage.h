// Per-state images and colours of a control, painted with the control's hot fade.
#pragma once

#include <map>
#include <string>

#include "image/Image.h"

namespace ui {

class IRenderContext;

enum ControlStateType {
  kControlStateNormal = 0,
  kControlStateHot,
  kControlStatePushed,
  kControlStateDisabled
};

enum StateImageType {
  kStateImageBk = 0,
  kStateImageFore,
  kStateImageSelectedBk,
  kStateImageSelectedFore
};

// What the state maps need of the control that owns them.
class StatePaintOwner {
 public:
  virtual ~StatePaintOwner() = default;
  // A hot-fade animation exists for the control.
  virtual bool HasHotFade() const = 0;
  virtual int GetHotAlpha() const = 0;
  // Draws one image relative to the control; `fade` -1 uses the image's own fade.
  virtual bool DrawImage(IRenderContext* context, Image& image, const std::wstring& modify,
                         int fade) = 0;
  // A new image of a state: its decode may start before it is drawn.
  virtual void PrefetchImage(const Image&) const {}
};

class StateImage {
 public:
  void SetOwner(StatePaintOwner* owner) { owner_ = owner; }
  Image& GetImage(ControlStateType state) { return images_[state]; }
  bool HasHotImage() const { return HasImageString(kControlStateHot); }
  bool PaintStatusImage(IRenderContext* context, ControlStateType state,
                        const std::wstring& modify = std::wstring());
  // The image that decides the control's automatic size, or null.
  Image* GetEstimateImage();
  void ClearCache();

 private:
  bool HasImageString(ControlStateType state) const;

  std::map<ControlStateType, Image> images_;
  StatePaintOwner* owner_ = nullptr;
};

class StateImageMap {
 public:
  void SetOwner(StatePaintOwner* owner);
  void SetImage(StateImageType type, ControlStateType state, const std::wstring& text);
  std::wstring GetImagePath(StateImageType type, ControlStateType state);
  bool PaintStatusImage(IRenderContext* context, StateImageType type, ControlStateType state,
                        const std::wstring& modify = std::wstring());
  Image* GetEstimateImage(StateImageType type);
  bool HasHotImage() const;
  void ClearCache();

 private:
  std::map<StateImageType, StateImage> images_;
  StatePaintOwner* owner_ = nullptr;
};

class StateColorMap {
 public:
  void SetOwner(StatePaintOwner* owner) { owner_ = owner; }
  std::wstring& operator[](ControlStateType state) { return colors_[state]; }
  bool HasHotColor() const;
  void PaintStatusColor(IRenderContext* context, const RECT& rect, ControlStateType state);

 private:
  std::wstring ColorOf(ControlStateType state) const;

  std::map<ControlStateType, std::wstring> colors_;
  StatePaintOwner* owner_ = nullptr;
};

}  // namespace ui
