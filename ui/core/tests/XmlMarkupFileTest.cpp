// Loading skin XML files from disk, relative to the resource folder or absolute.
#include <gtest/gtest.h>
#include <windows.h>

#include "FileBytes.h"
#include "resources/GlobalManager.h"
#include "TempFolder.h"
#include "markup/XmlMarkup.h"

namespace ui {
namespace {

TEST(XmlMarkupFile, LoadsOrReportsEachFileProblem) {
  TempFolder folder;
  WriteBytes(folder.File(L"bom.xml"), "\xEF\xBB\xBF<Window title=\"\xE7\x95\x8C\"/>");
  WriteBytes(folder.File(L"empty.xml"), "");
  WriteBytes(folder.File(L"limit.xml"), "<Window/>" + std::string(0x400000 - 9, ' '));
  WriteBytes(folder.File(L"large.xml"), "<Window/>" + std::string(0x400000 - 8, ' '));
  GlobalManager::SetResourcePath(folder.path());

  XmlMarkup xml;
  ASSERT_TRUE(xml.LoadFromFile(L"bom.xml"));
  EXPECT_STREQ(xml.Root().AttributeValue(0), L"界");
  EXPECT_TRUE(xml.LoadFromFile(folder.File(L"limit.xml")));  // absolute, exactly 4 MiB
  const std::pair<const wchar_t*, const wchar_t*> failures[] = {
      {L"missing.xml", L"Error opening file"},
      {L"empty.xml", L"File is empty"},
      {L"large.xml", L"File too large"},
  };
  for (const auto& [file, message] : failures) {
    EXPECT_FALSE(xml.LoadFromFile(file));
    EXPECT_STREQ(xml.GetLastErrorMessage(), message);
    EXPECT_STREQ(xml.GetLastErrorLocation(), L"");
  }
  GlobalManager::SetResourcePath(L"");
}

}  // namespace
}  // namespace ui
