// The exported entry points: each takes the lock, runs the engine and writes a journal line.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "MscApi.h"
#include "MscEngine.h"

namespace {

std::mutex engineLock;
MscEngine engine;

// Appends one line to the file named by MSC_JOURNAL_VARIABLE, when it is set.
void Journal(const char* format, ...) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(MSC_JOURNAL_VARIABLE, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  FILE* file = _wfopen(path, L"ab");
  if (file == nullptr) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file, format, args);
  va_end(args);
  std::fputc('\n', file);
  std::fclose(file);
}

int ErrorOf(const int* errorCode) { return errorCode != nullptr ? *errorCode : -1; }

}  // namespace

extern "C" {

int MSCAPI MSPLogin(const char* user, const char* password, const char* params) {
  std::lock_guard<std::mutex> lock(engineLock);
  const int error = engine.Login(params);
  Journal("MSPLogin %d", error);
  return error;
}

int MSCAPI MSPLogout(void) {
  std::lock_guard<std::mutex> lock(engineLock);
  const int error = engine.Logout();
  Journal("MSPLogout %d", error);
  return error;
}

const char* MSCAPI QISRSessionBegin(const char* grammarList, const char* params, int* errorCode) {
  std::lock_guard<std::mutex> lock(engineLock);
  const char* session = engine.SessionBegin(params, errorCode);
  Journal("QISRSessionBegin %d %s", ErrorOf(errorCode), params != nullptr ? params : "");
  return session;
}

int MSCAPI QISRSessionEnd(const char* sessionId, const char* hints) {
  std::lock_guard<std::mutex> lock(engineLock);
  const int error = engine.SessionEnd(sessionId);
  Journal("QISRSessionEnd %d %s", error, hints != nullptr ? hints : "");
  return error;
}

int MSCAPI QISRAudioWrite(const char* sessionId, const void* waveData, unsigned int waveLength,
                          int audioStatus, int* endpointStatus, int* recognitionStatus) {
  std::lock_guard<std::mutex> lock(engineLock);
  const int error = engine.AudioWrite(sessionId, waveData, waveLength, audioStatus,
                                      endpointStatus, recognitionStatus);
  Journal("QISRAudioWrite %d status=%d bytes=%u", error, audioStatus, waveLength);
  return error;
}

const char* MSCAPI QISRGetResult(const char* sessionId, int* recognitionStatus, int waitTime,
                                 int* errorCode) {
  std::lock_guard<std::mutex> lock(engineLock);
  const char* result = engine.GetResult(sessionId, recognitionStatus, errorCode);
  Journal("QISRGetResult %d", ErrorOf(errorCode));
  return result;
}

}  // extern "C"
