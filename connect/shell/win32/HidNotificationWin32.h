#pragma once
// Registers a window for arrival and removal notices of HID device interfaces.

// window: the HWND; on failure *error receives GetLastError().
bool register_hid_notifications(void *window, unsigned long *error);
