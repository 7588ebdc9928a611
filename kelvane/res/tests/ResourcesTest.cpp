// Kelvane's resources are in the program and load as the windows use them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resource.h"

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

TEST(KelvaneResources, IconsLoadAtTrayAndWindowSizes) {
  for (int id : {IDR_MAINFRAME, IDI_TRAY_ONLINE, IDI_TRAY_OFFLINE}) {
    for (int size : {16, 32}) {
      HANDLE icon = LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0);
      ASSERT_NE(icon, nullptr) << id << " at " << size;
      ICONINFO info{};
      ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
      BITMAP colour{};
      GetObjectW(info.hbmColor, sizeof colour, &colour);
      EXPECT_EQ(colour.bmWidth, size) << id;
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      DestroyIcon(static_cast<HICON>(icon));
    }
  }
}

TEST(KelvaneResources, ButtonBitmapsHoldFourStates) {
  for (int id : {IDB_CLOSE_BUTTON, IDB_MODE_BUTTON_AI, IDB_MODE_BUTTON}) {
    HBITMAP bitmap = LoadBitmapW(Module(), MAKEINTRESOURCEW(id));
    ASSERT_NE(bitmap, nullptr) << id;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 4 * info.bmHeight) << id;
    DeleteObject(bitmap);
  }
}

// Width and height from a PNG resource's header, found by name in any case.
SIZE PngSize(const wchar_t* name) {
  HRSRC found = FindResourceW(Module(), name, L"PNG");
  if (!found) return {0, 0};
  const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(Module(), found)));
  if (SizeofResource(Module(), found) < 24 || std::memcmp(bytes, "\x89PNG\r\n\x1a\n", 8) != 0)
    return {0, 0};
  auto be32 = [&](int at) {
    return LONG(bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3]);
  };
  return {be32(16), be32(20)};
}

TEST(KelvaneResources, PngImagesByNameWithoutRegardToCase) {
  const struct {
    const wchar_t* name;
    LONG width;
  } images[] = {
      {L"KELVANE_BG", 330},           {L"icon_imewidget", 40},
      {L"icon_imewidget_grey", 40},   {L"Icon_Translation", 40},
      {L"icon_translation_grey", 40}, {L"icon_network_connected", 12},
      {L"icon_network_disconnected", 12},
  };
  for (const auto& image : images) EXPECT_EQ(PngSize(image.name).cx, image.width) << image.name;
  EXPECT_EQ(PngSize(L"icon_missing").cx, 0);
}

TEST(KelvaneResources, TraceDialogTemplate) {
  EXPECT_NE(FindResourceW(Module(), MAKEINTRESOURCEW(IDD_TRACE_DIALOG), RT_DIALOG), nullptr);
}

}  // namespace
