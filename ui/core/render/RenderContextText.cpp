// Text drawing and measuring of the render context.
#include "render/GdiPlusGraphics.h"
#include "render/RenderContext_GdiPlus.h"
#include "render/TextFont.h"
#include "resources/FontInfo.h"
#include "resources/GlobalManager.h"

namespace ui {
namespace {

constexpr StringFormatFlags kNoWrap = StringFormatFlagsNoWrap;

// The registered font's GDI+ font, made on its first use; the DC's font when the id is unknown
// or GDI+ knows the font by no name.
class FontForText {
 public:
  FontForText(HDC dc, const std::wstring& font_id) {
    if (FontInfo* font = GlobalManager::GetFont(font_id)) {
      if (!font->text_font) font->text_font = TextFont::Create(dc, font->handle);
      if (font->text_font) {
        kept_ = font->text_font.get();
        font_ = kept_->get();
        return;
      }
    }
    // A failed call may leave a freed font in its result.
    if (GdipCreateFontFromDC(dc, &owned_) != Ok) owned_ = nullptr;
    font_ = owned_;
  }
  ~FontForText() {
    if (owned_) GdipDeleteFont(owned_);
  }
  FontForText(const FontForText&) = delete;
  FontForText& operator=(const FontForText&) = delete;
  GpFont* get() const { return font_; }

  // The height of one unwrapped line, kept with a registered font.
  template <typename Measure>
  REAL LineHeight(Measure measure) {
    return kept_ ? kept_->LineHeight(measure) : measure();
  }

 private:
  GpFont* font_ = nullptr;
  TextFont* kept_ = nullptr;  // the registered font's
  GpFont* owned_ = nullptr;   // the DC's font, made for this text only
};

class TypographicFormat {
 public:
  TypographicFormat() {
    GpStringFormat* generic = nullptr;
    GdipStringFormatGetGenericTypographic(&generic);
    GdipCloneStringFormat(generic, &format_);
  }
  ~TypographicFormat() {
    if (format_) GdipDeleteStringFormat(format_);
  }
  TypographicFormat(const TypographicFormat&) = delete;
  TypographicFormat& operator=(const TypographicFormat&) = delete;
  GpStringFormat* get() const { return format_; }

 private:
  GpStringFormat* format_ = nullptr;
};

void ApplyStyle(GpStringFormat* format, UINT style, bool line_limit) {
  if (style & DT_END_ELLIPSIS) GdipSetStringFormatTrimming(format, StringTrimmingEllipsisCharacter);
  INT flags = 0;
  if (style & DT_NOCLIP) flags |= StringFormatFlagsNoClip;
  if (style & DT_SINGLELINE) flags |= kNoWrap;
  if (line_limit) flags |= StringFormatFlagsLineLimit;
  GdipSetStringFormatFlags(format, flags);
  if (style & DT_CENTER)
    GdipSetStringFormatAlign(format, StringAlignmentCenter);
  else if (style & DT_RIGHT)
    GdipSetStringFormatAlign(format, StringAlignmentFar);
  else
    GdipSetStringFormatAlign(format, StringAlignmentNear);
}

// Vertical alignment; a centred line of "新宋体" sits one pixel lower when there is room.
void ApplyVerticalAlignment(GpStringFormat* format, UINT style, const std::wstring& font_id,
                            RectF& layout) {
  if (style & DT_VCENTER) {
    GdipSetStringFormatLineAlign(format, StringAlignmentCenter);
    const FontInfo* font = GlobalManager::GetFont(font_id);
    if (font && font->face_name == L"新宋体" && layout.Height >= font->size + 2) layout.Y += 1.0f;
  } else if (style & DT_BOTTOM) {
    GdipSetStringFormatLineAlign(format, StringAlignmentFar);
  } else {
    GdipSetStringFormatLineAlign(format, StringAlignmentNear);
  }
}

}  // namespace

void RenderContext_GdiPlus::DrawText(const RECT& rect, const std::wstring& text, DWORD color,
                                     const std::wstring& font_id, UINT style, BYTE fade,
                                     bool line_limit) {
  if (text.empty()) return;
  GdiPlusGraphics graphics(dc_, false);
  FontForText font(dc_, font_id);
  RectF layout(static_cast<REAL>(rect.left), static_cast<REAL>(rect.top),
               static_cast<REAL>(rect.right - rect.left),
               static_cast<REAL>(rect.bottom - rect.top));
  DWORD alpha = static_cast<DWORD>(((color >> 24) / 255.0) * fade);
  if (alpha == 255) alpha = 254;
  GpSolidFill* brush = nullptr;
  GdipCreateSolidFill((alpha << 24) | (color & 0x00FFFFFF), &brush);
  TypographicFormat format;
  ApplyStyle(format.get(), style, line_limit);
  ApplyVerticalAlignment(format.get(), style, font_id, layout);
  GdipDrawString(graphics.get(), text.c_str(), static_cast<INT>(text.size()), font.get(), &layout,
                 format.get(), brush);
  if (brush) GdipDeleteBrush(brush);
}

RECT RenderContext_GdiPlus::MeasureText(const std::wstring& text, const std::wstring& font_id,
                                        UINT style, int width) {
  GdiPlusGraphics graphics(dc_, false);
  FontForText font(dc_, font_id);
  TypographicFormat format;
  GdipSetStringFormatFlags(format.get(), (style & DT_SINGLELINE) ? kNoWrap : 0);
  auto measure = [&](const std::wstring& what, const RectF& layout) {
    RectF bounds;
    GdipMeasureString(graphics.get(), what.c_str(), static_cast<INT>(what.size()), font.get(),
                      &layout, format.get(), &bounds, nullptr, nullptr);
    return bounds;
  };
  RectF layout(0, 0, 0, 0);
  if (width != -1) {
    // A single line is laid out in the height of a sample line of the font.
    auto sample_height = [&] { return measure(L"测试", RectF(0, 0, 0, 0)).Height; };
    const REAL height = (style & DT_SINGLELINE) ? font.LineHeight(sample_height) : 0;
    layout = RectF(0, 0, static_cast<REAL>(width), height);
  }
  const RectF bounds = measure(text, layout);
  return RECT{static_cast<LONG>(bounds.X), static_cast<LONG>(bounds.Y),
              static_cast<LONG>(bounds.X + bounds.Width + 1.0f),
              static_cast<LONG>(bounds.Y + bounds.Height + 1.0f)};
}

}  // namespace ui
