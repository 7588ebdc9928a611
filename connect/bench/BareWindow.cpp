// The fair peer of connect's start: a bare Qt widget window of connect's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setGeometry(360, 165, 1200, 750);
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setStyleSheet(QStringLiteral("background-color: #2b2e33;"));
    window.show();
    return app.exec();
}
