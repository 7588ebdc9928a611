#pragma once
#include <QWidget>

// What the main window needs of every model's page.
class DevicePage : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

signals:
    void return_back();   // leave the page for the welcome page
    void enter_widget();  // the user went into the device's settings: the device bar gives way
};
