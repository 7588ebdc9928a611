#include "StoreLog.h"

#include <windows.h>

#include <mutex>
#include <utility>

namespace {

std::mutex sink_mutex;
StoreLogSink current_sink;  // guarded by sink_mutex; empty = debugger output

}  // namespace

StoreLogSink SetStoreLogSink(StoreLogSink sink) {
  std::lock_guard<std::mutex> hold(sink_mutex);
  std::swap(current_sink, sink);
  return sink;
}

void LogStoreProblem(const std::wstring& line) {
  std::lock_guard<std::mutex> hold(sink_mutex);
  if (current_sink) {
    current_sink(line);
    return;
  }
  OutputDebugStringW((line + L"\n").c_str());
}
