// The QV8 page's widgets; the device exchanges are in Tavri_QV8_reports.cpp.
#include "Tavri_QV8.h"

#include "QV8_Btn_Config.h"
#include "QV8_Dev_Config.h"
#include "QV8_Nav_Bar.h"
#include "editors/PopBox.h"
#include "common/ReturnButtonStyle.h"
#include "common/SharedStyles.h"

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
    m_navBar->move(0, 670 - m_navBar->height());
    m_navBar->hide();
    connect(m_navBar, &QV8_Nav_Bar::nav_btn_selected, m_settingsStack, &QStackedWidget::setCurrentIndex);

    connect(m_btnConfig, &QV8_Btn_Config::main_btn_id, this, &Tavri_QV8::set_qv8_main_btn);
    connect(m_btnConfig, &QV8_Btn_Config::wheel_direction_id, this, &Tavri_QV8::set_qv8_wheel_direction);
    connect(m_btnConfig, &QV8_Btn_Config::power_on_state_id, this, &Tavri_QV8::set_qv8_power_on_state);
    connect(m_btnConfig, &QV8_Btn_Config::dpi_id, this, &Tavri_QV8::set_qv8_dpi);
}

void Tavri_QV8::create_buttons()
{
    m_restoreButton = new QPushButton(tr("恢复默认设置"), this);
    m_restoreButton->setGeometry(913, 26, 130, 26);
    m_restoreButton->setStyleSheet(style_push_button);
    m_restoreButton->hide();

    m_popBox = new PopBox(this);
    m_popBox->setPopupText(tr("将把您的鼠标恢复为出厂配置，是否继续？"));
    m_popBox->setOkBtnText(tr("恢复"));
    connect(m_restoreButton, &QPushButton::clicked, m_popBox, &QWidget::show);
    connect(m_popBox, &PopBox::ok_clicked, this, &Tavri_QV8::set_qv8_default);

    m_returnButton = new QPushButton(this);
    m_returnButton->setGeometry(40, 700, 10, 20);
    m_returnButton->setStyleSheet(style_return_button);
    m_returnButton->hide();
    connect(m_returnButton, &QPushButton::clicked, this, &Tavri_QV8::close_widget);
}

// The picture enters the settings: the device is read before they appear.
void Tavri_QV8::create_picture()
{
    m_pictureButton = new QPushButton(this);
    m_pictureButton->setGeometry(400, 50, 400, 550);
    m_pictureButton->setStyleSheet(QStringLiteral("QPushButton {image:url(:/img/QV8.png)}"));
    connect(m_pictureButton, &QPushButton::clicked, m_pictureButton, &QWidget::hide);
    connect(m_pictureButton, &QPushButton::clicked, this, &Tavri_QV8::enter_widget);
    connect(m_pictureButton, &QPushButton::clicked, this, &Tavri_QV8::get_qv8_state);
    for (QWidget *shown : {static_cast<QWidget *>(m_settingsStack), static_cast<QWidget *>(m_navBar),
                           static_cast<QWidget *>(m_restoreButton), static_cast<QWidget *>(m_returnButton)})
        connect(m_pictureButton, &QPushButton::clicked, shown, &QWidget::show);
}

void Tavri_QV8::close_widget()
{
    deleteLater();
    emit return_back();
}
