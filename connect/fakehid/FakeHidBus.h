#pragma once
// A simulated HID bus behind hidapi's C functions, for tests and the demo build.
// Devices are kept as "/dev/hidrawN" nodes. hidapi's records name them as its backend of the
// running system does: the node itself (hidraw), or on Windows one device-interface path per
// top-level collection, with its usage page and usage; the call log names the node either way.
// Reads never block: without a pending answer they time out at once (0 bytes).
// A device with several top-level collections may say which report each accepts. A handle
// the program holds to one collection (as Windows gives one handle per collection) then
// fails a write of another collection's report, as the device's interface would. On Windows
// a handle opened by path holds the collection of that path's record. A handle to the whole
// node (open_node) passes every report on.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct hid_device_;

namespace fakehid {

using Bytes = std::vector<std::uint8_t>;

struct Device {
    std::uint16_t vendor_id = 0;
    std::uint16_t product_id = 0;
    int interface_number = -1;
    std::string physical_path;                // like the kernel's HID_PHYS
    Bytes report_descriptor;
    std::optional<std::wstring> serial_number; // nullopt: hidapi reports a null pointer
    // Collection number (1-based) -> the report id it accepts; a collection not listed
    // accepts none. Empty: every collection accepts every report.
    std::map<int, std::uint8_t> collection_reports;
    // Answers a written report; the answer is returned by the next read.
    std::function<std::optional<Bytes>(const Bytes &written)> respond;
};

// Adds a device; returns its node path.
std::string plug(Device device);
void unplug(const std::string &node);
// Removes every device, call and scripted failure.
void reset();

// One line per hidapi call, such as "hid_open_path /dev/hidraw0" (also for a Windows path).
const std::vector<std::string> &call_log();
// How many lines of the call log begin with prefix.
int calls(const std::string &prefix);
// The call of the named function after the next `skip` ones fails (returns null, -1 or
// false); also "hid_node_info", the node facts the program reads from sysfs.
void fail_next(const std::string &function, int skip = 0);

// A report descriptor with the given number of top-level collections.
Bytes descriptor_with_collections(int count);

// A handle to the whole node, every collection at once, as hidraw opens it; on every system,
// for tests of a simulated device itself. Logged and failing as "hid_open_path".
hid_device_ *open_node(const std::string &node);

// Adds a line of a simulated device to the call log.
void note(const std::string &line);

} // namespace fakehid
