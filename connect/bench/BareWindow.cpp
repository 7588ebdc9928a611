// The fair peer of connect's start: a bare Qt widget window of connect's size.
//   connect_bare_window [--raster]
// --raster sets Qt::AA_ForceRasterWidgets, as connect does.
#include <QApplication>
#include <QWidget>

#include <cstring>

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--raster") == 0)
        QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    QApplication app(argc, argv);
    QWidget window;
    window.setGeometry(360, 165, 1200, 750);
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setStyleSheet(QStringLiteral("background-color: #2b2e33;"));
    window.show();
    return app.exec();
}
