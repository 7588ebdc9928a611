// connect on the simulated HID bus, with two devices attached: a QV8 mouse and a ZY5
// mouse (three collections). With CONNECT_DEMO_SCREENSHOT=FILE it saves a picture of
// the window once the event loop runs and quits.
#include "FakeHidBus.h"
#include "shell/ConnectMain.h"

#include <QApplication>
#include <QDebug>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace {

void plug_demo_devices()
{
    fakehid::Device qv8;
    qv8.vendor_id = 0xE4A9;
    qv8.product_id = 0x2E1C;
    qv8.interface_number = 1;
    qv8.physical_path = "usb-0000:00:14.0-2/input1";
    qv8.report_descriptor = fakehid::descriptor_with_collections(1);
    fakehid::plug(qv8);

    fakehid::Device zy5;
    zy5.vendor_id = 0xE4A9;
    zy5.product_id = 0x9D09;
    zy5.interface_number = 1;
    zy5.physical_path = "usb-0000:00:14.0-3/input1";
    zy5.report_descriptor = fakehid::descriptor_with_collections(3);
    fakehid::plug(zy5);
}

void save_screenshot()
{
    const QString file = qEnvironmentVariable("CONNECT_DEMO_SCREENSHOT");
    if (file.isEmpty())
        return;
    QTimer::singleShot(0, [file] {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->inherits("Widget") && !window->grab().save(file))
                qWarning() << "connect_demo cannot write" << file;
        QCoreApplication::quit();
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(save_screenshot)

int main(int argc, char **argv)
{
    plug_demo_devices();
    return run_connect(argc, argv);
}
