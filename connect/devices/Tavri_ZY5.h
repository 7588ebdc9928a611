#pragma once
#include "Zy5Protocol.h"
#include "common/DevicePage.h"

#include <optional>

class PopBox;
class QPushButton;
class QStackedWidget;
class ZY5_Btn_Config;
class ZY5_Led_Config;
class ZY5_Nav_Bar;
class ZY5_Pointer_Config;

// The ZY5 device page. It opens on the product picture; clicking it reads the mouse's
// lighting, DPI and report rate and shows the button, lighting and pointer settings.
// Every exchange opens and closes the mouse by itself, on the GUI thread.
class Tavri_ZY5 : public DevicePage
{
    Q_OBJECT
public:
    explicit Tavri_ZY5(QWidget *parent = nullptr);

    // Set by the main window before the page is shown.
    QString dev_command_path;  // the "mi_01&col03" interface
    QString dev_macro_path;    // its "mi_01&col02" sibling

    QPushButton *picture_button() const { return m_pictureButton; }
    QPushButton *return_button() const { return m_returnButton; }
    QPushButton *restore_button() const { return m_restoreButton; }
    QStackedWidget *settings_stack() const { return m_settingsStack; }
    ZY5_Nav_Bar *nav_bar() const { return m_navBar; }
    ZY5_Btn_Config *btn_config() const { return m_btnConfig; }
    ZY5_Led_Config *led_config() const { return m_ledConfig; }
    ZY5_Pointer_Config *pointer_config() const { return m_pointerConfig; }
    PopBox *pop_box() const { return m_popBox; }

public slots:
    void get_zy5_state();
    void update_ui();
    void set_zy5_default();
    void get_dev_path();

private:
    void create_settings();
    void create_buttons();
    void create_picture();

    // The last block of each kind the mouse reported; a failed read keeps the one before.
    std::optional<zy5::Lighting> m_lighting;
    std::optional<zy5::DpiSettings> m_dpi;
    std::optional<std::uint8_t> m_reportRate;

    QStackedWidget *m_settingsStack;
    ZY5_Btn_Config *m_btnConfig;
    ZY5_Led_Config *m_ledConfig;
    ZY5_Pointer_Config *m_pointerConfig;
    ZY5_Nav_Bar *m_navBar;
    QPushButton *m_restoreButton;
    PopBox *m_popBox;
    QPushButton *m_returnButton;
    QPushButton *m_pictureButton;
};
