// A render context that draws nothing and records each drawing call as one line of text,
// so tests can check what a control painted and in which order.
#pragma once

#include <string>
#include <vector>

#include "base/StringPrintf.h"
#include "render/RenderInterfaces.h"

namespace ui {

inline std::wstring RectText(const RECT& r) {
  return base::StringPrintf(L"%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
}

class RecordingContext : public IRenderContext {
 public:
  std::vector<std::wstring> calls;
  int width = 0;
  int height = 0;
  POINT origin = {0, 0};
  bool transparent = false;

  void Record(const std::wstring& call) { calls.push_back(call); }

  HDC GetDC() override { return nullptr; }
  bool Resize(int w, int h, bool) override {
    const bool changed = w != width || h != height;
    width = w;
    height = h;
    return changed;
  }
  void Clear() override { Record(L"Clear"); }
  IRenderContext* Clone() override { return nullptr; }
  HBITMAP DetachBitmap() override { return nullptr; }
  BYTE* GetBits() override { return nullptr; }
  int GetWidth() override { return width; }
  int GetHeight() override { return height; }
  void ClearAlpha(const RECT& r, int) override { Record(L"ClearAlpha " + RectText(r)); }
  void RestoreAlpha(const RECT& r, const RECT&, int) override { Record(L"RestoreAlpha " + RectText(r)); }
  bool IsRenderTransparent() const override { return transparent; }
  bool SetRenderTransparent(bool value) override {
    const bool old = transparent;
    transparent = value;
    return old;
  }
  int Save() override { return 1; }
  void Restore() override {}
  POINT OffsetWindowOrg(POINT offset) override {
    const POINT old = origin;
    origin.x += offset.x;
    origin.y += offset.y;
    return old;
  }
  POINT SetWindowOrg(POINT value) override {
    const POINT old = origin;
    origin = value;
    return old;
  }
  POINT GetWindowOrg() const override { return origin; }
  void SetClip(const RECT& r) override { Record(L"Clip " + RectText(r)); }
  void SetRoundClip(const RECT& r, int, int) override { Record(L"RoundClip " + RectText(r)); }
  void ClearClip() override {}
  BOOL BitBlt(int, int, int, int, HDC, int, int, DWORD) override { return TRUE; }
  bool AlphaBlend(int x, int y, int w, int h, HDC, int, int, int, int, BYTE alpha) override {
    Record(base::StringPrintf(L"AlphaBlend %d,%d,%d,%d alpha %d", x, y, x + w, y + h, alpha));
    return true;
  }
  void DrawImage(const RECT&, HBITMAP, bool, const RECT& dest, const RECT& source, const RECT&,
                 BYTE fade, bool, bool) override {
    Record(L"Image " + RectText(dest) + L" from " + RectText(source) +
           base::StringPrintf(L" fade %d", fade));
  }
  void DrawColor(const RECT& r, const std::wstring& name, BYTE alpha) override {
    Record(L"Color " + RectText(r) + L" " + name + base::StringPrintf(L" alpha %d", alpha));
  }
  void DrawColor(const RECT& r, DWORD color, BYTE alpha) override {
    Record(L"Color " + RectText(r) + base::StringPrintf(L" %08X alpha %d", color, alpha));
  }
  void DrawLine(const IPen*, int, int, int, int) override {}
  void DrawLine(const RECT& r, int w, DWORD) override {
    Record(L"Line " + RectText(r) + base::StringPrintf(L" width %d", w));
  }
  void DrawBezier(const IPen*, int, int, int, int, int, int, int, int) override {}
  void DrawRect(const RECT& r, int w, DWORD) override {
    Record(L"Rect " + RectText(r) + base::StringPrintf(L" width %d", w));
  }
  void DrawRoundRect(const RECT& r, const SIZE&, int w, DWORD) override {
    Record(L"RoundRect " + RectText(r) + base::StringPrintf(L" width %d", w));
  }
  void DrawText(const RECT& r, const std::wstring& text, DWORD color, const std::wstring& font,
                UINT style, BYTE fade, bool) override {
    Record(L"Text " + RectText(r) + L" " + text +
           base::StringPrintf(L" %08X style %X alpha %d", color, style, fade) +
           (font.empty() ? L"" : L" font " + font));
  }
  void DrawEllipse(const RECT&, int, DWORD) override {}
  void FillEllipse(const RECT&, DWORD) override {}
  RECT MeasureText(const std::wstring& text, const std::wstring&, UINT, int limit) override {
    // Eight pixels a character, sixteen a line; wraps at `limit` when it is positive.
    const int full = static_cast<int>(text.size()) * 8;
    if (limit > 0 && full > limit) {
      const int lines = (full + limit - 1) / limit;
      return RECT{0, 0, limit, lines * 16};
    }
    return RECT{0, 0, full, 16};
  }
  void DrawPath(const IPath*, const IPen*) override {}
  void FillPath(const IPath*, const IBrush*) override {}

  // Calls whose text starts with `prefix`.
  std::vector<std::wstring> Only(const std::wstring& prefix) const {
    std::vector<std::wstring> found;
    for (const std::wstring& call : calls)
      if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
    return found;
  }
};

}  // namespace ui
