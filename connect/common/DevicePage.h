#pragma once
#include <QWidget>

// What the main window needs of every model's page.
class DevicePage : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

public slots:
    // The return button: the page goes and the welcome page comes back.
    void close_widget()
    {
        deleteLater();
        emit return_back();
    }

signals:
    void return_back();   // leave the page for the welcome page
    void enter_widget();  // the user went into the device's settings: the device bar gives way
};
