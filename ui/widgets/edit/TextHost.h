// The host of the windowless rich-edit engine ("msftedit.dll" text services): answers the
// engine's questions about the owner edit and forwards its requests (caret, timers, capture,
// scroll bars, repaint) to it.
#pragma once

#include <windows.h>
#include <richedit.h>
#include <textserv.h>

namespace ui {

class RichEdit;

// Host flags.
enum TextHostFlags : unsigned {
  kHostAutoWordSelect = 0x1,
  kHostWordWrap = 0x2,
  kHostAllowBeep = 0x4,
  kHostRichText = 0x8,
  kHostSaveSelection = 0x10,
  kHostInPlaceActive = 0x20,
  kHostTransparent = 0x40,
  kHostTimer = 0x80,
  kHostCaptured = 0x100,
};

class CTxtWinHost : public ITextHost {
 public:
  explicit CTxtWinHost(RichEdit* owner);
  CTxtWinHost(const CTxtWinHost&) = delete;
  CTxtWinHost& operator=(const CTxtWinHost&) = delete;

  // Creates the text services over this host with `text`; false when the engine is missing.
  bool Init(LONG style, const wchar_t* text);
  ITextServices* GetTextServices() const { return services_; }

  void SetClientRect(const RECT& rect);
  RECT GetClientRect() const { return client_; }
  // The client rectangle moved down for centre or bottom alignment.
  RECT GetAlignedClientRect();
  void SetFont(HFONT font);
  void SetColor(COLORREF color);
  void SetRichText(bool rich);
  void SetHostFlag(unsigned flag, bool on);
  bool HasHostFlag(unsigned flag) const { return (flags_ & flag) != 0; }
  void SetMaxLength(int length) { max_length_ = length; }
  bool DoSetCursor(POINT point);
  // The natural size of the text for a given width (height 0 when the engine cannot tell).
  SIZE NaturalSize(int width);
  HDC PaintDC() const;

  // IUnknown.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // ITextHost.
  HDC TxGetDC() override;
  INT TxReleaseDC(HDC dc) override;
  WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
  WINBOOL TxEnableScrollBar(INT bars, INT arrows) override;
  WINBOOL TxSetScrollRange(INT bar, LONG min, INT max, WINBOOL redraw) override;
  WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
  void TxInvalidateRect(LPCRECT rect, WINBOOL mode) override;
  void TxViewChange(WINBOOL update) override;
  WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
  WINBOOL TxShowCaret(WINBOOL show) override;
  WINBOOL TxSetCaretPos(INT x, INT y) override;
  WINBOOL TxSetTimer(UINT id, UINT timeout) override;
  void TxKillTimer(UINT id) override;
  void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update_region,
                        LPRECT update, UINT flags) override;
  void TxSetCapture(WINBOOL capture) override;
  void TxSetFocus() override;
  void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
  WINBOOL TxScreenToClient(LPPOINT point) override;
  WINBOOL TxClientToScreen(LPPOINT point) override;
  HRESULT TxActivate(LONG* old_state) override;
  HRESULT TxDeactivate(LONG new_state) override;
  HRESULT TxGetClientRect(LPRECT rect) override;
  HRESULT TxGetViewInset(LPRECT rect) override;
  HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
  HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
  COLORREF TxGetSysColor(int index) override;
  HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
  HRESULT TxGetMaxLength(DWORD* length) override;
  HRESULT TxGetScrollBars(DWORD* bars) override;
  HRESULT TxGetPasswordChar(TCHAR* ch) override;
  HRESULT TxGetAcceleratorPos(LONG* position) override;
  HRESULT TxGetExtent(LPSIZEL extent) override;
  HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
  HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
  HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
  HRESULT TxNotify(DWORD code, void* data) override;
  HIMC TxImmGetContext() override;
  void TxImmReleaseContext(HIMC context) override;
  HRESULT TxGetSelectionBarWidth(LONG* width) override;

 private:
  virtual ~CTxtWinHost();
  void InitCharFormat(HFONT font);
  void InitParaFormat();
  HWND Hwnd() const;

  ULONG refs_ = 1;
  RichEdit* owner_;
  ITextServices* services_ = nullptr;
  LONG style_ = ES_MULTILINE;
  unsigned flags_ = 0;
  LONG selection_bar_width_ = 0;
  LONG max_length_ = 32767;
  RECT client_ = {0, 0, 0, 0};
  SIZEL extent_ = {0, 0};
  CHARFORMAT2W char_format_ = {};
  PARAFORMAT2 para_format_ = {};
  LONG accelerator_pos_ = -1;
  wchar_t password_char_ = 0;
  mutable HWND dc_window_ = nullptr;
  mutable HDC dc_ = nullptr;
};

}  // namespace ui
