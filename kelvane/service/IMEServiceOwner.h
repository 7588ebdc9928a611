// What the IME service needs of the window that owns it (the main dialog, or a test owner).
#pragma once

#include <windows.h>

class IIMEServiceOwner {
 public:
  // Receives the service's window messages (WM_USER+2 to WM_USER+7); texts travel as a
  // heap CString posted through PostedObjects, which the receiver takes back there.
  virtual HWND GetMessageWindow() = 0;
  // Called on the service's queue thread, which the UI thread may be waiting for in
  // CIMEService::Stop: implementations must not wait for the UI thread (post the change
  // to it instead).
  virtual void SetNetworkStatus(int online, const wchar_t* text) = 0;
  virtual void SetTranslateStatus(int on, const wchar_t* srcName, const wchar_t* dstName) = 0;
  // 16-bit PCM for the spectrum display; called on the microphone's thread.
  virtual void AddSamples(const unsigned char* bytes, unsigned long size) = 0;

 protected:
  ~IIMEServiceOwner() = default;
};
