// Run under a Western ANSI code page (1252): a Chinese face name still reaches the font, so a
// Chinese character draws as its glyph, not as the missing-glyph box.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "RenderTestSupport.h"

namespace ui {
namespace {

using TextCodePage = FrameworkStarted;

std::vector<DWORD> Render(IRenderContext* surface, const std::wstring& text) {
  surface->Clear();
  surface->DrawText(RECT{0, 0, 48, 48}, text, 0xFFFFFFFF, L"chinese_face", DT_SINGLELINE);
  std::vector<DWORD> pixels;
  for (int i = 0; i < 48 * 48; ++i) pixels.push_back(Rgb(PixelAt(surface, i % 48, i / 48)));
  return pixels;
}

TEST_F(TextCodePage, ChineseFaceDrawsGlyphsNotBoxes) {
  ASSERT_NE(GetACP(), 936u) << "the test must run with a Western locale";
  ASSERT_NE(GlobalManager::AddFont(L"chinese_face", L"微软雅黑", 32, false, false, false, false),
            nullptr);
  auto surface = Surface(48, 48);
  const std::vector<DWORD> chinese = Render(surface.get(), L"汉");
  const std::vector<DWORD> missing = Render(surface.get(), L"\uE000");  // no glyph anywhere
  EXPECT_NE(chinese, std::vector<DWORD>(chinese.size(), 0u)) << "nothing drawn";
  EXPECT_NE(chinese, missing) << "drawn as a missing glyph";
}

}  // namespace
}  // namespace ui
