// The HID.DLL calls of the HID control device, and the cancel of its transfers (which a
// driver may never complete), reached through one table.
#pragma once

#include <windows.h>

extern "C" {
#include <hidsdi.h>
}

struct HidApi {
  BOOLEAN(NTAPI* getAttributes)(HANDLE device, PHIDD_ATTRIBUTES attributes);
  BOOLEAN(NTAPI* setNumInputBuffers)(HANDLE device, ULONG count);
  BOOL(WINAPI* cancelIo)(HANDLE device, LPOVERLAPPED transfer);
};

// The table in use; its entries are HID.DLL's own unless replaced.
HidApi& Hid();

// HID.DLL's and the kernel's own entries.
const HidApi& SystemHid();
