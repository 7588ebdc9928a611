// The ZY5 page's widgets; the device exchanges are in Tavri_ZY5_reports.cpp.
#include "Tavri_ZY5.h"

#include "PageButtons.h"
#include "ZY5_Btn_Config.h"
#include "ZY5_Led_Config.h"
#include "ZY5_Nav_Bar.h"
#include "ZY5_Pointer_Config.h"
#include "common/ReturnButton.h"
#include "editors/PopBox.h"

#include <QPushButton>
#include <QStackedWidget>

Tavri_ZY5::Tavri_ZY5(QWidget *parent)
    : DevicePage(parent)
{
    setGeometry(0, 0, 1200, 750);
    create_settings();
    create_picture();
    create_buttons();
}

// The three settings pages and the bar that switches them, hidden until the picture is clicked.
void Tavri_ZY5::create_settings()
{
    m_settingsStack = new QStackedWidget(this);
    m_settingsStack->setGeometry(0, 0, 1200, 670);
    m_settingsStack->hide();
    m_btnConfig = new ZY5_Btn_Config(this);
    m_ledConfig = new ZY5_Led_Config(this);
    m_pointerConfig = new ZY5_Pointer_Config(this);
    for (QWidget *page : {static_cast<QWidget *>(m_btnConfig), static_cast<QWidget *>(m_ledConfig),
                          static_cast<QWidget *>(m_pointerConfig)}) {
        page->setGeometry(0, 0, 1200, 670);
        m_settingsStack->addWidget(page);
    }
}

// The picture enters the settings: the device is read as they appear.
void Tavri_ZY5::create_picture()
{
    m_pictureButton = add_picture_button(this, QRect(0, 9, 1100, 648), QStringLiteral(":/img/ZY5_top.png"));
    connect(m_pictureButton, &QPushButton::clicked, m_settingsStack, &QWidget::show);
    connect(m_pictureButton, &QPushButton::clicked, this, &Tavri_ZY5::get_dev_path);

    m_navBar = new ZY5_Nav_Bar(this);
    m_navBar->switch_settings(m_settingsStack);
    connect(m_pictureButton, &QPushButton::clicked, m_navBar, &QWidget::show);
}

void Tavri_ZY5::create_buttons()
{
    m_restoreButton = add_restore_button(this);
    m_popBox = add_restore_prompt(this, m_restoreButton);
    connect(m_pictureButton, &QPushButton::clicked, m_restoreButton, &QWidget::show);
    connect(m_popBox, &PopBox::ok_clicked, this, &Tavri_ZY5::set_zy5_default);

    m_returnButton = add_return_button(this);
    m_returnButton->hide();
    connect(m_pictureButton, &QPushButton::clicked, m_returnButton, &QWidget::show);
    connect(m_returnButton, &QPushButton::clicked, this, &DevicePage::close_widget);
}
