// A large skin in a real window: N `<Control height="20"/>` in a scrolling list box. Times the
// window's creation (the tree built into the window) and its show with the first layout, then
// the show plus 1.5 s of message pumping; min / median / max over the rounds.
//   ui_large_tree_bench [controls] [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "resources/GlobalManager.h"
#include "window/WindowImplBase.h"

namespace {

constexpr DWORD kPumpMs = 1500;

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump();
  }
}

class LargeWindow : public ui::WindowImplBase {
 public:
  explicit LargeWindow(std::wstring folder) : folder_(std::move(folder)) {}
  std::wstring GetWindowClassName() const override { return L"OrvaneLargeTreeBench"; }
  std::wstring GetSkinFolder() const override { return folder_; }
  std::wstring GetSkinFile() const override { return L"large.xml"; }

 private:
  std::wstring folder_;
};

std::wstring WriteSkin(int controls) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"orvane-large-tree";
  std::filesystem::create_directories(folder);
  std::ofstream out(folder / L"large.xml", std::ios::binary);
  out << "<Window size=\"400,600\"><VListBox vscrollbar=\"true\" bkcolor=\"#FFFFFFFF\">\n";
  for (int i = 0; i < controls; ++i) out << "<Control height=\"20\"/>\n";
  out << "</VListBox></Window>\n";
  return folder.wstring() + L"\\";
}

struct Round {
  double create_ms;
  double layout_ms;  // show until the first layout is painted
  double show_ms;    // the same, then 1.5 s of message pumping
};

// The window deletes itself when destroyed.
bool RunRound(const std::wstring& folder, Round& round) {
  auto* window = new LargeWindow(folder);
  double start = Now();
  HWND hwnd = window->Create(nullptr, L"large", WS_POPUP, 0, false, RECT{0, 0, 400, 600});
  round.create_ms = Now() - start;
  if (!hwnd) return false;
  start = Now();
  window->ShowWindow(true, true);
  while (window->IsArrangeNeeded() || GetUpdateRect(hwnd, nullptr, FALSE)) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump();
  }
  round.layout_ms = Now() - start;
  PumpFor(kPumpMs);
  round.show_ms = Now() - start;
  DestroyWindow(hwnd);
  Pump();
  return true;
}

struct Spread {
  double min, median, max;
};

Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.back()};
}

void Print(const wchar_t* what, const std::vector<double>& values) {
  const Spread spread = SpreadOf(values);
  wprintf(L"%-40ls min %8.0f  median %8.0f  max %8.0f ms\n", what, spread.min, spread.median, spread.max);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int controls = argc > 1 ? std::max(1, _wtoi(argv[1])) : 100000;
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
  setvbuf(stdout, nullptr, _IONBF, 0);
  const std::wstring folder = WriteSkin(controls);
  ui::GlobalManager::Startup(L"", nullptr, L"", L"");
  std::vector<double> create, layout, show;
  for (int i = 0; i < rounds; ++i) {
    Round round{};
    if (!RunRound(folder, round)) {
      fwprintf(stderr, L"round %d: the window was not created\n", i);
      return 1;
    }
    create.push_back(round.create_ms);
    layout.push_back(round.layout_ms);
    show.push_back(round.show_ms);
    wprintf(L"round %d: create %.0f ms, show with first layout %.0f ms\n", i, round.create_ms,
            round.layout_ms);
  }
  wprintf(L"%d controls, %d rounds\n", controls, rounds);
  Print(L"create (tree built into the window)", create);
  Print(L"show with first layout", layout);
  Print(L"show with first layout + 1.5 s pumping", show);
  ui::GlobalManager::Shutdown();
  return 0;
}
