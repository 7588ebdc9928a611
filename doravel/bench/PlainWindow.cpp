// The benchmark's peer: a plain Win32 window of the settings window's size and background,
// painted with GDI, that ends when it is closed.
#include <windows.h>

namespace {

const COLORREF kBackground = RGB(0x2b, 0x2e, 0x33);

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = &PlainWindowProc;
  window_class.hInstance = instance;
  window_class.hbrBackground = CreateSolidBrush(kBackground);
  window_class.lpszClassName = L"PlainBenchWindow";
  RegisterClassW(&window_class);
  const int width = 430, height = 255;
  RECT work;  // centred on the work area, as the skinned window centres itself
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HWND window = CreateWindowExW(0, L"PlainBenchWindow", L"Plain", WS_POPUP | WS_VISIBLE,
                                (work.left + work.right) / 2 - width / 2, (work.top + work.bottom) / 2 - height / 2,
                                width, height, nullptr, nullptr, instance, nullptr);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
