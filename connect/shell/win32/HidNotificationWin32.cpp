#include "HidNotificationWin32.h"

#include <dbt.h>
#include <initguid.h>  // GUID_DEVINTERFACE_HID defined here, not only declared
#include <hidclass.h>

DeviceNotificationApi &device_notification_api()
{
    static DeviceNotificationApi api{RegisterDeviceNotificationW, UnregisterDeviceNotification};
    return api;
}

HDEVNOTIFY register_hid_notifications(HWND window, unsigned long *error)
{
    DEV_BROADCAST_DEVICEINTERFACE_W filter;
    ZeroMemory(&filter, sizeof(filter));
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = GUID_DEVINTERFACE_HID;
    const HDEVNOTIFY registration =
        device_notification_api().register_notification(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!registration)
        *error = GetLastError();
    return registration;
}

bool unregister_hid_notifications(HDEVNOTIFY registration, unsigned long *error)
{
    if (device_notification_api().unregister_notification(registration))
        return true;
    *error = GetLastError();
    return false;
}
