// HID.DLL for a control device whose path is a HidPipe: the attributes call can be made to
// fail, setting the input buffers switches the pipe to message reads so reports arrive whole,
// and cancels can be made to never complete.
#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

#include "HidApi.h"

// The control device's 17-byte input report for the button pressed or released.
inline std::vector<unsigned char> HidButtonReport(bool pressed) {
  std::vector<unsigned char> report(17, 0);
  report[0] = 0x01;
  report[1] = 0xB0;
  report[2] = pressed ? 0x01 : 0x00;
  report[16] = pressed ? 0x7B : 0x57;
  return report;
}

struct FakeHid {
  FakeHid() {
    current = this;
    Hid() = {GetAttributes, SetNumInputBuffers, CancelIo};
  }
  ~FakeHid() {
    Hid() = SystemHid();
    current = nullptr;
  }

  static BOOLEAN NTAPI GetAttributes(HANDLE, PHIDD_ATTRIBUTES attributes) {
    attributes->VendorID = 0x1234;
    return current->attributesResult;
  }
  static BOOLEAN NTAPI SetNumInputBuffers(HANDLE device, ULONG count) {
    current->inputBuffers = count;
    DWORD mode = PIPE_READMODE_MESSAGE;
    SetNamedPipeHandleState(device, &mode, nullptr, nullptr);
    return current->inputBuffersResult;
  }

  // A driver that never completes a cancelled transfer: the cancel is taken and not done.
  static BOOL WINAPI CancelIo(HANDLE device, LPOVERLAPPED transfer) {
    return current->cancelIgnored ? TRUE : CancelIoEx(device, transfer);
  }

  inline static FakeHid* current = nullptr;
  BOOLEAN attributesResult = TRUE;
  BOOLEAN inputBuffersResult = TRUE;
  std::atomic<ULONG> inputBuffers{0};
  std::atomic<bool> cancelIgnored{false};
};
