#include "FakeHidBus.h"

#include "common/HidBus.h"
#include "common/HidNodeInfo.h"
#include "common/ReportDescriptor.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

struct hid_device_ {
    std::string node;
    int collection = 0;  // 0: the whole node
    bool nonblocking = false;
    std::deque<fakehid::Bytes> replies;
};

namespace fakehid {
namespace {

struct Bus {
    std::map<std::string, Device> devices;
    std::vector<std::string> log;
    std::multimap<std::string, int> failures;  // function -> calls to let pass first
    int next_node = 0;
};

Bus &bus()
{
    static Bus instance;
    return instance;
}

bool scripted_failure(const std::string &function, const std::string &argument)
{
    bus().log.push_back(argument.empty() ? function : function + " " + argument);
    bool fails = false;
    const auto [first, last] = bus().failures.equal_range(function);
    for (auto it = first; it != last;) {
        if (it->second == 0 && !fails) {
            fails = true;
            it = bus().failures.erase(it);
            continue;
        }
        if (it->second > 0)
            --it->second;
        ++it;  // a second failure due now fails the next call
    }
    return fails;
}

// Whether the handle's collection takes this report; the whole node takes every one.
bool accepts(const hid_device_ &handle, const Device &device, const Bytes &report)
{
    if (handle.collection == 0 || device.collection_reports.empty())
        return true;
    const auto it = device.collection_reports.find(handle.collection);
    return it != device.collection_reports.end() && !report.empty() && report[0] == it->second;
}

wchar_t *copy_wide(const std::wstring &text)
{
    auto *copy = static_cast<wchar_t *>(std::calloc(text.size() + 1, sizeof(wchar_t)));
    std::copy(text.begin(), text.end(), copy);
    return copy;
}

hid_device_info *make_record(const std::string &path, const Device &device)
{
    auto *record = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
    record->path = strdup(path.c_str());
    record->vendor_id = device.vendor_id;
    record->product_id = device.product_id;
    record->serial_number = device.serial_number ? copy_wide(*device.serial_number) : nullptr;
    record->interface_number = device.interface_number;
    record->bus_type = HID_API_BUS_USB;
    return record;
}

QByteArray descriptor_of(const Device &device)
{
    return QByteArray(reinterpret_cast<const char *>(device.report_descriptor.data()), int(device.report_descriptor.size()));
}

#ifdef _WIN32
struct WindowsInterface {
    std::string path;
    CollectionUsage usage;
    int collection = 0;  // 0: the device's only collection
};

// hidapi's Windows backend lists every top-level collection on its own, under its
// device-interface path (numbered "&colNN" when there are several), with its usage.
std::vector<WindowsInterface> windows_interfaces(const Device &device)
{
    QList<CollectionUsage> usages = top_level_collection_usages(descriptor_of(device));
    if (usages.isEmpty())
        usages.append(CollectionUsage());
    std::vector<WindowsInterface> interfaces;
    for (int i = 0; i < usages.size(); ++i) {
        const int collection = usages.size() > 1 ? i + 1 : 0;
        const QString path = HidBus::interface_path(device.vendor_id, device.product_id, device.interface_number,
                                                    collection, QString::fromStdString(device.physical_path));
        interfaces.push_back({path.toStdString(), usages[i], collection});
    }
    return interfaces;
}
#endif

// The device's records as the running system's hidapi gives them.
void append_records([[maybe_unused]] const std::string &node, const Device &device, hid_device_info ***tail)
{
#ifdef _WIN32
    for (const WindowsInterface &interface : windows_interfaces(device)) {
        hid_device_info *record = make_record(interface.path, device);
        record->usage_page = interface.usage.usage_page;
        record->usage = interface.usage.usage;
        **tail = record;
        *tail = &record->next;
    }
#else
    **tail = make_record(node, device);
    *tail = &(**tail)->next;
#endif
}

struct Target {
    std::string node;    // empty: no device has the path
    int collection = 0;  // 0: the whole node
};

// What a path of hidapi's opens: on Windows the one collection of its record.
Target target_of(const std::string &path)
{
#ifdef _WIN32
    const QString wanted = QString::fromStdString(path);
    for (const auto &[node, device] : bus().devices)
        for (const WindowsInterface &interface : windows_interfaces(device))
            if (wanted.compare(QString::fromStdString(interface.path), Qt::CaseInsensitive) == 0)
                return {node, interface.collection};
    return {};
#else
    return {bus().devices.count(path) ? path : std::string(), 0};
#endif
}

hid_device *open_target(const std::string &path, const Target &target)
{
    if (scripted_failure("hid_open_path", target.node.empty() ? path : target.node) || target.node.empty())
        return nullptr;
    auto *device = new hid_device_;
    device->node = target.node;
    device->collection = target.collection;
    return device;
}

} // namespace

std::string plug(Device device)
{
    const std::string node = "/dev/hidraw" + std::to_string(bus().next_node++);
    bus().devices[node] = std::move(device);
    return node;
}

void unplug(const std::string &node)
{
    bus().devices.erase(node);
}

void reset()
{
    bus() = Bus();
}

const std::vector<std::string> &call_log()
{
    return bus().log;
}

int calls(const std::string &prefix)
{
    const auto &log = bus().log;
    return int(std::count_if(log.begin(), log.end(), [&](const std::string &line) { return line.rfind(prefix, 0) == 0; }));
}

hid_device *open_node(const std::string &node)
{
    return open_target(node, {bus().devices.count(node) ? node : std::string(), 0});
}

void note(const std::string &line)
{
    bus().log.push_back(line);
}

void fail_next(const std::string &function, int skip)
{
    bus().failures.emplace(function, skip);
}

Bytes descriptor_with_collections(int count)
{
    Bytes descriptor;
    for (int i = 0; i < count; ++i) {
        const Bytes collection = {0x06, 0x00, 0xFF, 0x09, std::uint8_t(i + 1), 0xA1, 0x01,
                                  0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
                                  0x95, 0x20, 0x81, 0x02, 0xC0};
        descriptor.insert(descriptor.end(), collection.begin(), collection.end());
    }
    return descriptor;
}

} // namespace fakehid

using fakehid::bus;

bool hid_node_info(const char *node, HidNodeInfo *info)
{
    if (fakehid::scripted_failure("hid_node_info", node))
        return false;
    const auto it = bus().devices.find(node);
    if (it == bus().devices.end())
        return false;
    info->physical_path = QString::fromStdString(it->second.physical_path);
    info->report_descriptor = fakehid::descriptor_of(it->second);
    return true;
}

void hid_node_collection(hid_device *device, int collection)
{
    device->collection = collection;
}

extern "C" {

hid_device_info *hid_enumerate(unsigned short vendor_id, unsigned short product_id)
{
    if (fakehid::scripted_failure("hid_enumerate", ""))
        return nullptr;
    hid_device_info *head = nullptr;
    hid_device_info **tail = &head;
    for (const auto &[node, device] : bus().devices) {
        if ((vendor_id && device.vendor_id != vendor_id) || (product_id && device.product_id != product_id))
            continue;
        fakehid::append_records(node, device, &tail);
    }
    return head;
}

void hid_free_enumeration(hid_device_info *devices)
{
    while (devices) {
        hid_device_info *next = devices->next;
        std::free(devices->path);
        std::free(devices->serial_number);
        std::free(devices);
        devices = next;
    }
}

hid_device *hid_open_path(const char *path)
{
    return fakehid::open_target(path, fakehid::target_of(path));
}

int hid_write(hid_device *device, const unsigned char *data, size_t length)
{
    if (fakehid::scripted_failure("hid_write", device->node))
        return -1;
    const auto it = bus().devices.find(device->node);
    if (it == bus().devices.end())
        return -1;
    const fakehid::Bytes written(data, data + length);
    if (!fakehid::accepts(*device, it->second, written)) {
        fakehid::note("report " + std::to_string(length ? data[0] : 0) + " refused by collection "
                      + std::to_string(device->collection));
        return -1;
    }
    // A copy: the device may be unplugged while it answers.
    const auto respond = it->second.respond;
    if (respond)
        if (auto reply = respond(written))
            device->replies.push_back(*reply);
    return int(length);
}

int hid_read_timeout(hid_device *device, unsigned char *data, size_t length, int /*milliseconds*/)
{
    if (fakehid::scripted_failure("hid_read_timeout", device->node) || !bus().devices.count(device->node))
        return -1;
    if (device->replies.empty())
        return 0;
    const fakehid::Bytes reply = device->replies.front();
    device->replies.pop_front();
    const size_t count = std::min(length, reply.size());
    if (count > 0)  // an empty reply has no bytes to copy from
        std::memcpy(data, reply.data(), count);
    return int(count);
}

int hid_read(hid_device *device, unsigned char *data, size_t length)
{
    return hid_read_timeout(device, data, length, device->nonblocking ? 0 : -1);
}

int hid_set_nonblocking(hid_device *device, int nonblock)
{
    if (fakehid::scripted_failure("hid_set_nonblocking", device->node))
        return -1;
    device->nonblocking = nonblock != 0;
    return 0;
}

void hid_close(hid_device *device)
{
    if (device)
        bus().log.push_back("hid_close " + device->node);
    delete device;
}

} // extern "C"
