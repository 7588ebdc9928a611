#pragma once

#include <cstdint>
#include <memory>

#include "base/Closure.h"
#include "base/Lock.h"
#include "base/WeakCallback.h"

namespace base {

class MessageLoop;

// A thread-safe handle for posting to one loop. Posts fail (and drop the task unrun)
// once the loop is being destroyed. Made and owned by its loop; copies are shared.
class MessageLoopProxy : public SupportWeakCallback {
 public:
  ~MessageLoopProxy() override = default;

  // Each returns false when the loop is gone; a delay of 0 posts an immediate task.
  virtual bool PostTask(Closure task);
  virtual bool PostDelayedTask(Closure task, int64_t delay_us);
  virtual bool PostNonNestableTask(Closure task);
  virtual bool PostNonNestableDelayedTask(Closure task, int64_t delay_us);

  // True on the thread whose current loop is the target.
  virtual bool BelongsToCurrentThread();

 private:
  friend class MessageLoop;

  explicit MessageLoopProxy(MessageLoop* target);
  static std::shared_ptr<MessageLoopProxy> Create(MessageLoop* target);

  // Called by the loop's destructor: posts fail from now on.
  virtual void WillDestroyCurrentMessageLoop();
  // Runs when the last shared reference goes.
  virtual void OnDestruct();

  template <typename Post>
  bool PostWithLock(Post post);

  Lock lock_;
  MessageLoop* target_;  // guarded by lock_
};

}  // namespace base
