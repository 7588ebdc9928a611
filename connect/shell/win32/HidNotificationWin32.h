#pragma once
// Registers a window for arrival and removal notices of HID device interfaces.
#include <windows.h>

// The system calls of the registration; tests may replace them.
struct DeviceNotificationApi {
    HDEVNOTIFY(WINAPI *register_notification)(HANDLE recipient, LPVOID filter, DWORD flags);
    BOOL(WINAPI *unregister_notification)(HDEVNOTIFY registration);
};

// The table in use; its entries are the system's own unless replaced.
DeviceNotificationApi &device_notification_api();

// Null, with GetLastError() in *error, when the system refused.
HDEVNOTIFY register_hid_notifications(HWND window, unsigned long *error);
// False, with GetLastError() in *error, when the system refused.
bool unregister_hid_notifications(HDEVNOTIFY registration, unsigned long *error);
