#pragma once
#include <QByteArray>
#include <QList>

// The usage of a top-level collection of a HID report descriptor.
struct CollectionUsage {
    quint16 usage_page = 0;
    quint16 usage = 0;
};

// The top-level collections of a HID report descriptor, in order (on Windows each becomes one
// "&colNN" interface, reported with its usage page and usage).
QList<CollectionUsage> top_level_collection_usages(const QByteArray &descriptor);
int top_level_collections(const QByteArray &descriptor);
