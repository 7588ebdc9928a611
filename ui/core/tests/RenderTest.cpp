// Off-screen drawing on the DIB surface: fills, lines, nine-grid and tiling, clips, fades.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "render/AutoClip.h"
#include "render/FontFileFamily.h"
#include "render/GdiBitmap.h"
#include "RenderTestSupport.h"
#include "TestImages.h"
#include "resources/FontInfo.h"

namespace ui {
namespace {

constexpr DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;
constexpr DWORD kYellow = 0xFFFFFF00, kCyan = 0xFF00FFFF, kMagenta = 0xFFFF00FF;
constexpr DWORD kGrey = 0xFF808080, kBlack = 0xFF000000;

using RenderLayer = FrameworkStarted;

bool Near(DWORD pixel, DWORD rgb, int tolerance = 3) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((pixel >> shift) & 0xff) -
                 static_cast<int>((rgb >> shift) & 0xff)) > tolerance)
      return false;
  }
  return true;
}

// 9x9 image: 3-pixel corners and edges in distinct colours, a white middle.
std::string NineGridPng() {
  const DWORD cells[3][3] = {
      {kRed, kGreen, kBlue}, {kYellow, kWhite, kCyan}, {kMagenta, kGrey, kBlack}};
  std::vector<uint32_t> pixels;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) pixels.push_back(cells[y / 3][x / 3]);
  return MakePng(9, 9, pixels);
}

TEST_F(RenderLayer, ResizeToSameSizeKeepsPixels) {
  auto surface = Surface(8, 8);
  surface->DrawColor(RECT{0, 0, 8, 8}, kRed);
  EXPECT_FALSE(surface->Resize(8, 8));
  EXPECT_TRUE(Near(PixelAt(surface.get(), 3, 3), 0xFF0000));
  EXPECT_TRUE(surface->Resize(4, 4));
  EXPECT_EQ(surface->GetWidth(), 4);
  EXPECT_FALSE(surface->Resize(0, 4));
}

TEST_F(RenderLayer, FillsWithColourAndAlpha) {
  auto surface = Surface(40, 10);
  surface->DrawColor(RECT{0, 0, 40, 10}, kWhite);
  surface->DrawColor(RECT{0, 0, 10, 10}, kBlue, 255);
  surface->DrawColor(RECT{10, 0, 20, 10}, kBlack, 128);
  surface->DrawColor(RECT{20, 0, 30, 10}, kBlack, 0);
  surface->DrawColor(RECT{30, 0, 40, 10}, L"never_registered");
  EXPECT_TRUE(Near(PixelAt(surface.get(), 5, 5), 0x0000FF, 0));
  EXPECT_TRUE(Near(PixelAt(surface.get(), 15, 5), 0x7F7F7F, 2));
  EXPECT_TRUE(Near(PixelAt(surface.get(), 25, 5), 0xFFFFFF, 0));
  EXPECT_TRUE(Near(PixelAt(surface.get(), 35, 5), 0xFFFFFF, 0));
  GlobalManager::AddTextColor(L"render_test_red", L"#ffff0000");
  surface->DrawColor(RECT{30, 0, 40, 10}, L"render_test_red");
  EXPECT_TRUE(Near(PixelAt(surface.get(), 35, 5), 0xFF0000, 0));
}

TEST_F(RenderLayer, DrawsLinesAndRectangleOutlines) {
  auto surface = Surface(20, 20);
  surface->DrawLine(RECT{0, 5, 19, 5}, 1, kRed);
  surface->DrawRect(RECT{2, 10, 17, 18}, 1, kGreen);
  EXPECT_TRUE(Near(PixelAt(surface.get(), 10, 5), 0xFF0000, 60));
  EXPECT_EQ(Rgb(PixelAt(surface.get(), 10, 8)), 0u);
  EXPECT_TRUE(Near(PixelAt(surface.get(), 2, 14), 0x00FF00, 60));
  EXPECT_EQ(Rgb(PixelAt(surface.get(), 9, 14)), 0u);
}

TEST_F(RenderLayer, NineGridKeepsCornersAndStretchesTheRest) {
  auto image = DecodeBytes(NineGridPng(), L"nine.png");
  ASSERT_NE(image, nullptr);
  const RECT source = {0, 0, 9, 9};
  struct Case {
    RECT corners;
    POINT at;
    DWORD expected;
  } cases[] = {
      {{3, 3, 3, 3}, {1, 1}, 0xFF0000},   {{3, 3, 3, 3}, {15, 1}, 0x00FF00},
      {{3, 3, 3, 3}, {28, 1}, 0x0000FF},  {{3, 3, 3, 3}, {1, 15}, 0xFFFF00},
      {{3, 3, 3, 3}, {15, 15}, 0xFFFFFF}, {{3, 3, 3, 3}, {28, 28}, 0x000000},
      {{0, 0, 0, 0}, {15, 15}, 0xFFFFFF}, {{0, 0, 0, 0}, {1, 1}, 0xFF0000},
      {{0, 3, 3, 3}, {1, 15}, 0xFFFF00},  // left pieces skipped: the middle starts at the edge
  };
  for (const Case& c : cases) {
    auto surface = Surface(30, 30);
    surface->DrawColor(RECT{0, 0, 30, 30}, 0xFF123456);
    const RECT all = {0, 0, 30, 30};
    surface->DrawImage(all, image->frames[0], image->alpha, all, source, c.corners);
    EXPECT_TRUE(Near(PixelAt(surface.get(), c.at.x, c.at.y), c.expected, 8))
        << c.corners.left << "," << c.corners.top << " at " << c.at.x << "," << c.at.y;
  }
}

TEST_F(RenderLayer, TilesWithoutStretching) {
  std::vector<uint32_t> columns;
  for (int x = 0; x < 10; ++x) columns.push_back(0xFF000000 | (x * 20) << 16);
  auto image = DecodeBytes(MakePng(10, 1, columns), L"tile.png");
  ASSERT_NE(image, nullptr);
  auto surface = Surface(25, 1);
  const RECT dest = {0, 0, 25, 1};
  surface->DrawImage(dest, image->frames[0], false, dest, RECT{0, 0, 10, 1}, RECT{0, 0, 0, 0}, 255,
                     true, false);
  for (int x = 0; x < 25; ++x)
    EXPECT_TRUE(Near(PixelAt(surface.get(), x, 0), (x % 10) * 20 << 16, 2)) << x;
}

TEST_F(RenderLayer, FadesImagesAndBlendsAlpha) {
  auto opaque = DecodeBytes(MakePng(1, 1, {kWhite}), L"white.png");
  auto translucent = DecodeBytes(MakePng(1, 1, {0x80FF0000}), L"half_red.png");
  ASSERT_NE(opaque, nullptr);
  ASSERT_NE(translucent, nullptr);
  EXPECT_FALSE(opaque->alpha);
  EXPECT_TRUE(translucent->alpha);
  auto surface = Surface(20, 10);
  surface->DrawColor(RECT{0, 0, 20, 10}, kBlack);
  const RECT one = {0, 0, 1, 1};
  surface->DrawImage(RECT{0, 0, 20, 10}, opaque->frames[0], false, RECT{0, 0, 10, 10}, one,
                     RECT{0, 0, 0, 0}, 128);
  surface->DrawImage(RECT{0, 0, 20, 10}, translucent->frames[0], true, RECT{10, 0, 20, 10}, one,
                     RECT{0, 0, 0, 0});
  EXPECT_TRUE(Near(PixelAt(surface.get(), 5, 5), 0x808080, 3));
  EXPECT_TRUE(Near(PixelAt(surface.get(), 15, 5), 0x800000, 3));
}

TEST_F(RenderLayer, ClipsNestAndUndoInReverse) {
  auto surface = Surface(30, 30);
  const RECT all = {0, 0, 30, 30};
  {
    AutoClip outer(surface.get(), RECT{0, 0, 10, 10});
    {
      AutoClip inner(surface.get(), RECT{5, 5, 20, 20});
      surface->DrawColor(all, kRed);
    }
    surface->DrawColor(all, kGreen);
    EXPECT_TRUE(Near(PixelAt(surface.get(), 7, 7), 0x00FF00, 0));
  }
  EXPECT_TRUE(Near(PixelAt(surface.get(), 12, 12), 0x000000, 0));  // outside both clips
  surface->DrawColor(all, kBlue);
  EXPECT_TRUE(Near(PixelAt(surface.get(), 25, 25), 0x0000FF, 0));

  auto nested = Surface(30, 30);
  nested->SetClip(RECT{0, 0, 10, 10});
  nested->SetClip(RECT{5, 5, 20, 20});
  nested->DrawColor(all, kRed);
  EXPECT_TRUE(Near(PixelAt(nested.get(), 7, 7), 0xFF0000, 0));
  EXPECT_EQ(Rgb(PixelAt(nested.get(), 3, 3)), 0u);
  EXPECT_EQ(Rgb(PixelAt(nested.get(), 15, 15)), 0u);
  nested->ClearClip();
  nested->ClearClip();
}

// Opaque fills and one-pixel outlines skip GDI+ and write the pixels themselves: they must
// cover exactly the pixels GDI+ covers (drawing in alpha 254 here) under every kind of clip and
// a moved origin.
TEST_F(RenderLayer, OpaqueFillsAndOutlinesCoverWhatGdiPlusCovers) {
  struct Case {
    const char* clip;
    POINT origin;
  } cases[] = {{"none", {0, 0}}, {"rect", {0, 0}}, {"round", {0, 0}},
               {"round", {5, 3}}, {"nested", {-4, 2}}, {"empty", {0, 0}}};
  for (const Case& c : cases) {
    auto fast = Surface(40, 30);
    auto reference = Surface(40, 30);
    for (IRenderContext* surface : {fast.get(), reference.get()}) {
      surface->OffsetWindowOrg(c.origin);
      const std::string clip = c.clip;
      if (clip == "rect") surface->SetClip(RECT{3, 4, 30, 20});
      if (clip == "round") surface->SetRoundClip(RECT{2, 2, 36, 26}, 12, 12);
      if (clip == "nested") {
        surface->SetRoundClip(RECT{0, 0, 30, 30}, 10, 10);
        surface->SetClip(RECT{6, 1, 40, 25});
      }
      if (clip == "empty") surface->SetClip(RECT{10, 10, 10, 20});
    }
    const RECT fill = {-5, 1, 33, 28};
    fast->DrawColor(fill, 0xFF3366CC);
    reference->DrawColor(fill, 0xFE3366CC);
    for (const RECT& outline : {RECT{4, 3, 25, 22}, RECT{8, 8, 8, 15}, RECT{30, 5, 50, 5}}) {
      fast->DrawRect(outline, 1, 0xFFCC3300);
      reference->DrawRect(outline, 1, 0xFECC3300);
    }
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x)
        ASSERT_TRUE(Near(PixelAt(fast.get(), x, y), PixelAt(reference.get(), x, y), 2))
            << c.clip << " at " << x << "," << y;
    EXPECT_EQ(Rgb(PixelAt(fast.get(), 14, 12)), std::string(c.clip) == "empty" ? 0u : 0x3366CCu)
        << c.clip;
  }
}

// A one-pixel opaque round rectangle is drawn side by side and corner by corner: it must cover
// what GDI+ covers drawing the whole outline, for every rounding, under clips and a moved origin.
TEST_F(RenderLayer, RoundRectByCornersMatchesTheWholeOutline) {
  struct Case {
    RECT rect;
    SIZE round;
    const char* clip;
    POINT origin;
  } cases[] = {{{4, 3, 45, 30}, {3, 3}, "none", {0, 0}},
               {{4, 3, 45, 30}, {6, 6}, "none", {0, 0}},
               {{2, 5, 40, 28}, {8, 4}, "rect", {0, 0}},
               {{4, 3, 45, 30}, {5, 5}, "round", {3, -2}},
               {{-6, -4, 30, 26}, {4, 4}, "none", {2, 1}},
               {{4, 3, 45, 30}, {0, 0}, "none", {0, 0}},
               {{4, 3, 16, 14}, {3, 3}, "none", {0, 0}}};
  for (const Case& c : cases) {
    auto fast = Surface(50, 36);
    auto reference = Surface(50, 36);
    for (IRenderContext* surface : {fast.get(), reference.get()}) {
      surface->DrawColor(RECT{0, 0, 50, 36}, 0xFF202830);
      surface->OffsetWindowOrg(c.origin);
      const std::string clip = c.clip;
      if (clip == "rect") surface->SetClip(RECT{0, 8, 30, 36});
      if (clip == "round") surface->SetRoundClip(RECT{1, 1, 44, 33}, 14, 14);
    }
    fast->DrawRoundRect(c.rect, c.round, 1, 0xFFCC8844);
    const LONG l = c.rect.left, t = c.rect.top, r = c.rect.right, b = c.rect.bottom;
    const int cx = c.round.cx, cy = c.round.cy;
    std::unique_ptr<IPath> path(GlobalManager::GetRenderFactory()->CreatePath());
    path->AddArc(l, t, cx, cy, 180, 90);
    path->AddLine(l + cx, t, r - cx, t);
    path->AddArc(r - cx, t, cx, cy, 270, 90);
    path->AddLine(r, t + cy, r, b - cy);
    path->AddArc(r - cx, b - cy, cx, cy, 0, 90);
    path->AddLine(r - cx, b, l + cx, b);
    path->AddArc(l, b - cy, cx, cy, 90, 90);
    path->AddLine(l, b - cy, l, t + cy);
    path->CloseFigure();
    std::unique_ptr<IPen> pen(GlobalManager::GetRenderFactory()->CreatePen(0xFFCC8844, 1));
    reference->DrawPath(path.get(), pen.get());
    for (int y = 0; y < 36; ++y)
      for (int x = 0; x < 50; ++x)
        ASSERT_EQ(PixelAt(fast.get(), x, y), PixelAt(reference.get(), x, y))
            << c.clip << " " << cx << "x" << cy << " at " << x << "," << y;
  }
}

TEST_F(RenderLayer, ClearsAndRestoresAlphaOutsideShadowCorners) {
  auto surface = Surface(10, 10);
  surface->DrawColor(RECT{0, 0, 10, 10}, kWhite);
  const RECT all = {0, 0, 10, 10};
  surface->ClearAlpha(all, 7);
  EXPECT_EQ(PixelAt(surface.get(), 4, 4), 0x07070707u);
  surface->RestoreAlpha(all, RECT{2, 2, 2, 2}, 0);
  EXPECT_EQ(PixelAt(surface.get(), 4, 4) >> 24, 255u);
  EXPECT_EQ(PixelAt(surface.get(), 1, 4) >> 24, 255u);  // inside a row band
  EXPECT_EQ(PixelAt(surface.get(), 1, 1) >> 24, 7u);    // shadow corner untouched
}

TEST_F(RenderLayer, PathsShapesAndMatrices) {
  IRenderFactory* factory = GlobalManager::GetRenderFactory();
  std::unique_ptr<IPath> path(factory->CreatePath());
  path->AddRect(RECT{2, 2, 12, 8});
  EXPECT_TRUE(path->IsContainsPoint(5, 5));
  EXPECT_FALSE(path->IsContainsPoint(15, 5));
  std::unique_ptr<IMatrix> matrix(factory->CreateMatrix());
  matrix->Translate(10, 20);
  std::unique_ptr<IPath> moved(path->Clone());
  moved->Transform(matrix.get());
  const RECT bounds = moved->GetBounds(nullptr);
  const RECT expected = {12, 22, 22, 28};
  EXPECT_TRUE(EqualRect(&bounds, &expected));

  auto surface = Surface(40, 40);
  std::unique_ptr<IBrush> brush(factory->CreateBrush(kRed));
  surface->FillPath(path.get(), brush.get());
  surface->FillEllipse(RECT{20, 0, 40, 20}, kGreen);
  surface->DrawRoundRect(RECT{2, 22, 30, 38}, SIZE{6, 6}, 1, kBlue);
  EXPECT_TRUE(Near(PixelAt(surface.get(), 6, 5), 0xFF0000, 0));
  EXPECT_TRUE(Near(PixelAt(surface.get(), 30, 10), 0x00FF00, 0));
  EXPECT_EQ(Rgb(PixelAt(surface.get(), 21, 1)), 0u);                // outside the ellipse
  EXPECT_TRUE(Near(PixelAt(surface.get(), 16, 22), 0x0000FF, 90));  // top edge of the outline
  EXPECT_EQ(Rgb(PixelAt(surface.get(), 16, 30)), 0u);
}

TEST_F(RenderLayer, MissingOrForeignPensBrushesAndPathsDrawNothing) {
  struct ForeignBrush : IBrush {
    ForeignBrush() : IBrush(kRed) {}
    IBrush* Clone() override { return nullptr; }
  } foreign;
  IRenderFactory* factory = GlobalManager::GetRenderFactory();
  std::unique_ptr<IPath> path(factory->CreatePath());
  path->AddRect(RECT{0, 0, 10, 10});
  std::unique_ptr<IPen> pen(factory->CreatePen(kRed, 3));
  std::unique_ptr<IBrush> brush(factory->CreateBrush(kRed));
  auto surface = Surface(10, 10);
  surface->DrawLine(nullptr, 0, 5, 10, 5);
  surface->DrawBezier(nullptr, 0, 0, 3, 3, 6, 6, 9, 9);
  surface->DrawPath(path.get(), nullptr);
  surface->DrawPath(nullptr, pen.get());
  surface->FillPath(path.get(), nullptr);
  surface->FillPath(path.get(), &foreign);
  surface->FillPath(nullptr, brush.get());
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(PixelAt(surface.get(), x, y), 0u) << x << "," << y;
}

TEST_F(RenderLayer, BitmapRefusesImagesWhoseByteSizeOverflowsInt) {
  HDC dc = CreateCompatibleDC(nullptr);
  GdiBitmap bitmap;
  // 23171 x 23171 x 4 bytes is just above INT_MAX; 65536 x 65536 x 4 wraps to 0 in 32 bits.
  EXPECT_FALSE(bitmap.Init(dc, 23171, 23171, true));
  EXPECT_FALSE(bitmap.Init(dc, 65536, 65536, true));
  EXPECT_EQ(bitmap.GetBits(), nullptr);
  EXPECT_TRUE(bitmap.Init(dc, 16, 8, true));
  EXPECT_EQ(bitmap.GetWidth(), 16);
  DeleteDC(dc);
}

TEST_F(RenderLayer, MeasuresTextOnePixelLarger) {
  ASSERT_NE(GlobalManager::AddFont(L"measure", L"arial", 16, false, false, false, false), nullptr);
  auto surface = Surface(10, 10);
  const RECT wide = surface->MeasureText(L"Measure me", L"measure", DT_SINGLELINE);
  const RECT narrow = surface->MeasureText(L"Measure me", L"measure", 0, 30);
  EXPECT_GT(wide.right, 40);
  EXPECT_LT(wide.bottom - wide.top, 40);
  EXPECT_GT(narrow.bottom - narrow.top, wide.bottom - wide.top);  // wrapped onto more lines
}

// A registered font keeps the GDI+ font it draws with and the height of its line: registered
// again under the same id after a restart of the framework, it measures with its new size.
TEST_F(RenderLayer, AFontRegisteredAgainMeasuresWithItsNewSize) {
  auto measure = [this] {
    auto surface = Surface(10, 10);
    const RECT free = surface->MeasureText(L"Measure me", L"again", DT_SINGLELINE);
    const RECT in_width = surface->MeasureText(L"Measure me", L"again", DT_SINGLELINE, 300);
    const RECT again = surface->MeasureText(L"Measure me", L"again", DT_SINGLELINE, 300);
    EXPECT_EQ(again.bottom, in_width.bottom);
    EXPECT_EQ(in_width.bottom - in_width.top, free.bottom - free.top);
    return in_width;
  };
  ASSERT_NE(GlobalManager::AddFont(L"again", L"arial", 12, false, false, false, false), nullptr);
  const RECT small = measure();
  GlobalManager::Shutdown();
  GlobalManager::Startup(L"", nullptr, L"", L"");
  ASSERT_NE(GlobalManager::AddFont(L"again", L"arial", 24, false, false, false, false), nullptr);
  const RECT large = measure();
  EXPECT_GT(large.bottom - large.top, small.bottom - small.top + 6);
  EXPECT_GT(large.right - large.left, small.right - small.left + 20);
}

// Controls save and restore inside the window's own save: each restore must undo its own
// clip only, or clips pile up until nothing can be drawn.
TEST_F(RenderLayer, NestedSavesRestoreTheirOwnClips) {
  auto surface = Surface(40, 40);
  surface->Save();
  surface->SetClip(RECT{0, 0, 10, 10});
  surface->Save();
  surface->SetClip(RECT{2, 2, 5, 5});
  surface->Restore();
  surface->Restore();
  surface->DrawColor(RECT{0, 0, 40, 40}, 0xff102030, 255);
  EXPECT_EQ(GetPixel(surface->GetDC(), 30, 30), RGB(0x10, 0x20, 0x30));
}

// "微软雅黑" is a face that GDI substitutes here (the test prefix's font replacements); GDI+
// knows it only by the family of the font file behind it, and must not be handed a freed font.
TEST_F(RenderLayer, ASubstitutedFaceMeasuresAndDrawsThroughItsFontFile) {
  ASSERT_NE(GlobalManager::AddFont(L"substituted", L"微软雅黑", 16, false, false, false, false), nullptr);
  FontInfo* font = GlobalManager::GetFont(L"substituted");
  ASSERT_NE(font, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_FALSE(FontFileFamilyName(dc, font->handle).empty());
  DeleteDC(dc);

  auto surface = Surface(10, 10);
  const RECT bounds = surface->MeasureText(L"确定", L"substituted", DT_SINGLELINE);
  EXPECT_GT(bounds.right - bounds.left, 16);
  EXPECT_GT(bounds.bottom - bounds.top, 10);
}

}  // namespace
}  // namespace ui
