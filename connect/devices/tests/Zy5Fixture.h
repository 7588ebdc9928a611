#pragma once
// A simulated ZY5 on a fresh simulated bus, with the paths of its two interfaces as
// discovery and the main window give them.
#include "ModelPage.h"
#include "SimulatedDevices.h"
#include "common/HidBus.h"
#include "common/tests/PrivateAppData.h"
#include "devices/Tavri_ZY5.h"


#include <memory>
#include <string>


struct Zy5Fixture {
    std::shared_ptr<simulated::Zy5State> state = std::make_shared<simulated::Zy5State>();
    std::string node;
    QString command_path;
    QString macro_path;

    Zy5Fixture()
    {
        fakehid::reset();
        node = fakehid::plug(simulated::zy5("usb-0000:00:14.0-3", state));
        command_path = HidBus::interface_path(0xE4A9, 0x9D09, 1, 3, "usb-0000:00:14.0-3/input1");
        macro_path = HidBus::interface_path(0xE4A9, 0x9D09, 1, 2, "usb-0000:00:14.0-3/input1");
    }
    ~Zy5Fixture() { fakehid::reset(); }

    std::unique_ptr<Tavri_ZY5> open_page() const { return open_model_page<Tavri_ZY5>(command_path); }
    std::unique_ptr<Tavri_ZY5> enter_page() const { return enter_model_page<Tavri_ZY5>(command_path); }

    static int reports_written() { return fakehid::calls("hid_write"); }
    static int rejections() { return fakehid::calls("zy5 rejected"); }
};
