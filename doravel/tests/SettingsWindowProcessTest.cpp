// Doravel.exe end to end under Wine: its window over fake devices, real clicks through
// xdotool, the saved file, the notice to a fake Kelvane, the exits, the failure boxes.
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ExpectedSettings.h"
#include "FakeKelvaneWindow.h"
#include "FileBytes.h"
#include "ScreenCapture.h"
#include "SettingsFolderFixture.h"
#include "TempFolder.h"
#include "base/ModuleDirectory.h"
#include "fakedevices/FakeDeviceSet.h"

namespace {

constexpr int kShadow = 14;  // the skinned window's shadow around its 430 x 255 content

// Points of the settings window's content (see controls.xml).
const POINT kComboMicDev{250, 50};
const POINT kOptTranslate{400, 140};
const POINT kBtnOK{296, 210};
const POINT kBtnCancel{381, 210};
const POINT kCloseButton{411, 17};

struct Found {
  DWORD process;
  const wchar_t* window_class;
  HWND window;
};

HWND FindProcessWindow(DWORD process, const wchar_t* window_class) {
  Found found{process, window_class, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* found = reinterpret_cast<Found*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[64] = L"";
        GetClassNameW(window, name, 64);
        if (owner != found->process || wcscmp(name, found->window_class) != 0 || !IsWindowVisible(window)) return TRUE;
        found->window = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.window;
}

HWND WaitForProcessWindow(DWORD process, const wchar_t* window_class, DWORD ms = 20000) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    if (HWND window = FindProcessWindow(process, window_class)) return window;
    Sleep(50);
  }
  return nullptr;
}

// A real click at a point of the window (xdotool on the X display).
void Click(HWND window, POINT point) {
  RECT rect;
  GetWindowRect(window, &rect);
  const std::wstring command = L"start /wait /unix /usr/bin/xdotool mousemove --sync " +
                               std::to_wstring(rect.left + point.x) + L" " + std::to_wstring(rect.top + point.y) +
                               L" click 1";
  // Wine's start now and then fails to launch the Unix program: try again.
  for (int attempt = 0; attempt < 3 && _wsystem(command.c_str()) != 0; ++attempt) Sleep(200);
  Sleep(300);
}

POINT Content(POINT point) { return POINT{point.x + kShadow, point.y + kShadow}; }

class Doravel {
 public:
  explicit Doravel(const std::wstring& exe = base::GetCurrentModuleDirectory() + L"Doravel.exe") {
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    started_ = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
  }
  ~Doravel() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool started() const { return started_; }
  DWORD id() const { return info_.dwProcessId; }
  HWND Window() { return WaitForProcessWindow(info_.dwProcessId, L"UIMainFrame"); }
  bool Exited(DWORD ms = 20000) { return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }
  DWORD ExitCode() {
    DWORD code = 12345;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

// Closes the first message box of the process that appears, noting its caption and text.
struct BoxSeen {
  std::wstring caption;
  std::wstring text;
};

BoxSeen CloseMessageBoxOf(DWORD process, DWORD ms = 20000) {
  BoxSeen seen;
  HWND box = WaitForProcessWindow(process, L"#32770", ms);
  if (!box) return seen;
  wchar_t text[512] = L"";
  GetWindowTextW(box, text, 512);
  seen.caption = text;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM param) -> BOOL {
        wchar_t name[64] = L"", value[512] = L"";
        GetClassNameW(child, name, 64);
        GetWindowTextW(child, value, 512);
        if (wcscmp(name, L"Static") == 0 && value[0]) reinterpret_cast<std::wstring*>(param)->assign(value);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen.text));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return seen;
}

class DoravelProcess : public CleanSettingsFolder {
 protected:
  void SetUp() override {
    CleanSettingsFolder::SetUp();
    devices_.AddBle(L"Tavri Vornix", L"e0d9a3b2c1f0", /*connected=*/true);
    devices_.AddGatt(FakeGattServiceInstanceId(L"e0d9a3b2c1f0"));
    devices_.AddBle(L"Tavri Ring", L"f8f09e112233", /*connected=*/false);
  }
  bool SettingsFileExists() { return GetFileAttributesW(SettingsPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

  FakeDeviceSet devices_;
};

TEST_F(DoravelProcess, ChoosingTheBleDeviceAndTranslationSavesNotifiesKelvaneAndEnds) {
  FakeKelvane kelvane(/*hung=*/false);
  g_notices = 0;
  Doravel doravel;
  ASSERT_TRUE(doravel.started());
  HWND window = doravel.Window();
  ASSERT_NE(window, nullptr) << "the settings window never showed";
  Sleep(500);

  {  // The window as the user sees it, for the README.
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    RECT rect;
    GetWindowRect(window, &rect);
    ScreenCapture(rect).SavePng(base::GetCurrentModuleDirectory() + L"doravel_settings_window.png");
    Gdiplus::GdiplusShutdown(token);
  }

  Click(window, Content(kComboMicDev));
  HWND popup = WaitForProcessWindow(doravel.id(), L"ComboWnd", 5000);
  ASSERT_NE(popup, nullptr) << "the device list did not open";
  RECT list;
  GetWindowRect(popup, &list);
  Click(popup, POINT{(list.right - list.left) / 2, 12});  // the first item: Tavri Vornix
  Click(window, Content(kOptTranslate));
  Click(window, Content(kBtnOK));

  ASSERT_TRUE(doravel.Exited()) << "OK did not end the tool";
  EXPECT_EQ(doravel.ExitCode(), 0u);
  EXPECT_EQ(g_notices, 1);
  EXPECT_EQ(ReadBytes(SettingsPath()), BleWithTranslationText());
}

TEST_F(DoravelProcess, CancelAndCloseEndWithoutWriting) {
  for (POINT button : {kBtnCancel, kCloseButton}) {
    Doravel doravel;
    HWND window = doravel.Window();
    ASSERT_NE(window, nullptr);
    Sleep(300);
    Click(window, Content(button));
    ASSERT_TRUE(doravel.Exited()) << button.x;
    EXPECT_EQ(doravel.ExitCode(), 0u);
    EXPECT_FALSE(SettingsFileExists());
  }
}

TEST_F(DoravelProcess, SaveFailuresShowTheirBoxesAndLeaveNothingHalfWritten) {
  // The settings folder cannot be made: a file holds its parent's name.
  WriteBytes(TavriFolder(), "in the way");
  {
    Doravel doravel;
    HWND window = doravel.Window();
    ASSERT_NE(window, nullptr);
    Sleep(300);
    Click(window, Content(kBtnOK));
    const BoxSeen seen = CloseMessageBoxOf(doravel.id());
    EXPECT_EQ(seen.text, L"无法访问应用目录");
    EXPECT_EQ(seen.caption, GetAppDataFolder());
    EXPECT_FALSE(doravel.Exited(500)) << "the window stays after a failed save";
    Click(window, Content(kBtnCancel));
    ASSERT_TRUE(doravel.Exited());
    EXPECT_EQ(doravel.ExitCode(), 0u);
  }
  EXPECT_EQ(ReadBytes(TavriFolder()), "in the way");
  DeleteFileW(TavriFolder().c_str());

  // The file cannot be written: its temporary name is taken by a folder.
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  WriteBytes(SettingsPath(), "previous");
  const std::wstring blocker = SettingsPath() + L".tmp";
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
  {
    Doravel doravel;
    HWND window = doravel.Window();
    ASSERT_NE(window, nullptr);
    Sleep(300);
    Click(window, Content(kBtnOK));
    const BoxSeen seen = CloseMessageBoxOf(doravel.id());
    EXPECT_EQ(seen.caption, L"保存配置失败");
    EXPECT_EQ(seen.text, SettingsPath());
    Click(window, Content(kBtnCancel));
    ASSERT_TRUE(doravel.Exited());
    EXPECT_EQ(doravel.ExitCode(), 0u);
  }
  RemoveDirectoryW(blocker.c_str());
  EXPECT_EQ(ReadBytes(SettingsPath()), "previous");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(GetAppDataFolder()), {}), 1);
}

// A copy of the program whose skin archive is no zip: the skin cannot be built, the error box
// shows, and the process ends with 0 instead of running on invisibly with the mutex.
TEST_F(DoravelProcess, ASkinThatFailsEndsTheProcessAfterItsBox) {
  TempFolder temp;
  const std::wstring copy = temp.File(L"Doravel.exe");
  ASSERT_TRUE(CopyFileW((base::GetCurrentModuleDirectory() + L"Doravel.exe").c_str(), copy.c_str(), FALSE));
  HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
  ASSERT_NE(update, nullptr);
  char not_a_zip[] = "not a zip archive";
  ASSERT_TRUE(UpdateResourceW(update, L"THEME", MAKEINTRESOURCEW(129), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
                              not_a_zip, sizeof(not_a_zip)));
  ASSERT_TRUE(EndUpdateResourceW(update, FALSE));

  Doravel broken(copy);
  ASSERT_TRUE(broken.started());
  const BoxSeen seen = CloseMessageBoxOf(broken.id());
  EXPECT_EQ(seen.caption, L"SkinUI");
  EXPECT_NE(seen.text.find(L"controls.xml"), std::wstring::npos) << std::string(seen.text.begin(), seen.text.end());
  ASSERT_TRUE(broken.Exited());
  EXPECT_EQ(broken.ExitCode(), 0u);

  // The mutex went with it: a normal start shows its window.
  Doravel next;
  HWND window = next.Window();
  ASSERT_NE(window, nullptr);
  Click(window, Content(kBtnCancel));
  EXPECT_TRUE(next.Exited());
}

}  // namespace
