#pragma once
#include "common/DevicePage.h"

// The ZY5 device page. The settings themselves are not built yet.
class Tavri_ZY5 : public DevicePage
{
    Q_OBJECT
public:
    explicit Tavri_ZY5(QWidget *parent = nullptr);

    // Set by the main window before the page is shown.
    QString dev_command_path;  // the "mi_01&col03" interface
    QString dev_macro_path;    // its "mi_01&col02" sibling

public slots:
    void close_widget();
};
