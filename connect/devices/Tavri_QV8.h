#pragma once
#include "common/DevicePage.h"

// The QV8 device page. The settings themselves are not built yet.
class Tavri_QV8 : public DevicePage
{
    Q_OBJECT
public:
    explicit Tavri_QV8(QWidget *parent = nullptr);

    QString dev_config_path;  // set by the main window before the page is shown

public slots:
    void close_widget();
};
