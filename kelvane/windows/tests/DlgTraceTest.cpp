#include "DlgTrace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "FileBytes.h"
#include "SettingsStore.h"
#include "TraceMessage.h"
#include "TraceTestSupport.h"

namespace {

class DlgTraceTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(AfxInitRichEdit2());
    ASSERT_TRUE(dialog_.Create(CDlgTrace::IDD));
  }
  void TearDown() override {
    const std::wstring log = dialog_.m_console.LogFilePath().GetString();
    dialog_.DestroyWindow();
    dialog_.m_console.OpenLog(false, nullptr);
    std::error_code ignored;
    if (!log.empty()) std::filesystem::remove(log, ignored);
  }

  CDlgTrace dialog_;
};

TEST_F(DlgTraceTest, CreatesTheHiddenTopMostConsoleFromItsTemplate) {
  EXPECT_FALSE(dialog_.IsWindowVisible());
  CString caption;
  dialog_.GetWindowText(caption);
  EXPECT_STREQ(caption, L"Debug");
  EXPECT_EQ(dialog_.GetExStyle() & (WS_EX_NOACTIVATE | WS_EX_TOPMOST),
            DWORD(WS_EX_NOACTIVATE | WS_EX_TOPMOST));

  ASSERT_NE(dialog_.m_console.m_hWnd, nullptr);
  EXPECT_EQ(dialog_.m_console.m_hWnd, dialog_.GetDlgItem(IDC_TRACE_CONSOLE));
  EXPECT_EQ(GetTraceConsoleWindow(), dialog_.m_console.m_hWnd);
  wchar_t className[32];
  GetClassNameW(dialog_.m_console.m_hWnd, className, 32);
  EXPECT_STREQ(className, L"RichEdit20W");

  CRect window;
  dialog_.GetWindowRect(window);
  EXPECT_EQ(window.left, 0);
  EXPECT_EQ(window.top, 0);
  EXPECT_EQ(window.Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(window.Height(), GetSystemMetrics(SM_CYSCREEN) / 3);
}

TEST_F(DlgTraceTest, ConsoleFillsTheDialogWhenResized) {
  dialog_.SetWindowPos(nullptr, 0, 0, 500, 260, SWP_NOZORDER | SWP_NOMOVE);
  CRect client, console;
  dialog_.GetClientRect(client);
  dialog_.m_console.GetWindowRect(console);
  EXPECT_EQ(console.Width(), client.Width());
  EXPECT_EQ(console.Height(), client.Height());
}

TEST_F(DlgTraceTest, CloseHidesAndOkIsIgnored) {
  dialog_.ShowWindow(SW_SHOWNOACTIVATE);
  dialog_.SendMessage(WM_COMMAND, IDOK);
  EXPECT_TRUE(dialog_.IsWindowVisible());
  dialog_.SendMessage(WM_SYSCOMMAND, SC_CLOSE);  // the dialog posts itself IDCANCEL
  EXPECT_TRUE(PumpUntil([this] { return !dialog_.IsWindowVisible(); }));
  EXPECT_TRUE(IsWindow(dialog_.m_hWnd)) << "hidden, not destroyed";
}

TEST_F(DlgTraceTest, TracedLinesReachTheLogInTheSettingsFolder) {
  const std::wstring log = dialog_.m_console.LogFilePath().GetString();
  const std::wstring logFolder = GetAppDataFolder() + L"\\Log\\";
  ASSERT_EQ(log.substr(0, logFolder.size()), logFolder);
  EXPECT_EQ(log.substr(logFolder.size(), 7), L"ORVANE_");
  EXPECT_EQ(log.substr(log.size() - 4), L".txt");

  std::thread([] { EXPECT_TRUE(TraceMessage(kTraceNormal, L"from %s", L"线程")); }).join();
  ASSERT_TRUE(PumpUntil([&] { return ReadBytes(log).find("\r\n") != std::string::npos; }));
  const std::string bytes = ReadBytes(log);
  EXPECT_NE(bytes.find(CTessikService::WStringToString(L"】 <N> from 线程\r\n")),
            std::string::npos);
  EXPECT_NE(RichText(dialog_.m_console.m_hWnd).find(L"from 线程"), std::wstring::npos);
}

TEST_F(DlgTraceTest, AfterTheDialogIsGoneTracingReturnsFalse) {
  dialog_.DestroyWindow();
  EXPECT_EQ(GetTraceConsoleWindow(), nullptr);
  EXPECT_FALSE(TraceMessage(kTraceInfo, L"too late"));
}

}  // namespace
