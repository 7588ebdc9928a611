// Kelvane's dictation road to watch without hardware: the real panel and IME service, a
// simulated control device (a HID pipe), a microphone that records a speech fixture, the
// speech SDK stand-in answering from a script, and Notepad receiving the typed text.
// With KELVANE_DEMO_SCREENSHOT=FILE.png it saves a picture of the panel showing the partial
// text and of Notepad with the typed text, and quits.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "FakeHid.h"
#include "FakeWaveInDriver.h"
#include "HidPipe.h"
#include "KelvaneDlg.h"
#include "ScreenCapture.h"
#include "SpokenFixture.h"
#include "TempFolder.h"
#include "mfc/AfxRichEdit.h"
#include "msc/MscApi.h"
#include "skivra/Skivra.h"

namespace {

const wchar_t kMicName[] = L"Kelvane Demo Mic";
const wchar_t kPartial[] = L"你好世界";
const wchar_t kDictated[] = L"你好世界。";

// Two partial results while the button is held, the full stop with the final result.
const char kScript[] = R"({"sessions":[{
  "partials":[
    {"after_bytes":8192,"result":"{\"sn\":1,\"ls\":false,\"pgs\":\"apd\",\"ws\":[{\"cw\":[{\"w\":\"你好\",\"sc\":0}]}]}"},
    {"after_bytes":20480,"result":"{\"sn\":2,\"ls\":false,\"pgs\":\"rpl\",\"rg\":[1,1],\"ws\":[{\"cw\":[{\"w\":\"你好\",\"sc\":0}]},{\"cw\":[{\"w\":\"世界\",\"sc\":0}]}]}"}],
  "finals":["{\"sn\":3,\"ls\":true,\"pgs\":\"apd\",\"ws\":[{\"cw\":[{\"w\":\"。\",\"sc\":0}]}]}"]}]})";

std::vector<unsigned char> ButtonReport(bool pressed) {
  std::vector<unsigned char> report(17, 0);
  report[0] = 0x01;
  report[1] = 0xB0;
  report[2] = pressed ? 0x01 : 0x00;
  report[16] = pressed ? 0x7B : 0x57;
  return report;
}

void WriteFile(const std::wstring& path, const std::string& text) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
}

std::string SettingsText(const std::string& pipePath) {
  std::string escaped;
  for (char c : pipePath) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return "ctl_config {\n  ctl_mode: CtlMode_HID\n  device_descriptor {\n    path: \"" + escaped +
         "\"\n  }\n}\nmic_config {\n  mic_mode: MicMode_Gen\n  device_descriptor {\n    name: "
         "\"Kelvane Demo Mic\"\n  }\n}\n";
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = L"";
  SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 2000,
                      nullptr);
  return text;
}

class Notepad {
 public:
  Notepad() {
    wchar_t command[] = L"notepad.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_)) {
      return;
    }
    WaitForInputIdle(info_.hProcess, 20000);
    WaitUntil([this] { return (edit_ = FindEdit()) != nullptr; }, 20000);
    if (edit_) SetWindowPos(window_, nullptr, 40, 40, 640, 400, SWP_NOZORDER);
  }
  ~Notepad() {
    if (info_.hProcess == nullptr) return;
    TerminateProcess(info_.hProcess, 0);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  Notepad(const Notepad&) = delete;
  Notepad& operator=(const Notepad&) = delete;

  HWND edit() const { return edit_; }
  void Focus() const {
    SetForegroundWindow(window_);
    SetFocus(edit_);
  }

 private:
  HWND FindEdit() {
    struct Search {
      DWORD process;
      HWND window;
    } search{info_.dwProcessId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner == s->process && IsWindowVisible(window)) s->window = window;
          return s->window == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    window_ = search.window;
    return window_ ? FindWindowExW(window_, nullptr, L"Edit", nullptr) : nullptr;
  }

  PROCESS_INFORMATION info_{};
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
};

// Presses the button, holds it while the microphone records, lets go, and waits for the text
// in Notepad. Runs beside the panel's thread; false, with a message, when a step fails.
bool Dictate(CKelvaneDlg& dialog, HidPipe& pipe, FakeWaveInDriver& driver, const Notepad& notepad,
             const std::wstring& screenshot) {
  HWND panel = nullptr;
  if (!WaitUntil([&] { return (panel = FindWindowW(nullptr, kMainWindowTitle)) != nullptr; }, 20000)) {
    std::fprintf(stderr, "kelvane_demo: the panel did not appear\n");
    return false;
  }
  notepad.Focus();
  Sleep(1500);  // the panel slides in
  std::printf("kelvane_demo: pressing the button\n");
  if (!WaitUntil([&] { return pipe.Send(ButtonReport(true)); }, 20000)) {
    std::fprintf(stderr, "kelvane_demo: the control device was not opened\n");
    return false;
  }
  HWND statusLine = GetDlgItem(panel, IDC_STATUS_LINE);
  if (!driver.WaitForFixtureRecorded() ||
      !WaitUntil([&] { return TextOf(statusLine).rfind(kPartial, 0) == 0; }, 20000)) {
    std::fprintf(stderr, "kelvane_demo: no partial result was shown\n");
    return false;
  }
  Sleep(1000);
  RECT panelRect{};
  GetWindowRect(panel, &panelRect);
  const ScreenCapture partial(panelRect);
  std::printf("kelvane_demo: releasing the button\n");
  pipe.Send(ButtonReport(false));
  if (!WaitUntil([&] { return TextOf(notepad.edit()) == kDictated; }, 20000)) {
    std::fprintf(stderr, "kelvane_demo: the text did not arrive in Notepad\n");
    return false;
  }
  std::printf("kelvane_demo: typed into Notepad\n");
  if (screenshot.empty()) return true;
  Sleep(500);
  ScreenCapture picture(ScreenCapture::WholeScreen());
  picture.Paste(partial);
  const bool saved = picture.SavePng(screenshot);
  if (!saved) std::fprintf(stderr, "kelvane_demo: cannot write the picture\n");
  PostMessageW(panel, WM_COMMAND, ID_TRAY_EXIT, 0);
  return saved;
}

}  // namespace

int wmain() {
  InitSkivra();
  AfxInitRichEdit2();
  wchar_t screenshot[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"KELVANE_DEMO_SCREENSHOT", screenshot, MAX_PATH);

  TempFolder folder;
  FakeHid hid;
  HidPipe pipe;
  FakeWaveInDriver driver({kMicName}, SpokenFixture());
  WriteFile(folder.File(L"script.json"), kScript);
  SetEnvironmentVariableW(MSC_SCRIPT_VARIABLE, folder.File(L"script.json").c_str());
  WriteFile(folder.File(CIMEService::kSettingsFileName), SettingsText(pipe.Path()));

  Notepad notepad;
  if (notepad.edit() == nullptr) {
    std::fprintf(stderr, "kelvane_demo: Notepad did not start\n");
    return 1;
  }
  CKelvaneDlg dialog;
  dialog.SetSettingsFolder(folder.path());
  dialog.SetServiceSetup([](CIMEService& service) { service.SetNetworkCheck([] { return 0; }); });
  bool ok = false;
  std::thread demo([&] {
    ok = Dictate(dialog, pipe, driver, notepad, screenshot);
    if (!ok && screenshot[0]) PostMessageW(FindWindowW(nullptr, kMainWindowTitle), WM_COMMAND, ID_TRAY_EXIT, 0);
  });
  dialog.DoModal();
  demo.join();
  return ok ? 0 : 1;
}
