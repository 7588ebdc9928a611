#pragma once
#include "common/DevicePage.h"

class QPushButton;
class QStackedWidget;
class WK3_Dev_Config;

// The WK3 device page. The keyboard takes no reports: the page starts Kelvane, which
// works with it, and switches Kelvane's autorun.
class Tavri_WK3 : public DevicePage
{
    Q_OBJECT
public:
    explicit Tavri_WK3(QWidget *parent = nullptr);

    QString dev_config_path;  // set by the main window before the page is shown

    QPushButton *picture_button() const { return m_pictureButton; }
    QPushButton *return_button() const { return m_returnButton; }
    QPushButton *restore_button() const { return m_restoreButton; }
    QStackedWidget *settings_stack() const { return m_settingsStack; }
    WK3_Dev_Config *dev_config() const { return m_devConfig; }

public slots:
    void set_wk3_default();
    void get_Kelvane_AutoRun_status();

private:
    QPushButton *m_returnButton;
    // Built like the QV8 page's, but the WK3 has no defaults to restore: never shown.
    QPushButton *m_restoreButton;
    WK3_Dev_Config *m_devConfig;
    QStackedWidget *m_settingsStack;
    QPushButton *m_pictureButton;
};
