#include "mfc/AfxFileDialog.h"

#include <gtest/gtest.h>

namespace {

TEST(AfxFileDialogTest, HookAnswersInPlaceOfTheDialog) {
  CFileDialog::SetModalHook([](const CFileDialog& dialog, CString& path) {
    EXPECT_FALSE(dialog.IsOpenDialog());
    EXPECT_EQ(std::wstring(dialog.m_ofn.lpstrFilter, 14), std::wstring(L"Text\0*.txt\0All\0", 14));
    path = L"C:\\chosen.txt";
    return TRUE;
  });
  CFileDialog save(FALSE, L"*.txt", nullptr, OFN_OVERWRITEPROMPT, L"Text|*.txt|All|*.*||");
  EXPECT_EQ(save.DoModal(), IDOK);
  EXPECT_STREQ(save.GetPathName(), L"C:\\chosen.txt");

  CFileDialog::SetModalHook([](const CFileDialog&, CString&) { return FALSE; });
  CFileDialog cancelled(TRUE);
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
  CFileDialog::SetModalHook(nullptr);
}

}  // namespace
