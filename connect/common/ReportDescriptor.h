#pragma once
#include <QByteArray>

// Number of top-level collections in a HID report descriptor (each becomes one
// "&colNN" interface on Windows).
int top_level_collections(const QByteArray &descriptor);
