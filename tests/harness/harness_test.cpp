// Proves that the tests run real Windows code: a window on the run's display, a
// message through its procedure, the Chinese code page and the Microsoft %s meaning.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

constexpr UINT kPing = WM_USER + 42;

LRESULT CALLBACK PingProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == kPing) return static_cast<LRESULT>(wparam * 2);
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

TEST(Harness, WindowReceivesSentAndPostedMessages) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HarnessPingWindow";
  ASSERT_NE(RegisterClassW(&wc), 0);

  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"标题", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                              nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(SendMessageW(hwnd, kPing, 21, 0), 42);

  ASSERT_TRUE(PostMessageW(hwnd, kPing, 1, 0));
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, hwnd, kPing, kPing, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 1u);

  wchar_t title[16]{};
  GetWindowTextW(hwnd, title, 16);
  EXPECT_STREQ(title, L"标题");
  EXPECT_TRUE(DestroyWindow(hwnd));
}

TEST(Harness, PrefixIsChineseWindows10) {
  EXPECT_EQ(GetACP(), 936u);
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtl_get_version = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtl_get_version, nullptr);
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_EQ(rtl_get_version(&version), 0);
  EXPECT_EQ(version.dwMajorVersion, 10u);
}

TEST(Harness, ChineseFaceNamesHaveChineseGlyphs) {
  HDC dc = CreateCompatibleDC(nullptr);
  for (const wchar_t* face : {L"微软雅黑", L"Microsoft YaHei", L"宋体", L"SimSun"}) {
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                             0, face);
    HGDIOBJ old = SelectObject(dc, font);
    WORD glyph = 0;
    EXPECT_EQ(GetGlyphIndicesW(dc, L"中", 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS), 1u);
    EXPECT_NE(glyph, 0xFFFF) << face;
    SelectObject(dc, old);
    DeleteObject(font);
  }
  DeleteDC(dc);
}

TEST(Harness, WideFormatReadsPercentSAsWide) {
  wchar_t buffer[32];
  _snwprintf(buffer, 32, L"%s-%d", L"键", 7);
  EXPECT_STREQ(buffer, L"键-7");
}

}  // namespace
