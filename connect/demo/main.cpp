// connect on the simulated HID bus, with two devices attached: a QV8 mouse and a ZY5
// mouse (three collections). With CONNECT_DEMO_SCREENSHOT=FILE it saves a picture of
// the window once the event loop runs and quits. It checks for updates only at the server
// named by CONNECT_UPDATE_SERVER.
#include "FakeHidBus.h"
#include "SimulatedDevices.h"
#include "shell/ConnectMain.h"

#include <QApplication>
#include <QDebug>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace {

void plug_demo_devices()
{
    fakehid::plug(simulated::qv8("usb-0000:00:14.0-2"));
    fakehid::plug(simulated::zy5("usb-0000:00:14.0-3"));
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
    if (!qEnvironmentVariableIsSet("CONNECT_UPDATE_SERVER"))
        qputenv("CONNECT_UPDATE_SERVER", "");  // offline unless a server is named
    plug_demo_devices();
    return run_connect(argc, argv);
}
