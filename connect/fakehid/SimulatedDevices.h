#pragma once
// Simulated peripherals of the supported models, for the tests and the demo.
#include "FakeHidBus.h"
#include "SimulatedQv8.h"
#include "SimulatedZy5.h"

#include <memory>
#include <string>

namespace simulated {

inline fakehid::Device device(std::uint16_t product_id, int interface_number, const std::string &port,
                              int collections = 1)
{
    fakehid::Device device;
    device.vendor_id = 0xE4A9;
    device.product_id = product_id;
    device.interface_number = interface_number;
    device.physical_path = port + "/input" + std::to_string(interface_number);
    device.report_descriptor = fakehid::descriptor_with_collections(collections);
    return device;
}

// A QV8 receiver answering from state (settings the test may look at and change).
inline fakehid::Device qv8(const std::string &port, std::shared_ptr<Qv8State> state = std::make_shared<Qv8State>())
{
    fakehid::Device receiver = device(0x2E1C, 1, port);
    receiver.respond = qv8_receiver(std::move(state));
    return receiver;
}

// A ZY5 mouse answering from state; its interface 1 has three collections: the pointer,
// the macro interface (2) and the command interface (3).
inline fakehid::Device zy5(const std::string &port, std::shared_ptr<Zy5State> state = std::make_shared<Zy5State>())
{
    fakehid::Device mouse = device(0x9D09, 1, port, 3);
    mouse.collection_reports = {{2, 0x57}, {3, 0x4D}};
    mouse.respond = zy5_mouse(std::move(state));
    return mouse;
}

inline fakehid::Device wk3(const std::string &port) { return device(0x507C, 3, port); }

} // namespace simulated
