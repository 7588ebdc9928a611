#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "base/ThreadManager.h"
#include "ScriptedThread.h"

// Runs the function in Init of a fresh framework thread and returns its result.
inline bool OnFrameworkThread(const std::function<bool()>& body) {
  bool result = false;
  ScriptedThread thread([&] { result = body(); });
  EXPECT_TRUE(thread.StartWithLoop(base::MessageLoop::kDefaultMessageLoop));
  return result;
}

// Whether another thread could take the identifier right now.
inline bool IdentifierIsFree(int identifier) {
  return OnFrameworkThread([identifier] {
    const bool registered = base::ThreadManager::RegisterThread(identifier);
    if (registered) base::ThreadManager::UnregisterThread();
    return registered;
  });
}
