// The drawing surface every control paints through, and the objects it draws with.
#pragma once

#include <windows.h>

#include <string>

#include "base/WeakCallback.h"

namespace ui {

class IBitmap : public base::SupportWeakCallback {
 public:
  virtual bool Init(HDC hdc, int width, int height, bool flip_bits) = 0;
  virtual void Clear() = 0;
  virtual HBITMAP DetachBitmap() = 0;
  virtual HBITMAP GetBitmap() = 0;
  virtual void* GetBits() = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  virtual void ClearAlpha(const RECT& dirty, int alpha) = 0;
  virtual void RestoreAlpha(const RECT& dirty, const RECT& shadow, int alpha) = 0;
};

class IPen : public base::SupportWeakCallback {
 public:
  explicit IPen(DWORD color) : color_(color) {}
  virtual IPen* Clone() = 0;
  virtual void SetWidth(int width) = 0;
  virtual int GetWidth() = 0;
  virtual void SetColor(DWORD color) = 0;
  virtual DWORD GetColor() { return color_; }
  virtual void SetStartCap(int cap) = 0;
  virtual void SetEndCap(int cap) = 0;
  virtual void SetDashCap(int cap) = 0;
  virtual int GetStartCap() = 0;
  virtual int GetEndCap() = 0;
  virtual int GetDashCap() = 0;
  virtual void SetLineJoin(int join) = 0;
  virtual int GetLineJoin() = 0;
  virtual void SetDashStyle(int style) = 0;
  virtual int GetDashStyle() = 0;

 protected:
  DWORD color_;
};

class IBrush : public base::SupportWeakCallback {
 public:
  explicit IBrush(DWORD color) : color_(color) {}
  virtual IBrush* Clone() = 0;
  virtual DWORD GetColor() { return color_; }
  // The bitmap of a bitmap brush; this implementation keeps none.
  virtual IBitmap* GetBitmap() { return nullptr; }

 protected:
  DWORD color_;
};

class IMatrix : public base::SupportWeakCallback {
 public:
  virtual void Translate(int dx, int dy) = 0;
  virtual void Scale(int sx, int sy) = 0;
  virtual void Rotate(float angle) = 0;
  virtual void RotateAt(float angle, const POINT& center) = 0;
};

class IPath : public base::SupportWeakCallback {
 public:
  virtual IPath* Clone() = 0;
  virtual void Reset() = 0;
  virtual void SetFillMode(int mode) = 0;
  virtual int GetFillMode() = 0;
  virtual void StartFigure() = 0;
  virtual void CloseFigure() = 0;
  virtual void AddLine(int x1, int y1, int x2, int y2) = 0;
  virtual void AddLines(const POINT* points, int count) = 0;
  virtual void AddBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void AddCurve(const POINT* points, int count) = 0;
  virtual void AddRect(int left, int top, int right, int bottom) = 0;
  virtual void AddRect(const RECT& rect) = 0;
  virtual void AddEllipse(int left, int top, int right, int bottom) = 0;
  virtual void AddEllipse(const RECT& rect) = 0;
  virtual void AddArc(int x, int y, int width, int height, float start_angle,
                      float sweep_angle) = 0;
  virtual void AddPie(int x, int y, int width, int height, float start_angle,
                      float sweep_angle) = 0;
  virtual void AddPolygon(const POINT* points, int count) = 0;
  virtual RECT GetBounds(const IPen* pen) = 0;
  virtual bool IsContainsPoint(int x, int y) = 0;
  virtual bool IsStrokeContainsPoint(int x, int y, const IPen* pen) = 0;
  virtual void Transform(const IMatrix* matrix) = 0;
};

class IClip : public base::SupportWeakCallback {
 public:
  virtual void CreateClip(HDC hdc, RECT rect) = 0;
  virtual void CreateRoundClip(HDC hdc, RECT rect, int width, int height) = 0;
  virtual void ClearClip(HDC hdc) = 0;
};

class IRenderContext : public base::SupportWeakCallback {
 public:
  virtual HDC GetDC() = 0;
  virtual bool Resize(int width, int height, bool flip_bits = true) = 0;
  virtual void Clear() = 0;
  virtual IRenderContext* Clone() = 0;
  virtual HBITMAP DetachBitmap() = 0;
  virtual BYTE* GetBits() = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  virtual void ClearAlpha(const RECT& dirty, int alpha = 0) = 0;
  virtual void RestoreAlpha(const RECT& dirty, const RECT& shadow, int alpha = 0) = 0;
  virtual bool IsRenderTransparent() const = 0;
  virtual bool SetRenderTransparent(bool transparent) = 0;

  virtual int Save() = 0;
  virtual void Restore() = 0;
  virtual POINT OffsetWindowOrg(POINT offset) = 0;
  virtual POINT SetWindowOrg(POINT origin) = 0;
  virtual POINT GetWindowOrg() const = 0;
  virtual void SetClip(const RECT& rect) = 0;
  virtual void SetRoundClip(const RECT& rect, int width, int height) = 0;
  virtual void ClearClip() = 0;

  virtual BOOL BitBlt(int x, int y, int cx, int cy, HDC src_dc, int x_src = 0, int y_src = 0,
                      DWORD rop = SRCCOPY) = 0;
  virtual bool AlphaBlend(int x_dest, int y_dest, int width_dest, int height_dest, HDC src_dc,
                          int x_src, int y_src, int width_src, int height_src,
                          BYTE alpha = 255) = 0;
  virtual void DrawImage(const RECT& paint_rect, HBITMAP bitmap, bool has_alpha, const RECT& dest,
                         const RECT& source, const RECT& corners, BYTE fade = 255,
                         bool xtiled = false, bool ytiled = false) = 0;
  virtual void DrawColor(const RECT& rect, const std::wstring& color_name, BYTE alpha = 255) = 0;
  virtual void DrawColor(const RECT& rect, DWORD color, BYTE alpha = 255) = 0;
  virtual void DrawLine(const IPen* pen, int x1, int y1, int x2, int y2) = 0;
  virtual void DrawLine(const RECT& rect, int width, DWORD color) = 0;
  virtual void DrawBezier(const IPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                          int y4) = 0;
  virtual void DrawRect(const RECT& rect, int width, DWORD color) = 0;
  virtual void DrawRoundRect(const RECT& rect, const SIZE& round_size, int width, DWORD color) = 0;
  virtual void DrawText(const RECT& rect, const std::wstring& text, DWORD color,
                        const std::wstring& font_id, UINT style, BYTE fade = 255,
                        bool line_limit = false) = 0;
  virtual void DrawEllipse(const RECT& rect, int width, DWORD color) = 0;
  virtual void FillEllipse(const RECT& rect, DWORD color) = 0;
  virtual RECT MeasureText(const std::wstring& text, const std::wstring& font_id, UINT style,
                           int width = -1) = 0;
  virtual void DrawPath(const IPath* path, const IPen* pen) = 0;
  virtual void FillPath(const IPath* path, const IBrush* brush) = 0;
};

class IRenderFactory {
 public:
  virtual ~IRenderFactory() = default;
  virtual IPen* CreatePen(DWORD color, int width = 1) = 0;
  virtual IBrush* CreateBrush(HBITMAP bitmap) = 0;
  virtual IBrush* CreateBrush(DWORD color) = 0;
  virtual IMatrix* CreateMatrix() = 0;
  virtual IPath* CreatePath() = 0;
  virtual IBitmap* CreateBitmap() = 0;
  virtual IRenderContext* CreateRenderContext() = 0;
};

}  // namespace ui
