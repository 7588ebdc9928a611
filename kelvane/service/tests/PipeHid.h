// HID.DLL for a control device whose path is a HidPipe: the attributes call succeeds, and
// setting the input buffers switches the pipe to message reads so reports arrive whole.
#pragma once

#include <windows.h>

#include "HidApi.h"

class PipeHid {
 public:
  PipeHid() { Hid() = {GetAttributes, SetNumInputBuffers}; }
  ~PipeHid() { Hid() = SystemHid(); }
  PipeHid(const PipeHid&) = delete;
  PipeHid& operator=(const PipeHid&) = delete;

 private:
  static BOOLEAN NTAPI GetAttributes(HANDLE, PHIDD_ATTRIBUTES) { return TRUE; }
  static BOOLEAN NTAPI SetNumInputBuffers(HANDLE device, ULONG) {
    DWORD mode = PIPE_READMODE_MESSAGE;
    return SetNamedPipeHandleState(device, &mode, nullptr, nullptr) ? TRUE : FALSE;
  }
};
