#include "PostedObjects.h"

#include <map>
#include <mutex>
#include <tuple>
#include <vector>

#include "LogRateLimit.h"
#include "TraceMessage.h"

namespace {

using Key = std::tuple<HWND, UINT, void*>;

struct Registry {
  std::mutex lock;
  std::map<Key, void (*)(void*)> objects;
};

Registry& Objects() {
  static Registry* registry = new Registry;  // outlives every thread that posts
  return *registry;
}

}  // namespace

void PostedObjects::Add(HWND window, UINT message, void* address, Destroy destroy) {
  Registry& registry = Objects();
  std::lock_guard<std::mutex> guard(registry.lock);
  registry.objects[Key(window, message, address)] = destroy;
}

bool PostedObjects::Remove(HWND window, UINT message, void* address) {
  Registry& registry = Objects();
  std::lock_guard<std::mutex> guard(registry.lock);
  return registry.objects.erase(Key(window, message, address)) == 1;
}

void PostedObjects::Ignore(UINT message, LPARAM lParam) {
  static LogRateLimit limit(kIgnoredLinesPerInterval, kIgnoredLineIntervalMs);
  const LogRateLimit::Decision decision = limit.Note(GetTickCount64());
  if (!decision.write) return;
  if (decision.suppressed > 0) {
    TraceMessage(kTraceError, L"PostedObjects %llu more foreign messages were ignored",
                 decision.suppressed);
  }
  TraceMessage(kTraceError, L"PostedObjects Message %#x ignored: lParam %#llx was not posted here",
               message, static_cast<unsigned long long>(lParam));
}

void PostedObjects::Discard(HWND window) {
  std::vector<std::pair<void*, Destroy>> dropped;
  {
    Registry& registry = Objects();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto first = registry.objects.lower_bound(Key(window, 0, nullptr));
    auto last = first;
    for (; last != registry.objects.end() && std::get<0>(last->first) == window; ++last) {
      dropped.emplace_back(std::get<2>(last->first), last->second);
    }
    registry.objects.erase(first, last);
  }
  for (const auto& object : dropped) object.second(object.first);
}
