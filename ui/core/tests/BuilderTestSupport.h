// Shared pieces of the window-builder tests: a control that counts its live instances, a
// fixture whose skin files come from a fresh folder, and hostile class chains.
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

// `Class` elements c0 .. c<links - 1>, each naming the next one `names` times; the last one
// sets the width to 7.
inline std::wstring ClassChain(int links, int names) {
  std::wstring classes;
  for (int i = 0; i < links; ++i) {
    std::wstring value;
    for (int n = 0; n < names && i + 1 < links; ++n)
      value += (n ? L" c" : L"c") + std::to_wstring(i + 1);
    value = i + 1 < links ? L"class=&quot;" + value + L"&quot;" : L"width=&quot;7&quot;";
    classes += L"<Class name=\"c" + std::to_wstring(i) + L"\" value=\"" + value + L"\"/>";
  }
  return classes;
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
