#include "ReportDescriptor.h"

namespace {
constexpr unsigned char kLongItem = 0xFE;
constexpr unsigned char kCollection = 0xA0;
constexpr unsigned char kEndCollection = 0xC0;
constexpr unsigned char kUsagePage = 0x04;
constexpr unsigned char kUsage = 0x08;
constexpr unsigned char kTagAndType = 0xFC;
constexpr unsigned char kMainType = 0x00;
constexpr unsigned char kTypeMask = 0x0C;

// The item's data, little-endian; bytes past the end of the descriptor count as 0.
quint32 item_data(const QByteArray &descriptor, int at, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size && at + 1 + i < descriptor.size(); ++i)
        value |= quint32(static_cast<unsigned char>(descriptor[at + 1 + i])) << (8 * i);
    return value;
}
}

QList<CollectionUsage> top_level_collection_usages(const QByteArray &descriptor)
{
    QList<CollectionUsage> collections;
    quint16 usage_page = 0;
    quint16 usage = 0;
    bool usage_seen = false;
    int depth = 0;
    int at = 0;
    while (at < descriptor.size()) {
        const auto prefix = static_cast<unsigned char>(descriptor[at]);
        if (prefix == kLongItem) {
            const int data_size = at + 1 < descriptor.size() ? static_cast<unsigned char>(descriptor[at + 1]) : 0;
            at += 3 + data_size;
            continue;
        }
        const int size_code = prefix & 0x03;
        const int data_size = size_code == 3 ? 4 : size_code;
        const unsigned char item = prefix & kTagAndType;
        if (item == kUsagePage) {
            usage_page = quint16(item_data(descriptor, at, data_size));
        } else if (item == kUsage && !usage_seen) {
            usage = quint16(item_data(descriptor, at, data_size));
            usage_seen = true;
        } else if (item == kCollection && depth++ == 0) {
            collections.append({usage_page, usage});
        } else if (item == kEndCollection && depth > 0) {
            --depth;
        }
        if ((item & kTypeMask) == kMainType) {  // local items last until the next main item
            usage = 0;
            usage_seen = false;
        }
        at += 1 + data_size;
    }
    return collections;
}

int top_level_collections(const QByteArray &descriptor)
{
    return top_level_collection_usages(descriptor).size();
}
