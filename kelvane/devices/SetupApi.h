// The SetupAPI calls that list device interfaces and read their properties, through one table.
#pragma once

#include <windows.h>

#include <devpropdef.h>
#include <setupapi.h>

struct SetupApi {
  HDEVINFO(WINAPI* getClassDevs)(const GUID* classGuid, PCWSTR enumerator, HWND parent,
                                 DWORD flags);
  BOOL(WINAPI* enumDeviceInterfaces)(HDEVINFO list, PSP_DEVINFO_DATA device,
                                     const GUID* interfaceGuid, DWORD index,
                                     PSP_DEVICE_INTERFACE_DATA interfaceData);
  BOOL(WINAPI* getDeviceInterfaceDetail)(HDEVINFO list, PSP_DEVICE_INTERFACE_DATA interfaceData,
                                         PSP_DEVICE_INTERFACE_DETAIL_DATA_W detail,
                                         DWORD detailSize, PDWORD requiredSize,
                                         PSP_DEVINFO_DATA device);
  BOOL(WINAPI* getDeviceProperty)(HDEVINFO list, PSP_DEVINFO_DATA device, const DEVPROPKEY* key,
                                  DEVPROPTYPE* type, PBYTE buffer, DWORD size,
                                  PDWORD requiredSize, DWORD flags);
  BOOL(WINAPI* destroyDeviceInfoList)(HDEVINFO list);
};

// The table in use; its entries are SetupAPI's own unless replaced.
SetupApi& Setup();

// SetupAPI's own entries.
const SetupApi& SystemSetup();
