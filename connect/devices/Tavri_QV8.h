#pragma once
#include "Qv8Protocol.h"
#include "common/DevicePage.h"

class PopBox;
class QButtonGroup;
class QPushButton;
class QStackedWidget;
class QV8_Btn_Config;
class QV8_Dev_Config;
class QV8_Nav_Bar;

// The QV8 device page. It opens on the product picture; clicking it reads the mouse
// and shows the settings. Each choice is sent to the receiver at once; every exchange
// opens and closes the receiver by itself, on the GUI thread.
class Tavri_QV8 : public DevicePage
{
    Q_OBJECT
public:
    explicit Tavri_QV8(QWidget *parent = nullptr);

    QString dev_config_path;  // set by the main window before the page is shown

    QPushButton *picture_button() const { return m_pictureButton; }
    QPushButton *return_button() const { return m_returnButton; }
    QPushButton *restore_button() const { return m_restoreButton; }
    QStackedWidget *settings_stack() const { return m_settingsStack; }
    QV8_Nav_Bar *nav_bar() const { return m_navBar; }
    QV8_Btn_Config *btn_config() const { return m_btnConfig; }
    QV8_Dev_Config *dev_config() const { return m_devConfig; }
    PopBox *pop_box() const { return m_popBox; }

public slots:
    void get_qv8_state();
    void get_qv8_dongle_version();
    void get_qv8_main_btn();
    void get_qv8_power_on_state();
    void get_qv8_wheel_direction();
    void get_qv8_dpi();
    void set_qv8_main_btn(int ID);
    void set_qv8_power_on_state(int ID);
    void set_qv8_wheel_direction(int ID);
    void set_qv8_dpi(int ID);
    void set_qv8_default();

private:
    void create_settings();
    void create_picture();
    void create_buttons();
    void read_switch(qv8::Setting setting, QButtonGroup *group);
    void send(qv8::Setting setting, int ID);

    QPushButton *m_returnButton;
    QPushButton *m_restoreButton;
    QV8_Nav_Bar *m_navBar;
    QV8_Btn_Config *m_btnConfig;
    QV8_Dev_Config *m_devConfig;
    PopBox *m_popBox;
    QStackedWidget *m_settingsStack;
    QPushButton *m_pictureButton;
};
