#pragma once
#include "PageNavBar.h"

// The QV8 page's bottom bar: button settings (id 0) and device configuration (id 1).
class QV8_Nav_Bar : public PageNavBar
{
    Q_OBJECT
public:
    explicit QV8_Nav_Bar(QWidget *parent = nullptr);

    QPushButton *button_settings() const { return tab(0); }
    QPushButton *device_settings() const { return tab(1); }
};
