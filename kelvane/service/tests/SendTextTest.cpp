#include <gtest/gtest.h>
#include <windows.h>

#include "FocusedEdit.h"
#include "IMEService.h"
#include "RecordingOwner.h"

namespace {

TEST(SendTextTest, TypesEachUtf16UnitAsAKeyDownUpPairIntoTheFocusedWindow) {
  FocusedEdit edit;
  ASSERT_TRUE(PumpUntil([&] { return edit.HasFocus(); }));
  EXPECT_FALSE(CIMEService::SendText(nullptr));
  EXPECT_TRUE(CIMEService::SendText(L""));

  // A BMP character, a surrogate pair, and the two characters of a line break.
  const std::wstring text = L"a\x4F60\xD83D\xDE00\r\nb";
  ASSERT_TRUE(CIMEService::SendText(text.c_str()));
  EXPECT_TRUE(PumpUntil([&] { return edit.Typed().size() == text.size(); })) << edit.Typed();
  EXPECT_EQ(edit.Typed(), text);
  EXPECT_EQ(edit.UnicodeKeyDowns(), 7);
  EXPECT_EQ(edit.UnicodeKeyUps(), 7);
}

}  // namespace
