// A list that keeps a bounded number of item controls and re-binds them to the elements of
// a data provider as the user scrolls.
#pragma once

#include <cstdint>

#include "layout/Layout.h"
#include "widgets/list/ListBox.h"

namespace ui {

// Implemented by the application; the list never deletes it.
class VirtualListDataProvider {
 public:
  virtual ~VirtualListDataProvider() = default;
  // A new item control, owned by the list once added.
  virtual Control* MakeItemControl() = 0;
  virtual void BindItemControl(Control* control, int index) = 0;
  virtual int GetItemCount() = 0;
};

// The vertical layout of a virtual list: while it holds fewer controls than elements, the
// content is as tall as all elements and the list places its controls itself.
class VirtualLayout : public VLayout {
 public:
  SIZE ArrangeChild(const ChildList& children, RECT rect) override;
};

class VirtualListBox : public ListBox {
 public:
  VirtualListBox();

  void RemoveAll() override;
  void SetScrollPos(SIZE pos) override;
  void SetPos(RECT rect) override;
  void HandleMessage(EventArgs& args) override;

  virtual void SetDataProvider(VirtualListDataProvider* provider) { provider_ = provider; }
  virtual void SetElementHeight(int height) { element_height_ = height; }
  // Makes up to `count` item controls and binds them to the first elements.
  virtual void InitElement(int count);
  // Follows a change of the provider's element count. Called from a bind callback, it runs
  // once the binding is done.
  virtual void Refresh();
  virtual void OnArrowKeyDown(int) {}
  virtual void OnArrowKeyUp(int) {}

  VirtualListDataProvider* GetDataProvider() const { return provider_; }
  int GetElementHeight() const { return element_height_; }
  int GetElementCount() const { return provider_ ? provider_->GetItemCount() : 0; }
  int GetMaxItemCount() const { return max_items_; }
  // Height of all elements.
  int64_t GetContentHeight() const;
  // The scroll range stays below this, where GDI+'s float coordinates still hold every pixel;
  // a taller content is mapped onto it, so its controls are always placed near the view.
  static constexpr int64_t kMaxScrollRange = int64_t{1} << 23;
  // The height the layout asks for when the view is `view` pixels tall.
  int GetScrollHeight(int view) const;
  // The content's offset at the top of the view, for the bar's position.
  int64_t GetContentOffset() const;
  bool HasFewerControlsThanElements() const { return GetCount() < GetElementCount(); }
  // Moves and re-binds the item controls for the current scroll position. Skipped while the
  // element height is not positive.
  void ReArrangeChild(bool force);

 private:
  enum class Direction { kUp, kDown };
  bool NeedReArrange(Direction& direction);
  void RefreshControls();
  // A refresh asked for by a bind callback, once the pass that bound is over.
  void RunAskedRefresh();
  // A run of binds over the provider and element count it began with. Bind callbacks may
  // remove controls or ask for a refresh: passes re-read the controls. A pass ends once the
  // provider or the count is no longer its own (changed by a callback, or by a pass run
  // meanwhile).
  struct Pass {
    VirtualListDataProvider* provider;
    int elements;
  };
  Pass StartPass() const { return Pass{provider_, GetElementCount()}; }
  bool IsCurrent(const Pass& pass) const;
  // False when the pass has ended: nothing more may be bound in it.
  bool Bind(const Pass& pass, Control* item, int element);
  // True while the scroll range is shorter than the content's excess over the view.
  bool IsScrollMapped() const;
  bool PlaceAndBind(const Pass& pass, int control, int64_t top, int element);
  // Places every control on its element around the view and binds it.
  void PlaceControls(Direction direction);

  VirtualListDataProvider* provider_ = nullptr;
  int element_height_ = 0;
  int max_items_ = 0;
  int previous_scroll_ = 0;
  bool arranged_once_ = false;
  bool binding_ = false;
  bool refresh_asked_ = false;
  bool running_asked_refresh_ = false;
};

}  // namespace ui
