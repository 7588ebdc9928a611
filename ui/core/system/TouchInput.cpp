#include "system/TouchInput.h"

namespace ui {
namespace {

static_assert(sizeof(TOUCHINPUT) == 48, "one TOUCHINPUT record is 48 bytes");

template <typename Function>
Function Resolve(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

TouchFunctions ResolveTouchFunctions() {
  TouchFunctions functions;
  functions.register_touch_window =
      Resolve<decltype(functions.register_touch_window)>("RegisterTouchWindow");
  functions.unregister_touch_window =
      Resolve<decltype(functions.unregister_touch_window)>("UnregisterTouchWindow");
  functions.get_touch_input_info =
      Resolve<decltype(functions.get_touch_input_info)>("GetTouchInputInfo");
  functions.close_touch_input_handle =
      Resolve<decltype(functions.close_touch_input_handle)>("CloseTouchInputHandle");
  functions.get_pointer_type = Resolve<decltype(functions.get_pointer_type)>("GetPointerType");
  functions.get_pointer_touch_info =
      Resolve<decltype(functions.get_pointer_touch_info)>("GetPointerTouchInfo");
  functions.get_pointer_pen_info =
      Resolve<decltype(functions.get_pointer_pen_info)>("GetPointerPenInfo");
  return functions;
}

// Calls `function` when it exists; true only when it returned 1.
template <typename Function, typename... Args>
bool CallIfPresent(Function function, Args... args) {
  return function != nullptr && function(args...) == 1;
}

}  // namespace

TouchFunctions& GetTouchFunctions() {
  static TouchFunctions functions = ResolveTouchFunctions();
  return functions;
}

bool RegisterTouchWindowWrapper(HWND hwnd) {
  return CallIfPresent(GetTouchFunctions().register_touch_window, hwnd, ULONG{0});
}

bool UnregisterTouchWindowWrapper(HWND hwnd) {
  return CallIfPresent(GetTouchFunctions().unregister_touch_window, hwnd);
}

bool GetTouchInputInfoWrapper(HTOUCHINPUT handle, UINT count, PTOUCHINPUT inputs) {
  return CallIfPresent(GetTouchFunctions().get_touch_input_info, handle, count, inputs,
                       static_cast<int>(sizeof(TOUCHINPUT)));
}

bool CloseTouchInputHandleWrapper(HTOUCHINPUT handle) {
  return CallIfPresent(GetTouchFunctions().close_touch_input_handle, handle);
}

bool GetPointerTypeWrapper(UINT32 pointer_id, POINTER_INPUT_TYPE* type) {
  return CallIfPresent(GetTouchFunctions().get_pointer_type, pointer_id, type);
}

bool GetPointerTouchInfoWrapper(UINT32 pointer_id, POINTER_TOUCH_INFO* info) {
  return CallIfPresent(GetTouchFunctions().get_pointer_touch_info, pointer_id, info);
}

bool GetPointerPenInfoWrapper(UINT32 pointer_id, POINTER_PEN_INFO* info) {
  return CallIfPresent(GetTouchFunctions().get_pointer_pen_info, pointer_id, info);
}

}  // namespace ui
