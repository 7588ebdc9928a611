// A program for the spoken-command tests: sets the named event given as its argument, or
// named by the AI_STUB_EVENT environment variable when started without one.
#include <windows.h>

int main(int argc, char** argv) {
  char variable[256];
  const DWORD length = GetEnvironmentVariableA("AI_STUB_EVENT", variable, sizeof variable);
  const char* eventName = argc >= 2                                 ? argv[1]
                          : length > 0 && length < sizeof variable ? variable
                                                                   : nullptr;
  if (eventName == nullptr) return 2;
  HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName);
  if (event == nullptr) return 1;
  SetEvent(event);
  CloseHandle(event);
  return 0;
}
