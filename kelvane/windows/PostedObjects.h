// Heap objects handed to a window with PostMessage, their address in lParam. Every window of
// the desktop can post any message to Kelvane's windows, so a receiver takes back only an
// object this process posted to it with that message and has not taken yet: a foreign
// lParam is never dereferenced.
#pragma once

#include <windows.h>

#include <memory>

class PostedObjects {
 public:
  // Posts the object's address; the object is freed when the post fails.
  template <typename T, typename Deleter>
  static bool Post(HWND window, UINT message, WPARAM wParam, std::unique_ptr<T, Deleter> object) {
    if (window == nullptr || object == nullptr) return false;
    void* address = object.get();
    Add(window, message, address, [](void* posted) { Deleter()(static_cast<T*>(posted)); });
    if (!PostMessageW(window, message, wParam, reinterpret_cast<LPARAM>(address))) {
      Remove(window, message, address);
      return false;
    }
    object.release();
    return true;
  }

  // The object posted to the window with this message at lParam, now owned by the caller;
  // null, with one log line, for an lParam that names no such object.
  template <typename T, typename Deleter = std::default_delete<T>>
  static std::unique_ptr<T, Deleter> Take(HWND window, UINT message, LPARAM lParam) {
    void* address = reinterpret_cast<void*>(lParam);
    if (!Remove(window, message, address)) {
      Ignore(message, lParam);
      return nullptr;
    }
    return std::unique_ptr<T, Deleter>(static_cast<T*>(address));
  }

  // Frees the objects posted to the window and not taken: for a window that is going.
  static void Discard(HWND window);

 private:
  using Destroy = void (*)(void*);
  static void Add(HWND window, UINT message, void* address, Destroy destroy);
  static bool Remove(HWND window, UINT message, void* address);
  static void Ignore(UINT message, LPARAM lParam);
};
