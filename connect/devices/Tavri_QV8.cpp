// The QV8 page's widgets; the device exchanges are in Tavri_QV8_reports.cpp.
#include "Tavri_QV8.h"

#include "PageButtons.h"
#include "QV8_Btn_Config.h"
#include "QV8_Dev_Config.h"
#include "QV8_Nav_Bar.h"
#include "common/ReturnButton.h"
#include "editors/PopBox.h"

#include <QPushButton>
#include <QStackedWidget>

Tavri_QV8::Tavri_QV8(QWidget *parent)
    : DevicePage(parent)
{
    setGeometry(0, 0, 1200, 750);
    create_settings();
    create_buttons();
    create_picture();
}

// The two settings pages and the bar that switches them, hidden until the picture is clicked.
void Tavri_QV8::create_settings()
{
    m_settingsStack = new QStackedWidget(this);
    m_settingsStack->setGeometry(0, 0, 1200, 670);
    m_btnConfig = new QV8_Btn_Config(m_settingsStack);
    m_devConfig = new QV8_Dev_Config(m_settingsStack);
    for (QWidget *page : {static_cast<QWidget *>(m_btnConfig), static_cast<QWidget *>(m_devConfig)}) {
        page->setGeometry(0, 0, 1200, 670);
        m_settingsStack->addWidget(page);
    }
    m_settingsStack->hide();

    m_navBar = new QV8_Nav_Bar(this);
    m_navBar->switch_settings(m_settingsStack);

    connect(m_btnConfig, &QV8_Btn_Config::main_btn_id, this, &Tavri_QV8::set_qv8_main_btn);
    connect(m_btnConfig, &QV8_Btn_Config::wheel_direction_id, this, &Tavri_QV8::set_qv8_wheel_direction);
    connect(m_btnConfig, &QV8_Btn_Config::power_on_state_id, this, &Tavri_QV8::set_qv8_power_on_state);
    connect(m_btnConfig, &QV8_Btn_Config::dpi_id, this, &Tavri_QV8::set_qv8_dpi);
}

void Tavri_QV8::create_buttons()
{
    m_restoreButton = add_restore_button(this);
    m_popBox = add_restore_prompt(this, m_restoreButton);
    connect(m_popBox, &PopBox::ok_clicked, this, &Tavri_QV8::set_qv8_default);

    m_returnButton = add_return_button(this);
    m_returnButton->hide();
    connect(m_returnButton, &QPushButton::clicked, this, &DevicePage::close_widget);
}

// The picture enters the settings: the device is read before they appear.
void Tavri_QV8::create_picture()
{
    m_pictureButton = add_picture_button(this, QRect(400, 50, 400, 550), QStringLiteral(":/img/QV8.png"));
    connect(m_pictureButton, &QPushButton::clicked, this, &Tavri_QV8::get_qv8_state);
    for (QWidget *shown : {static_cast<QWidget *>(m_settingsStack), static_cast<QWidget *>(m_navBar),
                           static_cast<QWidget *>(m_restoreButton), static_cast<QWidget *>(m_returnButton)})
        connect(m_pictureButton, &QPushButton::clicked, shown, &QWidget::show);
}
