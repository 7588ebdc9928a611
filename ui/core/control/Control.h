// The base of every widget and container: interaction state, flags, tooltip, user data,
// cursor, state colours and images, border, transparency, fades, events and attributes.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "control/AnimationManager.h"
#include "control/EventArgs.h"
#include "control/PlaceHolder.h"
#include "image/StateImage.h"

namespace ui {

// Application data hung on a control; deleted with it.
class UserDataBase {
 public:
  virtual ~UserDataBase() = default;
};

enum CursorType { kCursorArrow = 0, kCursorHand, kCursorHandIbeam };

// Finder callback of FindControl: the control and the caller's data (a POINT* for hit tests).
using FindControlCallback = std::function<Control*(Control*, void*)>;

enum FindFlags : unsigned {
  kFindVisible = 0x00000001,
  kFindEnabled = 0x00000002,
  kFindHitTest = 0x00000004,
  kFindTopFirst = 0x00000008,
  kFindMeFirst = 0x80000000,
};

class Control : public PlaceHolder, public StatePaintOwner {
 public:
  Control();
  ~Control() override;

  // PlaceHolder.
  SIZE EstimateSize(SIZE available) override;
  RECT GetPos(bool contain_shadow = true) const override;
  void SetPos(RECT rect) override;

  virtual Image* GetEstimateImage();
  ControlStateType GetState() const { return state_; }
  void SetState(ControlStateType state);
  virtual std::wstring GetToolTipText() const;
  virtual std::string GetUTF8ToolTipText() const;
  virtual void SetToolTipText(const std::wstring& text);
  virtual void SetUTF8ToolTipText(const std::string& text);
  virtual void SetToolTipTextId(const std::wstring& id);
  virtual void SetUTF8ToolTipTextId(const std::string& id);
  virtual void SetToolTipWidth(int width);
  virtual int GetToolTipWidth() const { return tooltip_width_; }
  virtual bool IsContextMenuUsed() const { return menu_used_; }
  virtual void SetContextMenuUsed(bool used) { menu_used_ = used; }
  virtual std::wstring GetDataId() const { return data_id_; }
  virtual void SetDataId(const std::wstring& id) { data_id_ = id; }
  virtual std::string GetUTF8DataId() const;
  virtual void SetUTF8DataId(const std::string& id);
  virtual UserDataBase* GetUserDataBase() const { return user_data_.get(); }
  virtual void SetUserDataBase(UserDataBase* data) { user_data_.reset(data); }
  virtual void SetFadeVisible(bool visible);
  virtual void SetInternVisible(bool visible);
  virtual void SetVisible(bool visible);
  virtual bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  virtual bool IsMouseEnabled() const { return mouse_enabled_; }
  virtual void SetMouseEnabled(bool enabled) { mouse_enabled_ = enabled; }
  virtual bool IsKeyboardEnabled() const { return keyboard_enabled_; }
  virtual void SetKeyboardEnabled(bool enabled) { keyboard_enabled_ = enabled; }
  virtual bool IsFocused() const { return focused_; }
  virtual void SetFocus();
  virtual bool AcceptsTabFocus() const { return true; }
  virtual bool IsMouseFocused() const { return mouse_focused_; }
  virtual void SetMouseFocused(bool focused) { mouse_focused_ = focused; }
  virtual bool IsActivatable() const { return IsVisible() && IsEnabled(); }
  virtual void Activate() {}
  virtual Control* FindControl(const FindControlCallback& callback, void* data, unsigned flags,
                               POINT scroll_offset = POINT{0, 0});
  virtual RECT GetMargin() const { return margin_; }
  virtual void SetMargin(RECT margin, bool dpi_scale = true);
  virtual SIZE EstimateText(SIZE available, bool& re_estimate);
  virtual bool IsPointIn(POINT point) const;
  virtual void HandleMessageTemplate(EventArgs& args);
  virtual bool HasHotState();
  virtual void SetAttribute(const std::wstring& name, const std::wstring& value);
  virtual void AlphaPaint(IRenderContext* context, const RECT& dirty);
  virtual void Paint(IRenderContext* context, const RECT& dirty);
  virtual void PaintChild(IRenderContext*, const RECT&) {}
  virtual void GifPlay();
  virtual void StopGifPlay();
  virtual void ClearImageCache();
  virtual void HandleMessage(EventArgs& args);
  virtual bool MouseEnter(EventArgs& args);
  virtual bool MouseLeave(EventArgs& args);
  virtual bool ButtonDown(EventArgs& args);
  virtual bool ButtonUp(EventArgs& args);
  virtual void PaintBkColor(IRenderContext* context);
  virtual void PaintBkImage(IRenderContext* context);
  virtual void PaintStatusColor(IRenderContext* context);
  virtual void PaintStatusImage(IRenderContext* context);
  virtual void PaintText(IRenderContext*) {}
  virtual void PaintBorder(IRenderContext* context);

  // StatePaintOwner.
  bool HasHotFade() const override;
  int GetHotAlpha() const override { return hot_alpha_; }
  void PrefetchImage(const Image& image) const override;
  bool DrawImage(IRenderContext* context, Image& image, const std::wstring& modify,
                 int fade) override;

  // Builds an event with this control as sender and runs its event entry.
  void SendEvent(int type, WPARAM wparam = 0, LPARAM lparam = 0, wchar_t key = 0,
                 POINT mouse = POINT{0, 0}, float pressure = 0.0f);
  void SetClass(const std::wstring& names);
  void ApplyAttributeList(const std::wstring& list);
  bool ApplyAttributeListTo(const std::wstring& receiver, const std::wstring& list);

  // Handler attachment (code and skin).
  void AttachEvent(int type, const EventCallback& handler) { AttachHandler(event_map_, type, handler); }
  void AttachAllEvents(const EventCallback& handler) { AttachEvent(kEventAll, handler); }
  void AttachClick(const EventCallback& handler) { AttachEvent(kEventClick, handler); }
  void AttachXmlEvent(int type, const EventCallback& handler) {
    AttachHandler(xml_event_map_, type, handler);
  }
  void AttachGifPlayStop(const EventCallback& handler) { AttachHandler(gif_map_, 1, handler); }

  int GetAlpha() const { return alpha_; }
  void SetAlpha(int alpha);
  void SetHotAlpha(int alpha);
  POINT GetRenderOffset() const { return render_offset_; }
  void SetRenderOffset(POINT offset);
  void SetRenderOffsetX(int x) { SetRenderOffset(POINT{x, render_offset_.y}); }
  void SetRenderOffsetY(int y) { SetRenderOffset(POINT{render_offset_.x, y}); }
  void SetBkColor(const std::wstring& color);
  std::wstring GetBkColor() const { return bk_color_; }
  void SetStateColor(ControlStateType state, const std::wstring& color);
  std::wstring GetStateColor(ControlStateType state) { return state_colors_[state]; }
  void SetBkImage(const std::wstring& image);
  std::wstring GetBkImage() const { return bk_image_.attribute.image_string; }
  void SetStateImage(StateImageType type, ControlStateType state, const std::wstring& image);
  std::wstring GetStateImage(StateImageType type, ControlStateType state) {
    return state_images_.GetImagePath(type, state);
  }
  void SetBorderColor(const std::wstring& color);
  void SetBorderSize(int size);
  void SetBorderSize(RECT sides);
  int GetBorderSize() const { return border_size_; }
  RECT GetBorderSides() const { return border_sides_; }
  SIZE GetBorderRound() const { return border_round_; }
  void SetBorderRound(SIZE round) { border_round_ = round; Invalidate(); }
  CursorType GetCursorType() const { return cursor_type_; }
  bool IsNoFocus() const { return no_focus_; }
  bool IsReceivePointer() const { return receive_pointer_; }
  void SetReceivePointer(bool receive) { receive_pointer_ = receive; }
  bool NeedsButtonUpOnKillFocus() const { return button_up_on_kill_focus_; }
  AnimationManager& GetAnimationManager() { return animation_; }

 protected:
  friend class AnimationManager;
  // The parent's event entry, for events this control passes on.
  void Bubble(EventArgs& args);
  // With the mouse disabled, mouse events go on to the parent (or owner) unhandled.
  bool PassesMouseEventOn(int type) const {
    return !mouse_enabled_ && type >= kEventMouseMove && type <= kEventMouseScrollWheel;
  }
  // After a change to an image that may decide the control's size.
  void ArrangeOrInvalidate();
  bool IsAutoSized() const { return cx_fixed_ == kSizeAuto || cy_fixed_ == kSizeAuto; }
  // Draws the whole control into `layer` at its origin.
  void PaintLayer(IRenderContext* layer, bool round);
  void BlendLayer(IRenderContext* context, IRenderContext* layer, const RECT& dirty, int alpha);
  IRenderContext* GetRenderContext();
  bool IsHoverInside() const;
  // GIF frames of the background image: start and tick.
  void GifTick();
  // An image's file, relative names below the window's resource folder.
  std::wstring ImagePath(const Image& image) const;
  // A relative name that no window resolves yet.
  bool WaitsForItsWindow(const Image& image) const;

  EventMap xml_event_map_;
  EventMap event_map_;
  EventMap gif_map_;
  std::unique_ptr<UserDataBase> user_data_;
  bool menu_used_ = false;
  bool enabled_ = true;
  bool mouse_enabled_ = true;
  bool keyboard_enabled_ = true;
  bool focused_ = false;
  bool mouse_focused_ = false;
  bool in_resize_notify_ = false;
  bool no_focus_ = false;
  bool clip_ = true;
  bool gif_play_enabled_ = true;
  bool receive_pointer_ = true;
  bool button_up_on_kill_focus_ = false;
  int border_size_ = 0;
  int tooltip_width_ = 300;
  int alpha_ = 255;
  int hot_alpha_ = 0;
  SIZE estimated_size_ = {0, 0};
  POINT render_offset_ = {0, 0};
  SIZE border_round_ = {0, 0};
  RECT margin_ = {0, 0, 0, 0};
  RECT paint_rect_ = {0, 0, 0, 0};
  RECT border_sides_ = {0, 0, 0, 0};
  CursorType cursor_type_ = kCursorArrow;
  ControlStateType state_ = kControlStateNormal;
  std::wstring tooltip_text_;
  std::wstring tooltip_text_id_;
  std::wstring data_id_;
  std::wstring bk_color_;
  StateColorMap state_colors_;
  Image bk_image_;
  StateImageMap state_images_;
  std::wstring border_color_;
  base::WeakCallbackFlag gif_timer_;
  AnimationManager animation_;
  base::WeakCallbackFlag callbacks_;
};

}  // namespace ui
