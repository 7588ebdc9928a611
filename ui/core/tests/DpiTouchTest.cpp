// DPI scaling of skin sizes and the run-time touch and pointer functions.
#include <gtest/gtest.h>
#include <windows.h>

#include "system/DpiManager.h"
#include "system/TouchInput.h"

namespace ui {
namespace {

class DpiScale : public testing::Test {
 protected:
  void TearDown() override {
    DpiManager::GetInstance()->SetAdaptDPI(false);
    DpiManager::GetInstance()->SetScale(100);
  }
};

TEST_F(DpiScale, UnawareProcessKeepsSizes) {
  DpiManager* dpi = DpiManager::GetInstance();
  dpi->SetScale(150);
  RECT rect = {10, 10, 30, 20};
  dpi->ScaleRect(rect);
  EXPECT_EQ(rect.right, 30);
  EXPECT_EQ(dpi->ScaleInt(40), 40);
  dpi->OnDpiChanged(MAKEWPARAM(192, 192));
  EXPECT_EQ(dpi->GetScale(), 150);
}

TEST_F(DpiScale, AwareProcessScalesPositionAndSizeApart) {
  DpiManager* dpi = DpiManager::GetInstance();
  dpi->SetAdaptDPI(true);
  dpi->OnDpiChanged(MAKEWPARAM(144, 144));
  EXPECT_EQ(dpi->GetScale(), 150);
  RECT rect = {10, 10, 30, 20};
  dpi->ScaleRect(rect);
  EXPECT_EQ(rect.left, 15);
  EXPECT_EQ(rect.top, 15);
  EXPECT_EQ(rect.right, 45);
  EXPECT_EQ(rect.bottom, 30);
  RECT odd = {1, 1, 2, 2};  // keeps its scaled size wherever it lies
  dpi->ScaleRect(odd);
  EXPECT_EQ(odd.right - odd.left, 2);
  SIZE size = {100, 7};
  dpi->ScaleSize(size);
  EXPECT_EQ(size.cx, 150);
  EXPECT_EQ(size.cy, 11);
}

// Restores the touch table after a test replaced entries.
class TouchTable : public testing::Test {
 protected:
  void SetUp() override { saved_ = GetTouchFunctions(); }
  void TearDown() override { GetTouchFunctions() = saved_; }
  TouchFunctions saved_;
};

TEST_F(TouchTable, MissingFunctionsReportFalse) {
  GetTouchFunctions() = TouchFunctions();
  POINTER_INPUT_TYPE type = PT_POINTER;
  POINTER_PEN_INFO pen = {};
  EXPECT_FALSE(RegisterTouchWindowWrapper(nullptr));
  EXPECT_FALSE(UnregisterTouchWindowWrapper(nullptr));
  EXPECT_FALSE(GetTouchInputInfoWrapper(nullptr, 0, nullptr));
  EXPECT_FALSE(CloseTouchInputHandleWrapper(nullptr));
  EXPECT_FALSE(GetPointerTypeWrapper(1, &type));
  EXPECT_FALSE(GetPointerPenInfoWrapper(1, &pen));
}

TEST_F(TouchTable, WrappersPassRecordSizeAndRequireOne) {
  static int record_size = 0;
  GetTouchFunctions().get_touch_input_info = [](HTOUCHINPUT, UINT, PTOUCHINPUT, int size) -> BOOL {
    record_size = size;
    return 1;
  };
  GetTouchFunctions().register_touch_window = [](HWND, ULONG) -> BOOL { return 2; };
  EXPECT_TRUE(GetTouchInputInfoWrapper(nullptr, 1, nullptr));
  EXPECT_EQ(record_size, 48);
  EXPECT_FALSE(RegisterTouchWindowWrapper(nullptr));
}

TEST(TouchLookup, ResolvesEachFunctionByItsUser32Name) {
  // Wine lacks some of these (GetPointerPenInfo among them).
  HMODULE user32 = GetModuleHandleA("user32.dll");
  const TouchFunctions& table = GetTouchFunctions();
  const std::pair<const char*, const void*> entries[] = {
      {"RegisterTouchWindow", reinterpret_cast<const void*>(table.register_touch_window)},
      {"UnregisterTouchWindow", reinterpret_cast<const void*>(table.unregister_touch_window)},
      {"GetTouchInputInfo", reinterpret_cast<const void*>(table.get_touch_input_info)},
      {"CloseTouchInputHandle", reinterpret_cast<const void*>(table.close_touch_input_handle)},
      {"GetPointerType", reinterpret_cast<const void*>(table.get_pointer_type)},
      {"GetPointerTouchInfo", reinterpret_cast<const void*>(table.get_pointer_touch_info)},
      {"GetPointerPenInfo", reinterpret_cast<const void*>(table.get_pointer_pen_info)},
  };
  for (const auto& [name, resolved] : entries)
    EXPECT_EQ(resolved, reinterpret_cast<const void*>(GetProcAddress(user32, name))) << name;
}

}  // namespace
}  // namespace ui
