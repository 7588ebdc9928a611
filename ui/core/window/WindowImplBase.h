// A frameless skinned top-level window: builds its tree from a skin file when created, wraps
// it in the shadow, sizes "auto" skins, binds the caption buttons, and replaces the system
// frame with hit-testing against the skin's caption and sizing borders.
#pragma once

#include <string>

#include "window/Window.h"

namespace ui {

class WindowImplBase : public Window, public IUIMessageFilter {
 public:
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  void OnFinalMessage(HWND hwnd) override;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  LRESULT MessageHandler(UINT, WPARAM, LPARAM, bool& handled) override {
    handled = false;
    return 0;
  }

  virtual void InitWindow() {}
  virtual LONG GetStyle() const;
  virtual std::wstring GetSkinFolder() const = 0;
  virtual std::wstring GetSkinFile() const = 0;
  virtual Control* CreateControl(const std::wstring&) { return nullptr; }
  virtual LRESULT OnClose(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnNcActivate(UINT, WPARAM wparam, LPARAM, bool& handled);
  virtual LRESULT OnNcCalcSize(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnWindowPosChanging(UINT, WPARAM, LPARAM lparam, bool& handled);
  virtual LRESULT OnNcPaint(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnNcLButtonDbClick(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnNcHitTest(UINT, WPARAM, LPARAM lparam, bool& handled);
  virtual LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM lparam, bool& handled);
  virtual LRESULT OnMouseWheel(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnMouseHover(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnDpiChanged(UINT, WPARAM wparam, LPARAM, bool& handled);
  virtual LRESULT OnSize(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnChar(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnSysCommand(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnKeyDown(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnKillFocus(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnSetFocus(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, bool& handled);
  virtual LRESULT OnMouseMove(UINT, WPARAM, LPARAM, bool& handled);
  virtual void ActiveWindow();
  virtual void SetTaskbarTitle(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

  // The click handler of the caption buttons.
  bool OnButtonClick(EventArgs* args);

 protected:
  // Shows the skin-load failure; tests replace it.
  virtual void ReportSkinFailure(const std::wstring& skin_path);

 private:
  LRESULT OnCreate();
  bool IsMaximized() const { return IsZoomed(hwnd_) != FALSE; }
};

}  // namespace ui
