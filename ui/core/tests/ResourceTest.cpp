// The global resource manager over an archive in memory and over a folder: start-up, lookups,
// language table, fonts, colours and shut-down.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "FileBytes.h"
#include "resources/FontInfo.h"
#include "resources/GlobalManager.h"
#include "image/ImageInfo.h"
#include "resources/LanguageTable.h"
#include "render/RenderInterfaces.h"
#include "TempFolder.h"
#include "TestImages.h"
#include "archive/ZipApi.h"
#include "ZipWriter.h"

namespace ui {
namespace {

const char kZipStrings[] = "\xEF\xBB\xBF;zh_CN\nSTRING_OK=\xE7\xA1\xAE\xE5\xAE\x9A\n";
const char kDiskStrings[] = ";disk\nSTRING_OK=disk\n";

ZipWriterEntry Entry(const std::string& name, const std::string& data) {
  ZipWriterEntry entry;
  entry.name = name;
  entry.data = data;
  return entry;
}

std::string Png() { return MakePng(2, 2, std::vector<uint32_t>(4, 0xFF336699)); }

// A skin both in an archive and in a folder that is the current directory.
class SkinResources : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    previous_directory_ = current;
    SetCurrentDirectoryW(folder_.path().c_str());
    std::filesystem::create_directories(L"resources/lang/zh_CN");
    std::filesystem::create_directories(L"resources/themes/default");
    WriteBytes(L"resources\\lang\\zh_CN\\strings.ini", kDiskStrings);
    WriteBytes(L"resources\\themes\\default\\disk_only.png", Png());
    archive_ = BuildZip({Entry("resources/lang/zh_CN/strings.ini", kZipStrings),
                         Entry("resources/themes/default/public/zip_only.png", Png())});
    LanguageTable::GetInstance()->LoadStringTable(L"");  // the table lives for the process
  }
  void TearDown() override {
    GlobalManager::Shutdown();
    SetCurrentDirectoryW(previous_directory_.c_str());
  }
  void OpenArchive() {
    ResourceZip() = OpenZip(archive_.data(), static_cast<uint32_t>(archive_.size()), "");
    ASSERT_NE(ResourceZip(), nullptr);
  }
  void Start() {
    GlobalManager::Startup(L"resources\\", nullptr, L"themes\\default", L"lang\\zh_CN");
  }
  std::wstring String(const wchar_t* id) {
    return LanguageTable::GetInstance()->GetStringViaID(id);
  }

  TempFolder folder_;
  std::wstring previous_directory_;
  std::string archive_;
};

TEST_F(SkinResources, StartsOverArchiveAndPrefersIt) {
  OpenArchive();
  Start();
  EXPECT_TRUE(GlobalManager::IsUseZip());
  EXPECT_EQ(GlobalManager::GetResourcePath(), L"resources\\themes\\default\\");
  EXPECT_EQ(String(L"STRING_OK"), L"确定");
  const std::wstring path = GlobalManager::GetResourcePath();
  EXPECT_NE(GlobalManager::GetImage(path + L"controls\\..\\public\\zip_only.png"), nullptr);
  EXPECT_NE(GlobalManager::GetImage(path + L"disk_only.png"), nullptr);  // images fall back to disk
  ASSERT_NE(GlobalManager::GetRenderFactory(), nullptr);
}

TEST_F(SkinResources, LanguageFileOnlyOnDiskIsNotReadWithArchive) {
  archive_ = BuildZip({Entry("resources/themes/default/global.xml", "<Global/>")});
  OpenArchive();
  Start();
  EXPECT_EQ(String(L"STRING_OK"), L"");
}

TEST_F(SkinResources, StartsOverFolder) {
  Start();
  EXPECT_FALSE(GlobalManager::IsUseZip());
  EXPECT_EQ(String(L"STRING_OK"), L"disk");
  EXPECT_NE(GlobalManager::GetImage(L"resources/themes//default/disk_only.png"), nullptr);
  EXPECT_EQ(GlobalManager::GetImage(L"resources\\themes\\default\\missing.png"), nullptr);
}

TEST_F(SkinResources, ReadsArchiveEntriesIntoGlobalBlocks) {
  EXPECT_EQ(GlobalManager::GetZipData(L"resources\\lang\\zh_CN\\strings.ini"), nullptr);
  OpenArchive();
  HGLOBAL block = GlobalManager::GetZipData(L"Resources\\themes\\..\\LANG\\zh_CN\\strings.ini");
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), sizeof(kZipStrings) - 1);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(block)), GlobalSize(block)),
            kZipStrings);
  GlobalUnlock(block);
  GlobalFree(block);
  EXPECT_EQ(GlobalManager::GetZipData(L"resources\\missing.xml"), nullptr);
  EXPECT_EQ(LastZipResult(), kZipNotFound);
}

TEST_F(SkinResources, ShutdownClosesArchiveAndReleasesFonts) {
  OpenArchive();
  Start();
  HFONT font = GlobalManager::AddFont(L"shutdown_font", L"arial", 12, false, false, false, false);
  ASSERT_NE(font, nullptr);
  GlobalManager::Shutdown();
  EXPECT_EQ(ResourceZip(), nullptr);
  EXPECT_EQ(GlobalManager::GetRenderFactory(), nullptr);
  EXPECT_EQ(GlobalManager::GetFont(L"shutdown_font"), nullptr);
  LOGFONTW logfont;
  EXPECT_EQ(GetObjectW(font, sizeof(logfont), &logfont), 0);  // deleted
}

TEST(ZipFilePath, CanonicalisesWindowsPaths) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"plain", L"plain"},
      {L"a\\\\b", L"a/b"},
      {L"a/b/../c", L"a/c"},
      {L"a/../b", L"b"},
      {L"ab/cd/../e", L"ab/e"},
      {L"./x//y", L"x/y"},
      {L"resources\\themes\\default\\controls\\../public/bk/bk_shadow.png",
       L"resources/themes/default/public/bk/bk_shadow.png"},
      {L"../up.png", L"up.png"},
      {L"..\\..\\two.png", L"two.png"},
      {L"\\lead\\x.png", L"lead/x.png"},
  };
  for (const auto& [path, expected] : cases)
    EXPECT_EQ(GlobalManager::GetZipFilePath(path), expected) << path;
}

TEST(ResourcePath, EndsInOneSeparator) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"skin", L"skin\\"}, {L"skin\\", L"skin\\"}, {L"skin/", L"skin/"}, {L"", L""}};
  for (const auto& [path, expected] : cases) {
    GlobalManager::SetResourcePath(path);
    EXPECT_EQ(GlobalManager::GetResourcePath(), expected);
  }
}

TEST(LanguageTable, ReadsIdsAndTextsFromFile) {
  TempFolder folder;
  const std::wstring file = folder.File(L"strings.ini");
  WriteBytes(file,
             "\xEF\xBB\xBF;comment\n"
             "STRING_OK=\xE7\xA1\xAE\xE5\xAE\x9A\r\n"
             " \tSPACED \t= \tsome text\t \n"
             "TWO_SIGNS=a=b\n"
             "ADJACENT==joined\n"
             ";COMMENTED=x\n"
             "ID;X=y\n"
             "SEMICOLON=text; more\n"
             "LINES=one\\ntwo\\rthree\n"
             "NO_TEXT=\n"
             "STRING_OK=later wins\n");
  LanguageTable* table = LanguageTable::GetInstance();
  ASSERT_TRUE(table->LoadStringTable(file));
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {{L"STRING_OK", L"later wins"},
                                                             {L"SPACED", L"some text"},
                                                             {L"TWO_SIGNS", L""},
                                                             {L"ADJACENT", L"joined"},
                                                             {L";COMMENTED", L""},
                                                             {L"ID;X", L""},
                                                             {L"SEMICOLON", L"text; more"},
                                                             {L"LINES", L"one\ntwo\rthree"},
                                                             {L"NO_TEXT", L""},
                                                             {L"", L""}};
  for (const auto& [id, text] : cases) EXPECT_EQ(table->GetStringViaID(id), text) << id;

  EXPECT_FALSE(table->LoadStringTable(folder.File(L"missing.ini")));
  EXPECT_EQ(table->GetStringViaID(L"SPACED"), L"");  // emptied before opening
}

TEST(LanguageTable, AddsLinesFromMemorySplitAtZeroBytes) {
  const std::string text("A=1\nB=2", 7);
  const std::string bytes = text + std::string("\0C=3", 4);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  LanguageTable* table = LanguageTable::GetInstance();
  table->LoadStringTable(L"");  // empties
  EXPECT_TRUE(table->LoadStringTable(block));
  GlobalFree(block);
  EXPECT_EQ(table->GetStringViaID(L"A"), L"1");
  EXPECT_EQ(table->GetStringViaID(L"B"), L"2");
  EXPECT_EQ(table->GetStringViaID(L"C"), L"3");
}

TEST(Fonts, RegistersByIdOnce) {
  GlobalManager::RemoveAllFonts();
  HFONT zero = GlobalManager::AddFont(L"", L"system", 12, false, false, false, false);
  HFONT one = GlobalManager::AddFont(L"", L"System", 14, true, true, true, true);
  ASSERT_NE(zero, nullptr);
  ASSERT_NE(one, nullptr);
  FontInfo* font0 = GlobalManager::GetFont(L"0");
  FontInfo* font1 = GlobalManager::GetFont(L"1");
  ASSERT_NE(font0, nullptr);
  ASSERT_NE(font1, nullptr);
  EXPECT_EQ(font0->face_name, L"微软雅黑");
  EXPECT_EQ(font1->face_name, L"System");
  EXPECT_EQ(GlobalManager::GetFont(L""), font1);  // the default font

  LOGFONTW logfont = {};
  GetObjectW(one, sizeof(logfont), &logfont);
  EXPECT_EQ(logfont.lfHeight, -14);
  EXPECT_TRUE(logfont.lfUnderline);
  EXPECT_TRUE(logfont.lfItalic);
  EXPECT_GE(logfont.lfWeight, FW_BOLD);

  EXPECT_EQ(GlobalManager::AddFont(L"1", L"arial", 20, false, false, false, false), one);
  EXPECT_EQ(GlobalManager::AddFont(L"long", std::wstring(40, L'x'), 12, false, false, false, false),
            nullptr);
  GlobalManager::RemoveAllFonts();
  EXPECT_EQ(GlobalManager::GetFont(L"1"), nullptr);
}

TEST(TextColors, ReadsHashAndHexDigits) {
  GlobalManager::AddTextColor(L"white", L"#ffffffff");
  GlobalManager::AddTextColor(L"half_black", L"#80000000");
  GlobalManager::AddTextColor(L"six_digits", L"#ff0000");
  GlobalManager::AddTextColor(L"garbage", L"#zz");
  GlobalManager::AddTextColor(L"empty", L"");
  EXPECT_EQ(GlobalManager::GetTextColor(L"white"), 0xFFFFFFFFu);
  EXPECT_EQ(GlobalManager::GetTextColor(L"half_black"), 0x80000000u);
  EXPECT_EQ(GlobalManager::GetTextColor(L"six_digits"), 0x00FF0000u);
  EXPECT_EQ(GlobalManager::GetTextColor(L"garbage"), 0u);
  EXPECT_EQ(GlobalManager::GetTextColor(L"empty"), 0u);
  EXPECT_EQ(GlobalManager::GetTextColor(L"White"), 0u);  // names are case-sensitive
  GlobalManager::AddTextColor(L"White", L"#ff010203");
  EXPECT_EQ(GlobalManager::GetTextColor(L"White"), 0xFF010203u);
  EXPECT_EQ(GlobalManager::GetDefaultTextColor(), L"textdefaultcolor");
  EXPECT_EQ(GlobalManager::GetDefaultDisabledTextColor(), L"textdefaultdisablecolor");
}

TEST(ClassTable, UnknownClassIsEmpty) {
  GlobalManager::AddClass(L"caption", L"height=\"36\"");
  EXPECT_EQ(GlobalManager::GetClassAttributes(L"caption"), L"height=\"36\"");
  EXPECT_EQ(GlobalManager::GetClassAttributes(L"none"), L"");
}

}  // namespace
}  // namespace ui
