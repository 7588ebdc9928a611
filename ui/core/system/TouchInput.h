// Touch and pointer functions of user32, looked up at run time so that systems without them
// still run.
#pragma once

#include <windows.h>

namespace ui {

struct TouchFunctions {
  BOOL(WINAPI* register_touch_window)(HWND, ULONG) = nullptr;
  BOOL(WINAPI* unregister_touch_window)(HWND) = nullptr;
  BOOL(WINAPI* get_touch_input_info)(HTOUCHINPUT, UINT, PTOUCHINPUT, int) = nullptr;
  BOOL(WINAPI* close_touch_input_handle)(HTOUCHINPUT) = nullptr;
  BOOL(WINAPI* get_pointer_type)(UINT32, POINTER_INPUT_TYPE*) = nullptr;
  BOOL(WINAPI* get_pointer_touch_info)(UINT32, POINTER_TOUCH_INFO*) = nullptr;
  BOOL(WINAPI* get_pointer_pen_info)(UINT32, POINTER_PEN_INFO*) = nullptr;
};

// The table the wrappers call; resolved once from user32. Tests may overwrite entries.
TouchFunctions& GetTouchFunctions();

bool RegisterTouchWindowWrapper(HWND hwnd);
bool UnregisterTouchWindowWrapper(HWND hwnd);
bool GetTouchInputInfoWrapper(HTOUCHINPUT handle, UINT count, PTOUCHINPUT inputs);
bool CloseTouchInputHandleWrapper(HTOUCHINPUT handle);
bool GetPointerTypeWrapper(UINT32 pointer_id, POINTER_INPUT_TYPE* type);
bool GetPointerTouchInfoWrapper(UINT32 pointer_id, POINTER_TOUCH_INFO* info);
bool GetPointerPenInfoWrapper(UINT32 pointer_id, POINTER_PEN_INFO* info);

}  // namespace ui
