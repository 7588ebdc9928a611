#include "ReportDescriptor.h"

namespace {
constexpr unsigned char kLongItem = 0xFE;
constexpr unsigned char kCollection = 0xA0;
constexpr unsigned char kEndCollection = 0xC0;
constexpr unsigned char kTagAndType = 0xFC;
}

int top_level_collections(const QByteArray &descriptor)
{
    int count = 0;
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
        const unsigned char item = prefix & kTagAndType;
        if (item == kCollection && depth++ == 0)
            ++count;
        else if (item == kEndCollection && depth > 0)
            --depth;
        at += 1 + (size_code == 3 ? 4 : size_code);
    }
    return count;
}
