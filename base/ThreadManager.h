#pragma once

#include <memory>

namespace base {

class MessageLoopProxy;

// Process-wide registry of framework threads by small identifiers; 0 is the UI thread.
// A thread registers and unregisters itself, normally in its Init and Cleanup.
class ThreadManager {
 public:
  // False for a negative identifier, outside a FrameworkThread, for an identifier held
  // by another thread, or while the caller holds a different identifier. Registering
  // the same identifier again is counted.
  static bool RegisterThread(int identifier);
  // Drops one registration of the calling thread; false when it holds none.
  static bool UnregisterThread();
  // The loop proxy of thread 0, or empty when none is registered.
  static std::shared_ptr<MessageLoopProxy> FindThreadProxy();

 private:
  friend class FrameworkThread;

  // Removes what the calling thread still holds; its record is about to go.
  static void UnregisterAll();
};

}  // namespace base
