#include "ConnectMain.h"

#include "ProgramVersion.h"
#include "QtSingleApplication.h"
#include "Widget.h"

#include <QDebug>
#include <QFont>
#include <QFontDatabase>

#include <future>

namespace {

// CONNECT_UPDATE_SERVER, when set, replaces the maker's server (tests and the demo stay offline).
QUrl update_server()
{
    if (qEnvironmentVariableIsSet("CONNECT_UPDATE_SERVER"))
        return QUrl(qEnvironmentVariable("CONNECT_UPDATE_SERVER"));
    return Update::default_server;
}

} // namespace

void set_application_name()
{
    QCoreApplication::setApplicationName(QStringLiteral("connect"));
}

int run_connect(int argc, char **argv)
{
    set_application_name();
    // connect draws nothing with OpenGL: its windows stay raster surfaces, so that on X11 the
    // translucent main window gets its visual without Qt loading and probing OpenGL.
    QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    QtSingleApplication app(argc, argv, true);
    // The font database fills on a thread during the instance check and while the window is
    // made and shown: the first frame's text finds it ready.
    const std::future<void> fonts = std::async(std::launch::async, [] { QFontDatabase().families(); });
    if (app.isRunning()) {
        if (!app.sendMessage(QStringLiteral("raise_window_noop"), 1000))
            qDebug() << "connect already runs but did not answer";
        return 0;
    }
    QFont font;
    font.setFamily(QStringLiteral("微软雅黑"));
    QApplication::setFont(font);

    QCoreApplication::setApplicationVersion(ProgramVersion::text());
    qDebug() << QCoreApplication::applicationVersion();

    Widget window(nullptr, update_server());
    app.setActivationWindow(&window, true);
    window.show();
    return app.exec();
}
