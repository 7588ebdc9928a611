#include "widgets/edit/RichEdit.h"

#include <vector>

#include "resources/FontInfo.h"
#include "resources/GlobalManager.h"
#include "resources/LanguageTable.h"
#include "text/TextUtils.h"
#include "text/Utf8.h"
#include "timing/TimerManager.h"
#include "widgets/ScrollBar.h"
#include "widgets/edit/TextHost.h"
#include "window/Window.h"

namespace ui {
namespace {

// Colour names may carry leading blanks or control characters.
std::wstring TrimColorName(const std::wstring& value) {
  size_t start = 0;
  while (start < value.size() && value[start] <= 32) ++start;
  return value.substr(start);
}

COLORREF ColorOf(const std::wstring& name) {
  const DWORD argb = GlobalManager::GetTextColor(name);
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace

RichEdit::RichEdit()
    : text_color_(GlobalManager::GetDefaultTextColor()),
      normal_text_color_(text_color_),
      disabled_text_color_(text_color_) {}

RichEdit::~RichEdit() {
  if (host_) host_->Release();
  for (auto& timer : timers_) timer.second.Cancel();
  caret_timer_.Cancel();
}

void RichEdit::DoInit() {
  if (inited_) return;
  host_ = new CTxtWinHost(this);
  // The engine reads the back style once, when it is created: set afterwards, it stays opaque.
  host_->SetHostFlag(kHostTransparent, true);
  if (!host_->Init(style_, text_.c_str())) {
    host_->Release();
    host_ = nullptr;
  }
  if (host_) {
    TxSendMessage(EM_SETLANGOPTIONS, 0, 0, nullptr);
    TxSendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE, nullptr);
    InPlaceActivate();
    if (vertical_bar_) vertical_bar_->SetScrollRange(0);
    if (horizontal_bar_) horizontal_bar_->SetScrollRange(0);
  }
  inited_ = true;
}

void RichEdit::InPlaceActivate() {
  if (!host_) return;
  host_->SetHostFlag(kHostInPlaceActive, true);
  if (FAILED(host_->GetTextServices()->OnTxInPlaceActivate(nullptr)))
    host_->SetHostFlag(kHostInPlaceActive, false);
}

HRESULT RichEdit::TxSendMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  if (message == WM_PASTE) {
    Paste();
    if (result) *result = 0;
    return S_OK;
  }
  if (!host_) {
    if (result) *result = 0;
    return 1;
  }
  LRESULT ignored = 0;
  return host_->GetTextServices()->TxSendMessage(message, wparam, lparam,
                                                 result ? result : &ignored);
}

void RichEdit::OnScrollBarAttribute(bool vertical, const std::wstring& value) {
  const LONG bar = vertical ? WS_VSCROLL : WS_HSCROLL;
  const LONG other = vertical ? WS_HSCROLL : WS_VSCROLL;
  const bool on = value == L"true";
  if (on) {
    style_ |= bar | ES_DISABLENOSCROLL;
  } else {
    style_ &= ~bar;
    if (!(style_ & other)) style_ &= ~ES_DISABLENOSCROLL;
  }
  EnableScrollBar((style_ & WS_VSCROLL) != 0, (style_ & WS_HSCROLL) != 0);
}

void RichEdit::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const bool is_true = value == L"true";
  const bool is_bool = is_true || value == L"false";
  struct StyleAttribute {
    const wchar_t* name;
    LONG bit;
    bool* flag;
  };
  const StyleAttribute styles[] = {
      {L"autovscroll", ES_AUTOVSCROLL, nullptr}, {L"autohscroll", ES_AUTOHSCROLL, nullptr},
      {L"multiline", ES_MULTILINE, nullptr},     {L"readonly", ES_READONLY, &read_only_},
      {L"password", ES_PASSWORD, &password_},    {L"number", ES_NUMBER, &number_only_},
  };
  for (const StyleAttribute& style : styles) {
    if (name != style.name) continue;
    if (!is_bool) return;
    SetStyleBit(style.bit, is_true);
    if (style.flag) *style.flag = is_true;
    return;
  }
  if (name == L"vscrollbar" || name == L"hscrollbar") {
    OnScrollBarAttribute(name == L"vscrollbar", value);
  } else if (name == L"align") {
    if (value.find(L"left") != std::wstring::npos) style_ &= ~(ES_CENTER | ES_RIGHT);
    if (value.find(L"hcenter") != std::wstring::npos) style_ = (style_ | ES_CENTER) & ~ES_RIGHT;
    if (value.find(L"right") != std::wstring::npos) style_ = (style_ | ES_RIGHT) & ~ES_CENTER;
    if (value.find(L"top") != std::wstring::npos) vertical_align_ = 0;
    if (value.find(L"vcenter") != std::wstring::npos) vertical_align_ = 1;
    if (value.find(L"bottom") != std::wstring::npos) vertical_align_ = 2;
  } else if (name == L"normaltextcolor") {
    normal_text_color_ = TrimColorName(value);
    if (IsEnabled()) SetTextColor(normal_text_color_);
  } else if (name == L"disabledtextcolor") {
    disabled_text_color_ = TrimColorName(value);
    if (!IsEnabled()) SetTextColor(disabled_text_color_);
  } else if (name == L"caretcolor") {
    caret_color_ = TrimColorName(value);
  } else if (name == L"promptmode") {
    if (is_true) prompt_mode_ = true;
  } else if (name == L"promptcolor") {
    prompt_color_ = TrimColorName(value);
  } else if (name == L"prompttext") {
    SetPromptText(value);
  } else if (name == L"prompttextid") {
    SetPromptTextId(value);
  } else if (name == L"focusedimage") {
    SetFocusedImage(value);
  } else if (name == L"font") {
    SetFont(value);
  } else if (name == L"text") {
    SetText(value);
  } else if (name == L"textid") {
    SetText(LanguageTable::GetInstance()->GetStringViaID(value));
  } else if (name == L"wanttab") {
    want_tab_ = is_true;
  } else if (name == L"wantreturnmsg") {
    want_return_msg_ = is_true;
  } else if (name == L"returnmsgwantctrl") {
    return_msg_want_ctrl_ = is_true;
  } else if (name == L"rich") {
    rich_ = is_true;
    if (host_) host_->SetRichText(rich_);
  } else {
    Box::SetAttribute(name, value);
  }
}

void RichEdit::SetFont(const std::wstring& font_id) {
  font_id_ = font_id;
  if (!host_) return;
  FontInfo* font = GlobalManager::GetFont(font_id_);
  host_->SetFont(font ? font->handle : nullptr);
}

void RichEdit::SetEnabled(bool enabled) {
  ScrollableBox::SetEnabled(enabled);
  SetState(enabled ? kControlStateNormal : kControlStateDisabled);
  SetTextColor(enabled ? normal_text_color_ : disabled_text_color_);
}

void RichEdit::SetTextColor(const std::wstring& color) {
  if (color == text_color_) return;
  text_color_ = color;
  if (host_) host_->SetColor(ColorOf(text_color_));
}

int RichEdit::TextLength() {
  GETTEXTLENGTHEX length_query = {GTL_DEFAULT, 1200};
  LRESULT length = 0;
  TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length_query), 0, &length);
  return static_cast<int>(length);
}

std::wstring RichEdit::GetText() {
  const int length = TextLength();
  if (length <= 0) return L"";
  std::vector<wchar_t> buffer(length + 1, L'\0');
  GETTEXTEX query = {static_cast<DWORD>((length + 1) * sizeof(wchar_t)), GT_DEFAULT, 1200,
                     nullptr, nullptr};
  TxSendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                reinterpret_cast<LPARAM>(buffer.data()), nullptr);
  return buffer.data();
}

void RichEdit::SetText(const std::wstring& text) {
  text_ = CutAtLength(text, max_length_);
  if (!inited_) return;
  SetSelAll();
  TxSendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text_.c_str()), nullptr);
  links_.clear();
}

std::string RichEdit::GetUTF8Text() { return WideToUtf8Bytes(GetText()); }

void RichEdit::SetUTF8Text(const std::string& text) { SetText(Utf8BytesToWide(text.data(), text.size())); }

std::wstring RichEdit::GetSelText() {
  CHARRANGE range = {0, 0};
  TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
  if (range.cpMax <= range.cpMin) return L"";
  std::vector<wchar_t> buffer(range.cpMax - range.cpMin + 1, L'\0');
  TxSendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()), nullptr);
  return buffer.data();
}

LRESULT RichEdit::SetSelAll() {
  CHARRANGE range = {0, -1};
  LRESULT result = 0;
  TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), &result);
  return result;
}

LRESULT RichEdit::SetSelNone() {
  CHARRANGE range = {-1, 0};
  LRESULT result = 0;
  TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), &result);
  return result;
}

SIZE RichEdit::GetNaturalSize(int width) {
  SIZE size = {0, 0};
  if (natural_size_ && natural_size_(width, size)) return size;
  if (host_) return host_->NaturalSize(width);
  return SIZE{width > 0 ? width : 0, 0};
}

void RichEdit::SetPromptText(const std::wstring& text) {
  if (prompt_text_ == text) return;
  prompt_text_ = text;
  Invalidate();
}

void RichEdit::SetPromptTextId(const std::wstring& id) {
  if (prompt_text_id_ == id) return;
  prompt_text_id_ = id;
  Invalidate();
}

std::wstring RichEdit::GetPromptText() const {
  if (prompt_text_.empty() && !prompt_text_id_.empty())
    return LanguageTable::GetInstance()->GetStringViaID(prompt_text_id_);
  return prompt_text_;
}

void RichEdit::SetFocusedImage(const std::wstring& image) {
  focused_image_ = Image();
  focused_image_.SetImageString(image);
  Invalidate();
}

void RichEdit::ClearImageCache() {
  ScrollableBox::ClearImageCache();
  focused_image_.ClearCache();
}

void RichEdit::SetTimer(UINT id, UINT interval_ms) {
  base::WeakCallbackFlag& flag = timers_[id];
  flag.Cancel();
  TimerManager::GetInstance()->AddTimer(
      flag.GetWeakFlag(), [this, id] { TxSendMessage(WM_TIMER, id, 0, nullptr); },
      static_cast<int>(interval_ms), -1);
}

void RichEdit::KillTimer(UINT id) {
  auto found = timers_.find(id);
  if (found == timers_.end()) return;
  found->second.Cancel();
  timers_.erase(found);
}

void RichEdit::OnTxNotify(DWORD code, void* data) {
  switch (code) {
    case EN_CHANGE:
      OnTextChange();
      return;
    case EN_MSGFILTER: case EN_SELCHANGE: case EN_DROPFILES: case EN_PROTECTED:
    case EN_STOPNOUNDO: case EN_SAVECLIPBOARD: case EN_OLEOPFAILED: case EN_OBJECTPOSITIONS:
    case EN_DRAGDROPDONE: {
      HWND hwnd = window_ ? window_->GetHWND() : nullptr;
      if (!data || !hwnd) return;
      NMHDR* header = static_cast<NMHDR*>(data);
      header->hwndFrom = hwnd;
      header->idFrom = GetWindowLongW(hwnd, GWL_ID);
      header->code = code;
      SendMessageW(hwnd, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
      return;
    }
    case EN_LINK: {
      const ENLINK* link = static_cast<const ENLINK*>(data);
      HWND hwnd = window_ ? window_->GetHWND() : nullptr;
      if (!link || link->msg != WM_LBUTTONUP) return;
      CHARRANGE range = link->chrg;
      TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
      const std::wstring text = GetSelText();
      wprintf(L"[Link]%ls\n", text.c_str());
      if (hwnd) SendMessageW(hwnd, WM_NOTIFY, EN_LINK, reinterpret_cast<LPARAM>(text.c_str()));
      return;
    }
    default:
      return;
  }
}

void RichEdit::OnTextChange() {
  if (!window_) return;
  EventArgs args;
  args.Type = kEventTextChange;
  args.pSender = this;
  args.dwTimestamp = GetTickCount();
  args.ptMouse = window_->GetLastMousePos();
  HandleMessageTemplate(args);
}

bool RichEdit::HitTestLink(POINT point, std::wstring* link) {
  if (links_.empty()) return false;
  const SIZE offset = GetScrollOffset();
  POINTL at = {point.x + offset.cx, point.y + offset.cy};
  LRESULT index = -1;
  if (host_) TxSendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at), &index);
  for (const Link& entry : links_) {
    if (index >= entry.first && index < entry.end) {
      if (link) *link = entry.text;
      return true;
    }
  }
  return false;
}

}  // namespace ui
