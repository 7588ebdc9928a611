// Helpers of the render and image tests: GDI+ started, surfaces and decoded test images.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "resources/GlobalManager.h"
#include "image/ImageInfo.h"
#include "render/RenderInterfaces.h"

namespace ui {

// The framework started without a skin, so that GDI+ and the render factory are there.
class FrameworkStarted : public testing::Test {
 protected:
  void SetUp() override { GlobalManager::Startup(L"", nullptr, L"", L""); }
  void TearDown() override { GlobalManager::Shutdown(); }

  std::unique_ptr<IRenderContext> Surface(int width, int height) {
    std::unique_ptr<IRenderContext> context;
    GlobalManager::CreateRenderContext(context);
    context->Resize(width, height);
    context->Clear();
    return context;
  }
};

inline DWORD PixelAt(IRenderContext* context, int x, int y) {
  return reinterpret_cast<const DWORD*>(context->GetBits())[y * context->GetWidth() + x];
}

inline DWORD Rgb(DWORD pixel) { return pixel & 0x00FFFFFF; }

// A movable global block holding `bytes`, as the archive hands out entries.
inline HGLOBAL BlockOf(const std::string& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}

inline std::unique_ptr<ImageInfo> DecodeBytes(const std::string& bytes, const wchar_t* path) {
  return ImageInfo::LoadImage(BlockOf(bytes), path);
}

}  // namespace ui
