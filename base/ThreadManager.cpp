#include "base/ThreadManager.h"

#include <map>

#include "base/Lock.h"
#include "base/MessageLoop.h"
#include "base/ThreadRecord.h"

namespace base {
namespace {

constexpr int kUIThreadIdentifier = 0;

struct RegisteredThread {
  FrameworkThread* thread;
  std::shared_ptr<MessageLoopProxy> proxy;
};

struct Registry {
  Lock lock;
  std::map<int, RegisteredThread> threads;  // guarded by lock
};

Registry& GetRegistry() {
  static Registry registry;
  return registry;
}

void RemoveEntry(ThreadRecord& record) {
  Registry& registry = GetRegistry();
  AutoLock hold(registry.lock);
  auto it = registry.threads.find(record.managed_identifier);
  if (it != registry.threads.end() && it->second.thread == record.thread) registry.threads.erase(it);
}

}  // namespace

bool ThreadManager::RegisterThread(int identifier) {
  ThreadRecord* record = CurrentThreadRecord();
  if (identifier < 0 || !record) return false;
  if (record->registration_count > 0 && record->managed_identifier != identifier) return false;

  Registry& registry = GetRegistry();
  AutoLock hold(registry.lock);
  MessageLoop* loop = MessageLoop::current();
  auto inserted = registry.threads.emplace(
      identifier, RegisteredThread{record->thread, loop ? loop->message_loop_proxy() : nullptr});
  if (!inserted.second && inserted.first->second.thread != record->thread) return false;
  ++record->registration_count;
  record->managed_identifier = identifier;
  return true;
}

bool ThreadManager::UnregisterThread() {
  ThreadRecord* record = CurrentThreadRecord();
  if (!record || record->registration_count <= 0) return false;
  if (--record->registration_count > 0) return true;
  RemoveEntry(*record);
  record->managed_identifier = -1;
  return true;
}

std::shared_ptr<MessageLoopProxy> ThreadManager::FindThreadProxy() {
  Registry& registry = GetRegistry();
  AutoLock hold(registry.lock);
  auto it = registry.threads.find(kUIThreadIdentifier);
  return it == registry.threads.end() ? nullptr : it->second.proxy;
}

void ThreadManager::UnregisterAll() {
  ThreadRecord* record = CurrentThreadRecord();
  if (!record || record->registration_count <= 0) return;
  RemoveEntry(*record);
  record->registration_count = 0;
  record->managed_identifier = -1;
}

}  // namespace base
