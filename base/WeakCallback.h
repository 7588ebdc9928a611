#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace base {

// Lives as long as its owner; callbacks hold it weakly to learn whether the owner is gone.
class WeakFlag {};

// Binds a callable to the lifetime of a SupportWeakCallback: once the owner's flag is
// gone the call does nothing and returns a value-initialised result.
template <typename Callable>
class WeakCallback {
 public:
  WeakCallback(std::weak_ptr<WeakFlag> flag, Callable callable)
      : flag_(std::move(flag)), callable_(std::move(callable)) {}

  template <typename... Args>
  auto operator()(Args&&... args) const
      -> decltype(std::declval<const Callable&>()(std::forward<Args>(args)...)) {
    using Result = decltype(callable_(std::forward<Args>(args)...));
    if (Expired()) return Result();
    return callable_(std::forward<Args>(args)...);
  }

  bool Expired() const { return flag_.expired(); }

 private:
  std::weak_ptr<WeakFlag> flag_;
  Callable callable_;
};

// Owner side of weak callbacks. The flag is created on first use and released by the
// destructor; callbacks must run on the thread that destroys the owner.
class SupportWeakCallback {
 public:
  SupportWeakCallback() = default;
  // A copy is a different owner: it never shares the original's flag.
  SupportWeakCallback(const SupportWeakCallback&) {}
  SupportWeakCallback& operator=(const SupportWeakCallback&) { return *this; }
  virtual ~SupportWeakCallback() = default;

  std::weak_ptr<WeakFlag> GetWeakFlag() {
    if (!weak_flag_) weak_flag_ = std::make_shared<WeakFlag>();
    return weak_flag_;
  }

  template <typename Callable>
  WeakCallback<std::decay_t<Callable>> MakeWeakCallback(Callable&& callable) {
    return WeakCallback<std::decay_t<Callable>>(GetWeakFlag(), std::forward<Callable>(callable));
  }

 protected:
  void ReleaseWeakFlag() { weak_flag_.reset(); }

 private:
  std::shared_ptr<WeakFlag> weak_flag_;
};

// A cancellation token: Cancel kills every callback bound so far; later bindings work.
class WeakCallbackFlag : public SupportWeakCallback {
 public:
  void Cancel() { ReleaseWeakFlag(); }
};

}  // namespace base
