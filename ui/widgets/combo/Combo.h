// A box showing the text of its current item; a click opens the item list in a pop-up
// window (CComboWnd). The combo owns the list and lends it to the pop-up while it is open.
#pragma once

#include <memory>

#include "layout/Box.h"
#include "widgets/list/ListBox.h"
#include "window/Window.h"

namespace ui {

class Combo;

class CComboWnd : public Window {
 public:
  explicit CComboWnd(Combo* owner) : owner_(owner) {}

  std::wstring GetWindowClassName() const override { return L"ComboWnd"; }
  void OnFinalMessage(HWND hwnd) override;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  // Creates and shows the pop-up at `rect` (screen coordinates), owned by `owner`.
  bool Open(HWND owner, const RECT& rect);
  // The list goes back to the combo: out of the pop-up's root, without window or parent.
  void DetachList();

 private:
  Combo* owner_;
  bool closing_ = false;
};

class Combo : public Box {
 public:
  Combo();
  ~Combo() override;

  bool AcceptsTabFocus() const override { return false; }
  void Activate() override;
  SIZE EstimateText(SIZE, bool& re_estimate) override {
    re_estimate = false;
    return SIZE{0, 0};
  }
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintText(IRenderContext* context) override;
  int GetCount() const override;
  bool Add(Control* control) override;
  bool Remove(Control* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;

  // Makes `index` current without any event; false when out of range or already current.
  bool SelectItem(int index);
  std::wstring GetText() const;
  int GetCurSel() const { return current_index_; }
  ListBox* GetDropDownList() const { return list_.get(); }
  CComboWnd* GetPopup() const { return popup_; }
  SIZE GetDropBoxSize() const { return drop_box_size_; }
  bool IsPopupTop() const { return popup_top_; }
  // Where the pop-up opens, in screen coordinates.
  RECT PopupRect();

 private:
  friend class CComboWnd;
  bool OnListSelect(EventArgs* args);
  // Removed items are deleted with their user data, later when the pop-up may still see them.
  void DeleteItem(Control* item);

  CComboWnd* popup_ = nullptr;
  std::unique_ptr<ListBox> list_;
  int current_index_ = -1;
  SIZE drop_box_size_ = {0, 150};
  std::wstring drop_box_attributes_;
  bool popup_top_ = false;
};

}  // namespace ui
