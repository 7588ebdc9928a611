#include "MiscThread.h"

#include "base/ThreadManager.h"

MiscThread::MiscThread() : base::FrameworkThread("Global Misc Thread"), thread_identifier_(1) {}

void MiscThread::Init() { base::ThreadManager::RegisterThread(thread_identifier_); }

void MiscThread::Cleanup() { base::ThreadManager::UnregisterThread(); }
