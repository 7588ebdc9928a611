#include "mfc/AfxDialog.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kTestDialog = 200;
constexpr int kEditId = 201;

// Clicks a button of its own from OnInitDialog, and records what it went through.
class TestDialog : public CDialog {
 public:
  explicit TestDialog(int exchangedId = kEditId) : CDialog(kTestDialog), exchangedId_(exchangedId) {}

  UINT clickOnInit = 0;
  bool created = false, initialised = false, okCalled = false, destroyedAfter = false;
  CWnd edit;

 protected:
  int OnCreate(LPCREATESTRUCTW create) override {
    created = true;
    return CDialog::OnCreate(create);
  }
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, exchangedId_, edit); }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    initialised = edit.m_hWnd != nullptr;
    if (clickOnInit) PostMessage(WM_COMMAND, MAKEWPARAM(clickOnInit, BN_CLICKED));
    return TRUE;
  }
  void OnOK() override {
    okCalled = true;
    CDialog::OnOK();
  }
  void PostNcDestroy() override { destroyedAfter = true; }

 private:
  int exchangedId_;
};

TEST(AfxDialogTest, ModalDialogRunsFromTemplateUntilOk) {
  TestDialog dialog;
  dialog.clickOnInit = IDOK;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(dialog.created) << "WM_CREATE reached the dialog object";
  EXPECT_TRUE(dialog.initialised) << "the control was bound before OnInitDialog went on";
  EXPECT_TRUE(dialog.okCalled);
  EXPECT_TRUE(dialog.destroyedAfter);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(AfxDialogTest, CancelEndsTheModalDialog) {
  TestDialog dialog;
  dialog.clickOnInit = IDCANCEL;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_FALSE(dialog.okCalled);
}

TEST(AfxDialogTest, FailedExchangeIsAResult) {
  TestDialog dialog(999);
  ASSERT_TRUE(dialog.Create(kTestDialog));
  EXPECT_FALSE(dialog.initialised);
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  dialog.DestroyWindow();
}

TEST(AfxDialogTest, ModelessDialogIsCreatedOnceAndDestroyed) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialog));
  EXPECT_TRUE(dialog.created);
  EXPECT_TRUE(dialog.initialised);
  EXPECT_FALSE(dialog.Create(kTestDialog)) << "already created";
  EXPECT_TRUE(dialog.DestroyWindow());
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.edit.m_hWnd, nullptr);
}

TEST(AfxDialogTest, MissingTemplateFails) {
  CDialog dialog(4321);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_FALSE(dialog.Create(4321));
}

}  // namespace
