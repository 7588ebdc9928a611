#pragma once
// The HID devices as the rest of connect sees them: every interface (and every
// top-level collection of it) under a lower-case Windows-style device-interface path,
//   \\?\hid#vid_e4a9&pid_9d09&mi_01&col03#7&<hash>&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030}
// where <hash> is a stable hash of the device's physical (port) path. Opening maps
// such a path back to hidapi's node.
#include <QList>
#include <QString>

struct hid_device_;
typedef struct hid_device_ hid_device;

struct HidInterface {
    QString path;
    quint16 vendor_id = 0;
    quint16 product_id = 0;
    QString serial_number;  // empty when the device reports none
    QByteArray node;        // hidapi's path
};

// The bus is read on the GUI thread only, once per change: refresh() at start-up and on each
// device event; everything else works from the list it keeps.
namespace HidBus {

// Enumerates every interface again. False when the enumeration failed: the last list stays.
// A node whose facts cannot be read keeps those read before, so its paths do not change;
// a new node without readable facts waits for the next refresh.
bool refresh();

// Whether the last successful refresh left out a new node whose facts could not be read.
bool nodes_left_out();

// The interfaces found by the last successful refresh, in hidapi's order, of the given ids
// (0 matches any).
QList<HidInterface> attached(quint16 vendor_id = 0, quint16 product_id = 0);

// Opens the node behind a path given by attached(), whatever its letter case and instance
// number; any collection of the same interface opens the same node, which holds the path's
// collection (on Windows: the record of that collection). A path the list does not know (or
// whose node no longer opens) is looked up in a fresh enumeration, which does not replace the
// list. Null when no such device is attached; a path no enumeration lists, or a hidraw node
// now serving another device, is not opened at all.
hid_device *open_path(const QString &path);

// collection: 1-based, 0 when the interface has a single collection.
QString interface_path(quint16 vendor_id, quint16 product_id, int interface_number, int collection,
                       const QString &physical_path);

} // namespace HidBus
