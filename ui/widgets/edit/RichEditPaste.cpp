// Pastes and the maximum length. Wine's engine holds to no maximum length (neither the host's
// nor EM_EXLIMITTEXT) and takes seconds for a paste of megabytes: formatted text goes to the
// engine only when it is bounded and its plain text fits the room left; everything else goes
// in as plain text, cut here.
#include <windows.h>
#include <richedit.h>
#include <textserv.h>

#include <algorithm>

#include "text/TextUtils.h"
#include "widgets/edit/RichEdit.h"
#include "widgets/edit/TextHost.h"

namespace ui {
namespace {

// Far above the formatted form of a full edit's text, far below what the engine takes seconds for.
constexpr SIZE_T kMaxFormattedPasteBytes = SIZE_T{1} << 20;

std::wstring DigitsOf(const std::wstring& text) {
  std::wstring digits;
  for (wchar_t ch : text)
    if (ch >= L'0' && ch <= L'9') digits += ch;
  return digits;
}

// The size of the clipboard's formatted text, 0 when it holds none.
SIZE_T FormattedClipboardBytes() {
  const UINT format = RegisterClipboardFormatW(CF_RTF);
  if (!IsClipboardFormatAvailable(format) || !OpenClipboard(nullptr)) return 0;
  HANDLE data = GetClipboardData(format);
  const SIZE_T bytes = data ? GlobalSize(data) : 0;
  CloseClipboard();
  return bytes;
}

}  // namespace

void RichEdit::Paste() {
  if (read_only_) return;
  const std::wstring text = GetClipboardText();
  if (number_only_) {
    InsertWithinLimit(DigitsOf(text));
    return;
  }
  const SIZE_T formatted = rich_ && host_ ? FormattedClipboardBytes() : 0;
  if (formatted > 0 && formatted <= kMaxFormattedPasteBytes &&
      text.size() <= static_cast<size_t>(RoomForInsert())) {
    PasteThroughEngine();
    return;
  }
  InsertWithinLimit(text);
}

void RichEdit::PasteThroughEngine() {
  LRESULT ignored = 0;
  host_->GetTextServices()->TxSendMessage(WM_PASTE, 0, 0, &ignored);
  const int excess = TextLength() - max_length_;
  if (excess <= 0) return;
  // The pasted text ends at the caret: its last characters go, never half a pair.
  CHARRANGE range = {0, 0};
  TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
  range.cpMin = std::max<LONG>(0, range.cpMax - excess);
  if (range.cpMin > 0) {
    wchar_t before[2] = {};
    TEXTRANGEW previous = {{range.cpMin - 1, range.cpMin}, before};
    TxSendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&previous), nullptr);
    if (IS_HIGH_SURROGATE(before[0])) --range.cpMin;
  }
  TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
  // Not undoable: an undo must not bring the excess back.
  TxSendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""), nullptr);
}

int RichEdit::RoomForInsert() {
  CHARRANGE selection = {0, 0};
  TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection), nullptr);
  // A selection of everything reaches past the text, over the final paragraph mark.
  const int length = TextLength();
  const int selected = std::clamp<int>(selection.cpMax, 0, length) -
                       std::clamp<int>(selection.cpMin, 0, length);
  return std::max(0, max_length_ - (length - std::max(selected, 0)));
}

void RichEdit::InsertWithinLimit(const std::wstring& text) {
  const std::wstring cut = CutAtLength(text, RoomForInsert());
  if (cut.empty()) return;
  TxSendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(cut.c_str()), nullptr);
}

}  // namespace ui
