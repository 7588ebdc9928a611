#include "base/MessageLoopProxy.h"

#include "base/MessageLoop.h"

namespace base {

MessageLoopProxy::MessageLoopProxy(MessageLoop* target) : target_(target) {}

std::shared_ptr<MessageLoopProxy> MessageLoopProxy::Create(MessageLoop* target) {
  return std::shared_ptr<MessageLoopProxy>(new MessageLoopProxy(target),
                                           [](MessageLoopProxy* proxy) { proxy->OnDestruct(); });
}

// The lock is held across the post, so the loop cannot be destroyed half-way through it.
template <typename Post>
bool MessageLoopProxy::PostWithLock(Post post) {
  AutoLock hold(lock_);
  if (!target_) return false;
  post(target_);
  return true;
}

bool MessageLoopProxy::PostTask(Closure task) {
  return PostWithLock([&](MessageLoop* loop) { loop->PostTask(std::move(task)); });
}

bool MessageLoopProxy::PostDelayedTask(Closure task, int64_t delay_us) {
  if (delay_us == 0) return PostTask(std::move(task));
  return PostWithLock([&](MessageLoop* loop) { loop->PostDelayedTask(std::move(task), delay_us); });
}

bool MessageLoopProxy::PostNonNestableTask(Closure task) {
  return PostWithLock([&](MessageLoop* loop) { loop->PostNonNestableTask(std::move(task)); });
}

bool MessageLoopProxy::PostNonNestableDelayedTask(Closure task, int64_t delay_us) {
  if (delay_us == 0) return PostNonNestableTask(std::move(task));
  return PostWithLock([&](MessageLoop* loop) { loop->PostNonNestableDelayedTask(std::move(task), delay_us); });
}

bool MessageLoopProxy::BelongsToCurrentThread() {
  AutoLock hold(lock_);
  return target_ && target_ == MessageLoop::current();
}

void MessageLoopProxy::WillDestroyCurrentMessageLoop() {
  AutoLock hold(lock_);
  target_ = nullptr;
}

void MessageLoopProxy::OnDestruct() {
  {
    AutoLock hold(lock_);
    if (target_ && target_ != MessageLoop::current()) {
      // Deleted on the loop's thread with the task, run or dropped; the deleter waits until
      // this call has let go of the lock.
      std::shared_ptr<MessageLoopProxy> self(this, [](MessageLoopProxy* proxy) {
        { AutoLock wait(proxy->lock_); }
        delete proxy;
      });
      target_->PostNonNestableTask([self] {});
      return;
    }
  }
  delete this;
}

}  // namespace base
