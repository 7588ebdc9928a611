#pragma once
// What the system knows about a hidraw node beyond hidapi's record. Defined by the
// sysfs reader in the program and by the simulated bus in tests and the demo.
#include <QByteArray>
#include <QString>

struct HidNodeInfo {
    QString physical_path;        // the kernel's HID_PHYS, e.g. "usb-0000:00:14.0-2/input1"
    QByteArray report_descriptor;
};

// node: hidapi's path of the device ("/dev/hidraw3"); false when the node is unknown.
bool hid_node_info(const char *node, HidNodeInfo *info);

struct hid_device_;
// The program holds the handle to one top-level collection of the node (1-based). A hidraw
// node serves all its collections alike; the simulated bus holds the handle to it, as
// Windows does with its handle per collection.
void hid_node_collection(hid_device_ *device, int collection);
