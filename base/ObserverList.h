#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace base {

// Observers that may be added or removed while they are being notified: removal during a
// notification leaves a hole that is compacted once the outermost notification ends.
template <typename Observer>
class ObserverList {
 public:
  void AddObserver(Observer* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
      observers_.push_back(observer);
  }

  void RemoveObserver(Observer* observer) {
    auto it = std::find(observers_.begin(), observers_.end(), observer);
    if (it == observers_.end()) return;
    *it = nullptr;
    Compact();
  }

  template <typename Notify>
  void ForEach(Notify notify) {
    if (observers_.empty()) return;
    ++notify_depth_;
    for (std::size_t i = 0; i < observers_.size(); ++i) {
      if (observers_[i]) notify(observers_[i]);
    }
    --notify_depth_;
    Compact();
  }

 private:
  void Compact() {
    if (notify_depth_ > 0) return;
    observers_.erase(std::remove(observers_.begin(), observers_.end(), nullptr), observers_.end());
  }

  std::vector<Observer*> observers_;
  int notify_depth_ = 0;
};

}  // namespace base
