// The framework's text-entry control: a scrollable box hosting the system's windowless
// rich-edit engine, fed with the window's mouse, keyboard, focus and timer traffic. It draws
// its own caret, prompt text and focus image.
#pragma once

#include <functional>
#include <list>
#include <map>
#include <string>

#include "image/Image.h"
#include "layout/ScrollableBox.h"

namespace ui {

class CTxtWinHost;

class RichEdit : public ScrollableBox {
 public:
  // Supplies the natural size for a width; returns false to let the engine measure.
  using NaturalSizeFunction = std::function<bool(int width, SIZE& size)>;

  RichEdit();
  ~RichEdit() override;

  // Control / box.
  void DoInit() override;
  SIZE EstimateSize(SIZE available) override;
  void SetPos(RECT rect) override;
  void SetEnabled(bool enabled) override;
  bool AcceptsTabFocus() const override { return IsEnabled(); }
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void Paint(IRenderContext* context, const RECT& dirty) override;
  void PaintChild(IRenderContext* context, const RECT& dirty) override;
  void ClearImageCache() override;
  void HandleMessage(EventArgs& args) override;
  void PaintStatusImage(IRenderContext* context) override;
  void SetScrollPos(SIZE pos) override;
  void PageUp();
  void PageDown();
  void HomeUp();
  void PageLeft();
  void PageRight();
  void HomeLeft();
  void EndRight();

  virtual void SetTextColor(const std::wstring& color);
  virtual std::string GetUTF8Text();
  virtual void SetUTF8Text(const std::string& text);
  // Forwards to the engine; without one returns 1 and `result` is 0.
  virtual HRESULT TxSendMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
  virtual void OnTxNotify(DWORD code, void* data);
  virtual void OnTextChange();

  std::wstring GetText();
  void SetText(const std::wstring& text);
  std::wstring GetSelText();
  LRESULT SetSelAll();
  LRESULT SetSelNone();
  SIZE GetNaturalSize(int width);
  void SetNaturalSizeFunction(const NaturalSizeFunction& function) { natural_size_ = function; }
  void SetPromptText(const std::wstring& text);
  void SetPromptTextId(const std::wstring& id);
  std::wstring GetPromptText() const;
  void SetFocusedImage(const std::wstring& image);
  void SetFont(const std::wstring& font_id);
  std::wstring GetFont() const { return font_id_; }

  // Called by the host.
  void SetTimer(UINT id, UINT interval_ms);
  void KillTimer(UINT id);
  void ShowCaret(bool show);
  void SetCaretPos(int x, int y);
  void SetCaretSize(int width, int height);
  bool IsCaretVisible() const { return caret_visible_; }
  POINT GetCaretPos() const { return POINT{caret_x_, caret_y_}; }
  bool HitTestLink(POINT point, std::wstring* link);

  static std::wstring GetClipboardText();
  static bool SetClipboardText(const std::wstring& text);

  bool IsReadOnly() const { return read_only_; }
  bool IsNumberOnly() const { return number_only_; }
  bool IsRich() const { return rich_; }
  bool IsWantTab() const { return want_tab_; }
  LONG GetStyle() const { return style_; }
  int GetVerticalAlign() const { return vertical_align_; }
  int GetMaxLength() const { return max_length_; }
  CTxtWinHost* GetHost() const { return host_; }
  std::wstring GetCurrentTextColor() const { return text_color_; }

 protected:
  void OnKeyDown(EventArgs& args);
  void OnChar(EventArgs& args);
  // Ctrl+V, Shift+Insert or WM_PASTE: a rich edit gives bounded formatted text that fits to
  // the engine; otherwise the clipboard's text (its digits in a number-only edit) goes in,
  // cut at the maximum length.
  void Paste();
  // The engine's own paste, with what it takes past the maximum length removed again.
  void PasteThroughEngine();
  bool IsPasteKey(WPARAM key) const;
  // The engine does not hold to the maximum length: text going in is cut here.
  int TextLength();
  int RoomForInsert();
  void InsertWithinLimit(const std::wstring& text);
  void ForwardMouse(UINT message, const EventArgs& args);
  void InPlaceActivate();
  void PaintCaret(IRenderContext* context);
  void PaintPromptText(IRenderContext* context);
  void SetStyleBit(LONG bit, bool on) { style_ = on ? (style_ | bit) : (style_ & ~bit); }
  void OnScrollBarAttribute(bool vertical, const std::wstring& value);
  void ImeStartComposition();
  // The client rectangle of the engine: the control less padding and shown bars.
  RECT EngineClientRect() const;

  CTxtWinHost* host_ = nullptr;
  bool content_taller_ = false;
  bool want_tab_ = true;
  bool want_return_msg_ = false;
  bool return_msg_want_ctrl_ = false;
  bool rich_ = false;
  bool read_only_ = false;
  bool password_ = false;
  bool number_only_ = false;
  bool inited_ = false;
  bool prompt_mode_ = false;
  bool first_click_done_ = false;
  bool clear_sel_on_kill_focus_ = true;
  bool select_all_on_first_click_ = false;
  bool hide_caret_read_only_ = false;
  bool caret_visible_ = false;
  bool composing_ = false;
  bool high_surrogate_dropped_ = false;  // the typed pair's low half must follow it
  int caret_x_ = 0;
  int caret_y_ = 0;
  int caret_width_ = 0;
  int caret_height_ = 0;
  std::wstring font_id_;
  int max_length_ = 32767;
  LONG style_ = ES_MULTILINE;
  int vertical_align_ = 0;
  std::wstring text_color_;
  std::wstring normal_text_color_;
  std::wstring disabled_text_color_;
  std::wstring prompt_color_;
  std::wstring caret_color_;
  std::wstring text_;
  std::wstring prompt_text_;
  std::wstring prompt_text_id_;
  base::WeakCallbackFlag caret_timer_;
  NaturalSizeFunction natural_size_;
  std::map<UINT, base::WeakCallbackFlag> timers_;
  struct Link {
    int first;
    int end;
    std::wstring text;
  };
  std::list<Link> links_;
  Image focused_image_;
};

}  // namespace ui
