#include "NetworkCheck.h"

#include <windows.h>

#include <netlistmgr.h>

namespace {

// {DCB00C01-570F-4A9B-8D69-199FDBA5723B}
const CLSID kNetworkListManager = {
    0xDCB00C01, 0x570F, 0x4A9B, {0x8D, 0x69, 0x19, 0x9F, 0xDB, 0xA5, 0x72, 0x3B}};
// {DCB00000-570F-4A9B-8D69-199FDBA5723B}
const IID kINetworkListManager = {
    0xDCB00000, 0x570F, 0x4A9B, {0x8D, 0x69, 0x19, 0x9F, 0xDB, 0xA5, 0x72, 0x3B}};

bool IsConnected() {
  IUnknown* unknown = nullptr;
  if (FAILED(CoCreateInstance(kNetworkListManager, nullptr, CLSCTX_ALL, IID_IUnknown,
                              reinterpret_cast<void**>(&unknown)))) {
    return true;
  }
  bool connected = true;
  INetworkListManager* manager = nullptr;
  if (SUCCEEDED(unknown->QueryInterface(kINetworkListManager, reinterpret_cast<void**>(&manager)))) {
    VARIANT_BOOL value = VARIANT_TRUE;
    if (SUCCEEDED(manager->IsConnectedToInternet(&value))) connected = value == VARIANT_TRUE;
    manager->Release();
  }
  unknown->Release();
  return connected;
}

}  // namespace

int CheckInternetConnection() {
  const HRESULT init = CoInitialize(nullptr);
  const bool connected = IsConnected();
  if (SUCCEEDED(init)) CoUninitialize();
  return connected ? 0 : kNetworkDown;
}
