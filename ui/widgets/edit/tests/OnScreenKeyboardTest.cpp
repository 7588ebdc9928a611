// The touch keyboard manager against a fake keyboard window of class "IPTip_Main_Window" and
// a fake "TabTip.exe" that leaves a marker file when started.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "widgets/edit/OnScreenKeyboardManager.h"

namespace ui {
namespace {

int g_close_requests = 0;

LRESULT CALLBACK FakeKeyboardProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_CLOSE) {
    ++g_close_requests;
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

// Runs this thread's messages (the manager's timer) for `ms`, or until `done` holds.
template <typename Done>
bool PumpUntil(int ms, Done done) {
  const DWORD end = GetTickCount() + ms;
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    Sleep(5);
  }
  return done();
}

std::wstring FakeTabTipPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring self(path, length);
  return self.substr(0, self.find_last_of(L'\\') + 1) + L"fake_tabtip.exe";
}

// Installs the fake program as `<common>\microsoft shared\ink\TabTip.exe`; returns the marker.
std::filesystem::path InstallFakeTabTip(const std::wstring& common) {
  const std::filesystem::path ink = std::filesystem::path(common) / L"microsoft shared" / L"ink";
  std::filesystem::create_directories(ink);
  std::filesystem::copy_file(FakeTabTipPath(), ink / L"TabTip.exe",
                             std::filesystem::copy_options::overwrite_existing);
  std::filesystem::remove(ink / L"started.txt");
  return ink / L"started.txt";
}

class FakeKeyboardWindow {
 public:
  FakeKeyboardWindow() {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = FakeKeyboardProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"IPTip_Main_Window";
    RegisterClassW(&window_class);
    hwnd_ = CreateWindowExW(0, L"IPTip_Main_Window", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~FakeKeyboardWindow() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

TEST(OnScreenKeyboard, HidesAVisibleKeyboardAndLeavesItWhenWanted) {
  FakeKeyboardWindow keyboard;
  ASSERT_NE(keyboard.hwnd(), nullptr);
  g_close_requests = 0;
  auto* manager = OnScreenKeyboardManager::GetInstance();
  manager->ShowOSK(true);  // already shown: left alone
  PumpUntil(150, [] { return false; });
  EXPECT_EQ(g_close_requests, 0);
  manager->ShowOSK(false);
  EXPECT_TRUE(PumpUntil(2000, [] { return g_close_requests == 1; }));
  // A disabled keyboard counts as hidden: nothing to close.
  EnableWindow(keyboard.hwnd(), FALSE);
  manager->ShowOSK(false);
  PumpUntil(150, [] { return false; });
  EXPECT_EQ(g_close_requests, 1);
}

TEST(OnScreenKeyboard, StartsTabTipFromTheCommonProgramFolder) {
  TempFolder folder;
  const std::filesystem::path marker = InstallFakeTabTip(folder.path());
  SetEnvironmentVariableW(L"CommonProgramW6432", folder.path().c_str());
  OnScreenKeyboardManager::GetInstance()->ShowOSK(true);
  EXPECT_TRUE(PumpUntil(10000, [&] { return std::filesystem::exists(marker); }));
  SetEnvironmentVariableW(L"CommonProgramW6432", nullptr);
}

TEST(OnScreenKeyboard, FallsBackToTheFixedPathWithoutTheVariable) {
  SetEnvironmentVariableW(L"CommonProgramW6432", nullptr);
  const std::filesystem::path marker =
      InstallFakeTabTip(L"C:\\Program Files\\Common Files");
  OnScreenKeyboardManager::GetInstance()->ShowOSK(true);
  EXPECT_TRUE(PumpUntil(10000, [&] { return std::filesystem::exists(marker); }));
  std::error_code ignored;
  std::filesystem::remove_all(L"C:\\Program Files\\Common Files\\microsoft shared\\ink", ignored);
}

TEST(OnScreenKeyboard, HidingAHiddenKeyboardDoesNothing) {
  TempFolder folder;
  const std::filesystem::path marker = InstallFakeTabTip(folder.path());
  SetEnvironmentVariableW(L"CommonProgramW6432", folder.path().c_str());
  OnScreenKeyboardManager::GetInstance()->ShowOSK(false);
  PumpUntil(300, [] { return false; });
  EXPECT_FALSE(std::filesystem::exists(marker));
  SetEnvironmentVariableW(L"CommonProgramW6432", nullptr);
}

}  // namespace
}  // namespace ui
