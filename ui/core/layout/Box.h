// The container control: an ordered list of owned children placed by one layout.
#pragma once

#include <memory>

#include "control/Control.h"
#include "layout/Layout.h"

namespace ui {

class Box : public Control {
 public:
  explicit Box(Layout* layout = new Layout());
  ~Box() override;

  // Control.
  void SetWindow(Window* window, Box* parent, bool init) override;
  using Control::SetWindow;
  SIZE EstimateSize(SIZE available) override;
  void SetPos(RECT rect) override;
  void SetInternVisible(bool visible) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  Control* FindControl(const FindControlCallback& callback, void* data, unsigned flags,
                       POINT scroll_offset = POINT{0, 0}) override;
  void HandleMessageTemplate(EventArgs& args) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintChild(IRenderContext* context, const RECT& dirty) override;
  void GifPlay() override;
  void StopGifPlay() override;
  void ClearImageCache() override;

  virtual Control* GetItemAt(int index) const;
  virtual int GetItemIndex(Control* control) const;
  virtual bool SetItemIndex(Control* control, int index);
  virtual int GetCount() const { return static_cast<int>(items_.size()); }
  virtual bool Add(Control* control);
  virtual bool AddAt(Control* control, int index);
  virtual bool Remove(Control* control);
  virtual bool RemoveAt(int index);
  virtual void RemoveAll();
  bool IsAutoDestroy() const { return auto_destroy_; }
  void SetAutoDestroy(bool value) { auto_destroy_ = value; }
  bool IsDelayedDestroy() const { return delayed_destroy_; }
  void SetDelayedDestroy(bool value) { delayed_destroy_ = value; }
  bool IsMouseChildEnabled() const { return mouse_child_; }
  void SetMouseChildEnabled(bool value) { mouse_child_ = value; }
  Layout* GetLayout() const { return layout_.get(); }
  void ReSetLayout(Layout* layout);
  RECT GetPaddingPos() const;

  void AttachBubbledEvent(int type, const EventCallback& handler) {
    AttachHandler(bubbled_event_map_, type, handler);
  }
  void AttachXmlBubbledEvent(int type, const EventCallback& handler) {
    AttachHandler(xml_bubbled_event_map_, type, handler);
  }

 protected:
  // Deletes a child now or through the window's delayed clean-up.
  void Destroy(Control* child);

  EventMap xml_bubbled_event_map_;
  std::unique_ptr<Layout> layout_;
  bool auto_destroy_ = true;
  bool delayed_destroy_ = true;
  bool mouse_child_ = true;
  ChildList items_;
  EventMap bubbled_event_map_;
};

class VBox : public Box {
 public:
  VBox() : Box(new VLayout()) {}
};

class HBox : public Box {
 public:
  HBox() : Box(new HLayout()) {}
};

class TileBox : public Box {
 public:
  TileBox() : Box(new TileLayout()) {}
};

}  // namespace ui
