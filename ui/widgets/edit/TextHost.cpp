#include "widgets/edit/TextHost.h"

#include <algorithm>

#include "resources/FontInfo.h"
#include "resources/GlobalManager.h"
#include "widgets/ScrollBar.h"
#include "widgets/edit/RichEdit.h"
#include "window/Window.h"

namespace ui {
namespace {

// The interfaces of the text services, defined here: not every import library carries them.
const IID kIidTextServices = {
    0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
const IID kIidTextHost = {
    0xc5bdd8d0, 0xd26e, 0x11ce, {0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};

using CreateTextServicesFunction = HRESULT(WINAPI*)(IUnknown*, ITextHost*, IUnknown**);

// Loaded once and kept for the process: text services must never outlive their code.
CreateTextServicesFunction TextServicesFactory() {
  static CreateTextServicesFunction factory = [] {
    HMODULE module = LoadLibraryW(L"msftedit.dll");
    return module ? reinterpret_cast<CreateTextServicesFunction>(
                        reinterpret_cast<void*>(GetProcAddress(module, "CreateTextServices")))
                  : nullptr;
  }();
  return factory;
}

int DeviceUnits(HDC dc, int index) {
  const int value = dc ? GetDeviceCaps(dc, index) : 0;
  return value ? value : 96;
}

COLORREF ToColorRef(DWORD argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace

CTxtWinHost::CTxtWinHost(RichEdit* owner) : owner_(owner) {}

CTxtWinHost::~CTxtWinHost() {
  if (services_) {
    services_->OnTxInPlaceDeactivate();
    services_->Release();
  }
  if (dc_) ReleaseDC(dc_window_, dc_);
}

HWND CTxtWinHost::Hwnd() const {
  Window* window = owner_->GetWindow();
  return window ? window->GetHWND() : nullptr;
}

HDC CTxtWinHost::PaintDC() const {
  // The DC of the edit's native window, or the screen's for an edit without one.
  if (!dc_) {
    dc_window_ = Hwnd();
    dc_ = GetDC(dc_window_);
  }
  return dc_;
}

void CTxtWinHost::InitCharFormat(HFONT font) {
  LOGFONTW log_font = {};
  if (font) GetObjectW(font, sizeof(log_font), &log_font);
  CHARFORMAT2W& cf = char_format_;
  cf = CHARFORMAT2W{};
  cf.cbSize = sizeof(cf);
  cf.yHeight = log_font.lfHeight * -1440 / DeviceUnits(PaintDC(), LOGPIXELSY);
  cf.crTextColor = ToColorRef(GlobalManager::GetTextColor(owner_->GetCurrentTextColor()));
  cf.yOffset = 0;
  cf.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC |
              CFM_UNDERLINE;
  cf.dwEffects = 0;
  if (log_font.lfWeight > 699) cf.dwEffects |= CFE_BOLD;
  if (log_font.lfItalic) cf.dwEffects |= CFE_ITALIC;
  if (log_font.lfUnderline) cf.dwEffects |= CFE_UNDERLINE;
  cf.bCharSet = log_font.lfCharSet;
  cf.bPitchAndFamily = log_font.lfPitchAndFamily;
  lstrcpynW(cf.szFaceName, log_font.lfFaceName, LF_FACESIZE);
}

void CTxtWinHost::InitParaFormat() {
  PARAFORMAT2& pf = para_format_;
  pf = PARAFORMAT2{};
  pf.cbSize = sizeof(pf);
  pf.dwMask = PFM_ALL;
  pf.wAlignment = PFA_LEFT;
  pf.cTabCount = 1;
  pf.rgxTabs[0] = 720;
  if (style_ & ES_CENTER)
    pf.wAlignment = PFA_CENTER;
  else if (style_ & ES_RIGHT)
    pf.wAlignment = PFA_RIGHT;
}

bool CTxtWinHost::Init(LONG style, const wchar_t* text) {
  style_ = style;
  FontInfo* font = GlobalManager::GetFont(owner_->GetFont());
  InitCharFormat(font ? font->handle : nullptr);
  InitParaFormat();
  if (owner_->IsRich()) flags_ |= kHostRichText;
  max_length_ = owner_->GetMaxLength();
  if (!(style_ & (ES_AUTOHSCROLL | WS_HSCROLL))) flags_ |= kHostWordWrap;
  flags_ |= kHostInPlaceActive;

  CreateTextServicesFunction factory = TextServicesFactory();
  if (!factory) return false;
  IUnknown* unknown = nullptr;
  if (FAILED(factory(nullptr, this, &unknown)) || !unknown) return false;
  const HRESULT queried =
      unknown->QueryInterface(kIidTextServices, reinterpret_cast<void**>(&services_));
  unknown->Release();
  if (FAILED(queried) || !services_) {
    services_ = nullptr;
    return false;
  }
  return SUCCEEDED(services_->TxSetText(text));
}

void CTxtWinHost::SetClientRect(const RECT& rect) {
  client_ = rect;
  HDC dc = PaintDC();
  extent_.cx = MulDiv(rect.right - rect.left, 2540, DeviceUnits(dc, LOGPIXELSX));
  extent_.cy = MulDiv(rect.bottom - rect.top, 2540, DeviceUnits(dc, LOGPIXELSY));
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_VIEWINSETCHANGE, TXTBIT_VIEWINSETCHANGE);
}

SIZE CTxtWinHost::NaturalSize(int width) {
  LONG natural_width = std::max(width, 0);
  LONG natural_height = 0;
  const SIZEL extent = {-1, -1};
  if (services_)
    services_->TxGetNaturalSize(DVASPECT_CONTENT, PaintDC(), nullptr, nullptr, TXTNS_FITTOCONTENT,
                                &extent, &natural_width, &natural_height);
  return SIZE{natural_width, natural_height};
}

RECT CTxtWinHost::GetAlignedClientRect() {
  RECT rect = client_;
  const int align = owner_->GetVerticalAlign();
  if (align == 0) return rect;
  const int height = rect.bottom - rect.top;
  const int natural = NaturalSize(rect.right - rect.left).cy;
  // Text taller than the view starts at the top: alignment never pushes it above.
  const int space = std::max(0, height - natural);
  OffsetRect(&rect, 0, align == 1 ? space / 2 : space);
  return rect;
}

void CTxtWinHost::SetFont(HFONT font) {
  InitCharFormat(font);
  if (services_)
    services_->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetColor(COLORREF color) {
  char_format_.crTextColor = color;
  if (services_)
    services_->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetRichText(bool rich) {
  SetHostFlag(kHostRichText, rich);
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_RICHTEXT, rich ? TXTBIT_RICHTEXT : 0);
}

void CTxtWinHost::SetHostFlag(unsigned flag, bool on) {
  flags_ = on ? (flags_ | flag) : (flags_ & ~flag);
}

bool CTxtWinHost::DoSetCursor(POINT point) {
  const SIZE offset = owner_->GetScrollOffset();
  point.x += offset.cx;
  point.y += offset.cy;
  if (!PtInRect(&client_, point) || !services_) return false;
  const RECT* client = HasHostFlag(kHostInPlaceActive) ? nullptr : &client_;
  services_->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr, PaintDC(), nullptr, client,
                           point.x, point.y);
  return true;
}

HRESULT CTxtWinHost::QueryInterface(REFIID riid, void** object) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIidTextHost)) {
    AddRef();
    *object = static_cast<ITextHost*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CTxtWinHost::AddRef() { return ++refs_; }

ULONG CTxtWinHost::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HDC CTxtWinHost::TxGetDC() { return PaintDC(); }

INT CTxtWinHost::TxReleaseDC(HDC) { return 1; }

WINBOOL CTxtWinHost::TxShowScrollBar(INT, WINBOOL) { return TRUE; }

WINBOOL CTxtWinHost::TxEnableScrollBar(INT bars, INT arrows) {
  if (arrows != ESB_DISABLE_BOTH) return TRUE;
  ScrollBar* vertical = owner_->GetVerticalScrollBar();
  ScrollBar* horizontal = owner_->GetHorizontalScrollBar();
  if ((bars == SB_VERT || bars == SB_BOTH) && vertical && vertical->GetScrollRange() != 0) {
    vertical->SetScrollRange(0);
    vertical->SetScrollPos(0);
    vertical->SetVisible(false);
    vertical->SetPos(vertical->GetPos());
  }
  if ((bars == SB_HORZ || bars == SB_BOTH) && horizontal) horizontal->SetScrollRange(0);
  owner_->SetPos(owner_->GetPos());
  return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG min, INT max, WINBOOL) {
  ScrollBar* target =
      bar == SB_VERT ? owner_->GetVerticalScrollBar() : owner_->GetHorizontalScrollBar();
  if (!target) return TRUE;
  const LONG view = bar == SB_VERT ? client_.bottom - client_.top : client_.right - client_.left;
  const LONG range = max - min - view;
  if (range <= 0) {
    target->SetScrollRange(0);
    return TRUE;
  }
  const bool had_range = target->GetScrollRange() != 0;
  target->SetScrollRange(range);
  if (!had_range) owner_->SetPos(owner_->GetPos());
  return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT bar, INT pos, WINBOOL) {
  ScrollBar* target =
      bar == SB_VERT ? owner_->GetVerticalScrollBar() : owner_->GetHorizontalScrollBar();
  if (!target || target->GetScrollPos() == pos) return TRUE;
  target->SetScrollPos(std::clamp<int64_t>(pos, 0, target->GetScrollRange()));
  target->SetPos(target->GetPos());
  return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rect, WINBOOL) {
  Window* window = owner_->GetWindow();
  if (!window) return;
  RECT dirty = rect ? *rect : client_;
  const SIZE offset = owner_->GetScrollOffset();
  OffsetRect(&dirty, -offset.cx, -offset.cy);
  window->Invalidate(dirty);
}

void CTxtWinHost::TxViewChange(WINBOOL) {}

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP, INT width, INT height) {
  owner_->SetCaretSize(width, height);
  return TRUE;
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL) { return TRUE; }

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y) {
  owner_->SetCaretPos(x, y);
  return TRUE;
}

WINBOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout) {
  flags_ |= kHostTimer;
  owner_->SetTimer(id, timeout);
  return TRUE;
}

void CTxtWinHost::TxKillTimer(UINT id) {
  owner_->KillTimer(id);
  flags_ &= ~kHostTimer;
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void CTxtWinHost::TxSetCapture(WINBOOL capture) {
  HWND hwnd = Hwnd();
  if (capture) {
    if (hwnd) SetCapture(hwnd);
    flags_ |= kHostCaptured;
  } else {
    if (hwnd && GetCapture() == hwnd) ReleaseCapture();
    flags_ &= ~kHostCaptured;
  }
}

void CTxtWinHost::TxSetFocus() { owner_->SetFocus(); }

void CTxtWinHost::TxSetCursor(HCURSOR cursor, WINBOOL) { ::SetCursor(cursor); }

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT point) { return ScreenToClient(Hwnd(), point); }

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT point) { return ClientToScreen(Hwnd(), point); }

HRESULT CTxtWinHost::TxActivate(LONG*) { return S_OK; }

HRESULT CTxtWinHost::TxDeactivate(LONG) { return S_OK; }

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rect) {
  *rect = GetAlignedClientRect();
  return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rect) {
  *rect = RECT{0, 0, 0, 0};
  return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format) {
  *format = reinterpret_cast<const CHARFORMATW*>(&char_format_);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format) {
  *format = &para_format_;
  return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index) { return GetSysColor(index); }

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style) {
  *style = HasHostFlag(kHostTransparent) ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length) {
  *length = max_length_;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* bars) {
  *bars = style_ & (WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch) {
  *ch = password_char_;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* position) {
  *position = accelerator_pos_;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent) {
  *extent = extent_;
  return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*) { return S_OK; }

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*) { return S_OK; }

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits) {
  DWORD value = 0;
  if (style_ & ES_MULTILINE) value |= TXTBIT_MULTILINE;
  if (flags_ & kHostRichText) value |= TXTBIT_RICHTEXT;
  if (style_ & ES_READONLY) value |= TXTBIT_READONLY;
  if (style_ & ES_PASSWORD) value |= TXTBIT_USEPASSWORD;
  if (!(style_ & ES_NOHIDESEL)) value |= TXTBIT_HIDESELECTION;
  if (flags_ & kHostAutoWordSelect) value |= TXTBIT_AUTOWORDSEL;
  if (flags_ & kHostWordWrap) value |= TXTBIT_WORDWRAP;
  if (flags_ & kHostAllowBeep) value |= TXTBIT_ALLOWBEEP;
  if (flags_ & kHostSaveSelection) value |= TXTBIT_SAVESELECTION;
  *bits = value & mask;
  return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data) {
  if (code == EN_REQUESTRESIZE && data) {
    const REQRESIZE* request = static_cast<REQRESIZE*>(data);
    RECT rect = GetAlignedClientRect();
    rect.right = rect.left + request->rc.right;
    rect.bottom = rect.top + request->rc.bottom;
    SetClientRect(rect);
  }
  owner_->OnTxNotify(code, data);
  return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() { return nullptr; }

void CTxtWinHost::TxImmReleaseContext(HIMC) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width) {
  *width = selection_bar_width_;
  return S_OK;
}

}  // namespace ui
