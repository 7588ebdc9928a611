// connect on the simulated HID bus, with two devices attached: a QV8 mouse and a ZY5
// mouse (three collections) whose button 5 plays a recorded Ctrl+C. With
// CONNECT_DEMO_PAGE=zy5-buttons it opens the ZY5 button page with the assignment dialog of
// button 5. With CONNECT_DEMO_SCREENSHOT=FILE it saves a picture of the window (and of an
// open dialog) once the event loop runs and the page has settled, and quits. It checks
// for updates only at the server named by CONNECT_UPDATE_SERVER.
#include "FakeHidBus.h"
#include "SimulatedDevices.h"
#include "devices/Tavri_ZY5.h"
#include "devices/ZY5_Btn_Config.h"
#include "editors/btn_Dialog.h"
#include "shell/ConnectMain.h"
#include "shell/Tavri_Device_Btn.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDebug>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int kMacroButton = 5;

std::shared_ptr<simulated::Zy5State> demo_zy5_state()
{
    auto state = std::make_shared<simulated::Zy5State>();
    // Left Ctrl down, 120 ms, C down, 80 ms, C up, 60 ms, left Ctrl up.
    state->buttons[kMacroButton] = {2, 1, 4, 0, {0xE0, 0, 0, 0, 0x06, 0, 120, 0, 0x06, 1, 80, 0, 0xE0, 1, 60, 0}};
    return state;
}

void plug_demo_devices()
{
    fakehid::plug(simulated::qv8("usb-0000:00:14.0-2"));
    fakehid::plug(simulated::zy5("usb-0000:00:14.0-3", demo_zy5_state()));
}

QWidget *main_window()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->inherits("Widget"))
            return window;
    return nullptr;
}

// Clicks the ZY5 square of the device bar, the mouse picture, then button 5.
bool open_zy5_buttons(QWidget *window)
{
    for (auto *device : window->findChildren<Tavri_Device_Btn *>())
        if (device->dev_config_path.contains(QLatin1String("pid_9d09")))
            device->click();
    auto *page = window->findChild<Tavri_ZY5 *>();
    if (!page)
        return false;
    page->picture_button()->click();
    page->btn_config()->button_group()->button(kMacroButton)->click();
    return true;
}

// The window, with any open popup drawn where it stands as the screen shows it: opaque, its
// translucent pixels over black rather than blended with the window under it.
QPixmap window_picture(QWidget *window)
{
    QPixmap picture = window->grab();
    QPainter painter(&picture);
    for (QWidget *popup : QApplication::topLevelWidgets())
        if (popup->isVisible() && popup->windowType() == Qt::Popup) {
            const QPoint place = popup->pos() - window->pos();
            painter.fillRect(QRect(place, popup->size()), Qt::black);
            painter.drawPixmap(place, popup->grab());
        }
    return picture;
}

void open_page_and_save_screenshot()
{
    const QString page = qEnvironmentVariable("CONNECT_DEMO_PAGE");
    const QString file = qEnvironmentVariable("CONNECT_DEMO_SCREENSHOT");
    QTimer::singleShot(0, [page, file] {
        QWidget *window = main_window();
        if (!page.isEmpty() && !(page == QLatin1String("zy5-buttons") && window && open_zy5_buttons(window)))
            qWarning() << "connect_demo cannot open the page" << page;
        if (file.isEmpty())
            return;
        const int settle_ms = page.isEmpty() ? 0 : 800;  // the dialog's fade-in
        QTimer::singleShot(settle_ms, [file] {
            if (QWidget *shown = main_window(); shown && !window_picture(shown).save(file))
                qWarning() << "connect_demo cannot write" << file;
            QCoreApplication::quit();
        });
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(open_page_and_save_screenshot)

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("CONNECT_UPDATE_SERVER"))
        qputenv("CONNECT_UPDATE_SERVER", "");  // offline unless a server is named
    plug_demo_devices();
    return run_connect(argc, argv);
}
