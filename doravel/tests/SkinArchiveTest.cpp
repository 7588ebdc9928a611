// The skin archive embedded in the program: its resource, its entries and what the
// framework reads from it.
#include "SkinArchive.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FileBytes.h"
#include "TempFolder.h"
#include "archive/ZipApi.h"
#include "resources/GlobalManager.h"
#include "resources/LanguageTable.h"

namespace {

std::string EntryBytes(const std::wstring& path) {
  HGLOBAL block = ui::GlobalManager::GetZipData(path);
  if (!block) return std::string();
  const std::string bytes(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
  GlobalUnlock(block);
  GlobalFree(block);
  return bytes;
}

TEST(SkinArchive, IsResourceTheme129InSimplifiedChinese) {
  EXPECT_NE(FindResourceExW(nullptr, L"THEME", MAKEINTRESOURCEW(129), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)),
            nullptr);
}

TEST(SkinArchive, HoldsTheSkinAndLanguageFilesInTheirFormats) {
  ASSERT_TRUE(OpenSkinArchive());
  ASSERT_TRUE(OpenSkinArchive()) << "a second open replaces the first";
  const wchar_t* xml_files[] = {L"resources\\themes\\default\\global.xml",
                                L"resources\\themes\\default\\controls\\controls.xml",
                                L"resources\\themes\\default\\msgbox\\msgbox.xml"};
  for (const wchar_t* file : xml_files) {
    const std::string bytes = EntryBytes(file);
    ASSERT_FALSE(bytes.empty()) << std::filesystem::path(file).string();
    EXPECT_EQ(bytes.rfind("<?xml", 0), 0u) << "UTF-8 without a byte-order mark";
  }
  for (const wchar_t* file : {L"resources\\lang\\zh_CN\\strings.ini", L"resources\\lang\\en_US\\strings.ini"}) {
    EXPECT_EQ(EntryBytes(file).rfind(";", 0), 0u) << "a comment line comes first";
  }
  const std::string controls = EntryBytes(L"resources\\themes\\default\\controls\\controls.xml");
  EXPECT_NE(controls.find("size=\"430,255\""), std::string::npos);
  EXPECT_NE(controls.find("caption=\"0,0,0,35\""), std::string::npos);
  // An image named from a window's folder, the way controls name them.
  EXPECT_EQ(EntryBytes(L"resources\\themes\\default\\controls\\../public/combo/default_norm_20x20.png").rfind("\x89PNG", 0),
            0u);
  ui::CloseZip();
}

TEST(SkinArchive, LanguageStringsComeFromTheArchiveNotTheDisk) {
  // A disk file of the same path, in the folder the framework resolves relative paths from.
  TempFolder temp;
  std::filesystem::create_directories(temp.File(L"resources\\lang\\zh_CN"));
  WriteBytes(temp.File(L"resources\\lang\\zh_CN\\strings.ini"), ";\nSTRING_OK=from disk\n");
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(temp.path().c_str());

  ASSERT_TRUE(OpenSkinArchive());
  ui::GlobalManager::Startup(L"resources\\", ui::CreateControlCallback(), L"themes\\default", L"lang\\zh_CN");
  EXPECT_EQ(ui::LanguageTable::GetInstance()->GetStringViaID(L"STRING_OK"), L"确定");
  EXPECT_EQ(ui::LanguageTable::GetInstance()->GetStringViaID(L"STRING_CANCEL"), L"取消");
  EXPECT_EQ(ui::GlobalManager::GetResourcePath(), L"resources\\themes\\default\\");
  // global.xml from the archive: fonts, colours and classes.
  EXPECT_EQ(ui::GlobalManager::GetTextColor(L"darkcolor"), 0xff2b2e33u);
  EXPECT_EQ(ui::GlobalManager::GetTextColor(L"transbkblack"), 0x80000000u);
  EXPECT_NE(ui::GlobalManager::GetFont(L"system_bold_22"), nullptr);
  EXPECT_NE(ui::GlobalManager::GetFont(L"default_font_label"), nullptr);
  EXPECT_NE(ui::GlobalManager::GetClassAttributes(L"btn_global_green_75x29").find(L"green_75x29_normal.png"),
            std::wstring::npos);
  ui::GlobalManager::Shutdown();
  EXPECT_EQ(ui::ResourceZip(), nullptr);
  SetCurrentDirectoryW(previous);
}

}  // namespace
