// One Win32 top-level or pop-up window hosting a control tree: class and procedure, root,
// render context, layered painting, hover/click/focus bookkeeping, names, option groups,
// classes, delayed deletion, message filters and the tooltip.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/WeakCallback.h"
#include "control/EventArgs.h"
#include "window/ControlNames.h"
#include "window/OptionGroups.h"
#include "window/Shadow.h"

namespace ui {

class Box;
class Control;
class IRenderContext;

class IUIMessageFilter {
 public:
  virtual ~IUIMessageFilter() = default;
  virtual LRESULT MessageHandler(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) = 0;
};

using ControlFinder = std::function<Control*(POINT point)>;

constexpr UINT kDelayedCleanupMessage = WM_APP + 1;
// Repaints a layered window: Wine sends such windows no WM_PAINT, posted or not.
constexpr UINT kLayeredPaintMessage = WM_APP + 2;

class Window : public virtual base::SupportWeakCallback {
 public:
  Window();
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  virtual std::wstring GetWindowClassName() const { return L""; }
  virtual std::wstring GetSuperClassName() const { return L""; }
  virtual UINT GetClassStyle() const { return 0; }
  virtual HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style,
                      bool layered = true, const RECT& rect = RECT{0, 0, 0, 0});
  virtual void Close(UINT code = IDOK);
  virtual void ShowWindow(bool show = true, bool take_focus = true);
  virtual void OnFinalMessage(HWND hwnd);
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  virtual void PlayShowAnimation();
  // Called once, when the window's first frame at a visible alpha has reached the screen.
  virtual void OnFirstVisibleFrame() {}

  HWND GetHWND() const { return hwnd_; }
  void Init(HWND hwnd);
  bool AttachRoot(Box* root);
  Box* GetRoot() const { return root_; }
  bool InitControls(Control* control, Box* parent = nullptr);
  void ReapObjects(Control* control);
  void AddDelayedCleanup(Control* control);
  Control* FindControl(POINT point) const;
  Control* FindControlByName(const std::wstring& name) const;
  bool SendNotify(Control* control, int type, WPARAM wparam = 0, LPARAM lparam = 0);
  void AddMessageFilter(IUIMessageFilter* filter) { filters_.push_back(filter); }
  void AddControlFinder(const ControlFinder& finder) { finders_.push_back(finder); }
  void AttachWindowClose(const EventCallback& handler) {
    AttachHandler(listeners_, kEventWindowClose, handler);
  }
  void AttachWindowEvent(int type, const EventCallback& handler) {
    AttachHandler(listeners_, type, handler);
  }

  std::wstring GetResourcePath() const { return resource_path_; }
  void SetResourcePath(const std::wstring& path);
  void AddClass(const std::wstring& name, const std::wstring& attributes) {
    classes_[name] = attributes;
  }
  std::wstring GetClassAttributes(const std::wstring& name) const;
  bool AddOptionGroup(const std::wstring& group, Control* control) {
    return option_groups_.Add(group, control);
  }
  const OptionGroup* GetOptionGroup(const std::wstring& group) const {
    return option_groups_.Find(group);
  }
  void RemoveOptionGroup(const std::wstring& group, Control* control) {
    option_groups_.Remove(group, control);
  }
  // `control` was selected: every other member of its group is unselected (inside a build or
  // while a tree joins the window, once when that ends).
  void SelectInOptionGroup(const std::wstring& group, Control* control, bool trigger_event) {
    option_groups_.ApplySelection(group, control, trigger_event);
  }
  OptionGroups* GetOptionGroups() { return &option_groups_; }

  void SetText(const std::wstring& text_id);
  SIZE GetMinInfo() const { return min_size_; }
  SIZE GetMaxInfo() const { return max_size_; }
  SIZE GetInitSize() const { return init_size_; }
  void SetMinInfo(int cx, int cy);
  void SetMaxInfo(int cx, int cy);
  void SetInitSize(int cx, int cy, bool scale = true);
  RECT GetSizeBox() const { return size_box_; }
  void SetSizeBox(const RECT& rect) { size_box_ = rect; }
  RECT GetCaptionRect() const { return caption_; }
  void SetCaptionRect(const RECT& rect) { caption_ = rect; }
  SIZE GetRoundCorner() const { return round_corner_; }
  void SetRoundCorner(int cx, int cy) { round_corner_ = SIZE{cx, cy}; }
  RECT GetAlphaFixCorner() const { return alpha_fix_corner_; }
  void SetAlphaFixCorner(const RECT& rect) { alpha_fix_corner_ = rect; }
  double GetHeightPercent() const { return height_percent_; }
  void SetHeightPercent(double percent) { height_percent_ = percent; }
  void CenterWindow();
  void Unsubclass();

  Shadow& GetShadow() { return shadow_; }
  const Shadow& GetShadow() const { return shadow_; }
  bool IsLayeredWindow() const { return layered_; }
  int GetWindowAlpha() const { return window_alpha_; }
  IRenderContext* GetRenderContext() const { return render_context_.get(); }
  POINT GetRenderOffset() const { return render_offset_; }
  void SetRenderOffset(POINT offset) { render_offset_ = offset; }
  HFONT GetDefaultFont() const { return default_font_; }

  // Focus, hover and input bookkeeping.
  Control* GetFocusControl() const { return focus_; }
  Control* GetHoverControl() const { return hover_; }
  Control* GetClickControl() const { return click_; }
  POINT GetLastMousePos() const { return last_mouse_; }
  void SetFocusControl(Control* control);
  bool SetNextTabControl(bool forward = true);
  bool HandleMouseEnterLeave(POINT point, WPARAM wparam, LPARAM lparam);
  void SetArrange(bool arrange) { arrange_needed_ = arrange; }
  bool IsArrangeNeeded() const { return arrange_needed_; }
  // Adds `rect` to the window's dirty area. The system hears of it once per paint cycle:
  // InvalidateRect for the first area (layered windows also get a paint posted), the whole
  // dirty area when the paint begins.
  virtual void Invalidate(const RECT& rect);

  LRESULT HandleWindowMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);

 protected:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK SuperClassWindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                               LPARAM lparam);
  bool RegisterWindowClass();
  bool RegisterSuperClass();
  void OnPaint();
  void AutoSizeRoot();
  void ArrangeTree(const RECT& client);
  void PaintLayered(const RECT& paint, const RECT& window_rect, const RECT& client);
  // Puts the drawn frame on the screen at the window's alpha.
  void UpdateLayered(const RECT& window_rect, const RECT& client);
  // One step of a playing show fade now, outside its timer.
  void AdvanceShowFade();
  // A step of the show or close fade: the drawn frame goes out again at the new alpha, unless a
  // paint is due anyway.
  void ApplyFadeAlpha(int alpha);
  void NoteFrameShown();
  void DeleteDelayed();
  // Makes `control` and everything below it findable by name.
  void RegisterNames(Control* control);
  // Dispatch helpers.
  Control* OurControlAt(POINT point) const;
  void CaptureFor(Control* control, bool set_focus);
  void EndCapture();
  void ShowToolTip(Control* control);
  LRESULT OnPointer(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  void OnTouch(WPARAM wparam, LPARAM lparam);
  bool IsCaptured() const { return click_ || touch_ || pointer_; }

  HWND hwnd_ = nullptr;
  WNDPROC old_proc_ = DefWindowProcW;
  bool subclassed_ = false;
  Box* root_ = nullptr;
  EventMap listeners_;
  SIZE min_size_ = {0, 0};
  SIZE max_size_ = {0, 0};
  SIZE init_size_ = {0, 0};
  RECT size_box_ = {0, 0, 0, 0};
  RECT alpha_fix_corner_ = {0, 0, 0, 0};
  SIZE round_corner_ = {0, 0};
  RECT caption_ = {0, 0, 0, 0};
  double height_percent_ = 0;
  HDC paint_dc_ = nullptr;
  std::unique_ptr<IRenderContext> render_context_;
  bool layered_ = true;
  int window_alpha_ = 255;
  POINT render_offset_ = {0, 0};
  RECT dirty_ = {0, 0, 0, 0};  // invalidated since the last paint
  bool layered_updated_ = false;  // a frame has gone to the layered window
  bool visible_frame_shown_ = false;
  bool show_animation_pending_ = true;
  HWND tooltip_ = nullptr;
  TOOLINFOW tool_info_ = {};
  Control* focus_ = nullptr;
  Control* hover_candidate_ = nullptr;
  Control* hover_ = nullptr;
  Control* click_ = nullptr;
  Control* key_ = nullptr;
  POINT last_mouse_ = {-1, -1};
  Control* touch_ = nullptr;
  POINT last_touch_ = {-1, -1};
  Control* pointer_ = nullptr;
  bool arrange_needed_ = false;
  bool mouse_tracking_ = false;
  bool mouse_captured_ = false;
  std::wstring resource_path_;
  HFONT default_font_ = nullptr;
  std::map<std::wstring, std::wstring> classes_;
  OptionGroups option_groups_;
  std::vector<IUIMessageFilter*> filters_;
  std::vector<ControlFinder> finders_;
  std::vector<Control*> delayed_cleanup_;
  ControlNames names_;
  base::WeakCallbackFlag close_timer_;
  Shadow shadow_;
};

}  // namespace ui
