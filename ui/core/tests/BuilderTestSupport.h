// Shared pieces of the window-builder tests: a control that counts its live instances, and a
// fixture whose skin files come from a fresh folder.
#pragma once

#include <string>

#include "FileBytes.h"
#include "RenderTestSupport.h"
#include "TempFolder.h"
#include "control/Control.h"
#include "resources/GlobalManager.h"

namespace ui {

class Counted : public Control {
 public:
  Counted() { ++live; }
  ~Counted() override { --live; }
  static inline int live = 0;
};

// The builder's callback for the "Counted" tag.
inline Control* MakeCounted(const std::wstring& tag) {
  return tag == L"Counted" ? new Counted() : nullptr;
}

class SkinFolderTest : public FrameworkStarted {
 protected:
  void SetUp() override {
    FrameworkStarted::SetUp();
    GlobalManager::SetResourcePath(folder_.path());
  }
  void TearDown() override {
    GlobalManager::SetResourcePath(L"");
    FrameworkStarted::TearDown();
  }
  void Write(const wchar_t* name, const std::string& text) { WriteBytes(folder_.File(name), text); }

  TempFolder folder_;
};

}  // namespace ui
