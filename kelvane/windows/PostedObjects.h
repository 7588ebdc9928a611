// Heap objects handed to a window with PostMessage, their address in lParam. Every window of
// the desktop can post any message to Kelvane's windows, so a receiver takes back only an
// object this process posted to it with that message and has not taken yet: a foreign
// lParam is never dereferenced.
#pragma once

#include <windows.h>

#include <memory>

class PostedObjects {
 public:
  // Posts the object's address; the object is freed (once) when the post fails.
  template <typename T, typename Deleter>
  static bool Post(HWND window, UINT message, WPARAM wParam, std::unique_ptr<T, Deleter> object) {
    if (window == nullptr || object == nullptr) return false;
    void* address = object.get();
    Add(window, message, address, [](void* posted) { Deleter()(static_cast<T*>(posted)); });
    const bool posted = PostMessageW(window, message, wParam, reinterpret_cast<LPARAM>(address));
    // Unless the post failed and the object is still registered, the receiver or a Discard
    // of the window owns it now.
    if (posted || !Remove(window, message, address)) object.release();
    return posted;
  }

  // The object posted to the window with this message at lParam, now owned by the caller;
  // null, with a log line (rate-limited), for an lParam that names no such object.
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

  // Any program may post these messages, so the line about an ignored one is bounded: this
  // many per interval, then one line with the count of those held back.
  static constexpr unsigned kIgnoredLinesPerInterval = 10;
  static constexpr unsigned long long kIgnoredLineIntervalMs = 10000;

 private:
  using Destroy = void (*)(void*);
  static void Add(HWND window, UINT message, void* address, Destroy destroy);
  static bool Remove(HWND window, UINT message, void* address);
  static void Ignore(UINT message, LPARAM lParam);
};
