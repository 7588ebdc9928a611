#include "Tavri_WK3.h"

#include "KelvaneProgram.h"
#include "PageButtons.h"
#include "WK3_Dev_Config.h"
#include "common/Autorun.h"
#include "common/ReturnButton.h"

#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

Tavri_WK3::Tavri_WK3(QWidget *parent)
    : DevicePage(parent)
{
    setGeometry(0, 0, 1200, 750);

    m_settingsStack = new QStackedWidget(this);
    m_settingsStack->setGeometry(0, 0, 1200, 670);
    m_devConfig = new WK3_Dev_Config(m_settingsStack);
    m_devConfig->setGeometry(0, 0, 1200, 670);
    m_settingsStack->addWidget(m_devConfig);
    m_settingsStack->hide();

    m_restoreButton = add_restore_button(this);
    m_returnButton = add_return_button(this);
    m_returnButton->hide();
    connect(m_returnButton, &QPushButton::clicked, this, &DevicePage::close_widget);

    // The switch shows the stored state before it becomes visible.
    m_pictureButton = add_picture_button(this, QRect(200, 50, 800, 550), QStringLiteral(":/img/WK3.png"));
    connect(m_pictureButton, &QPushButton::clicked, this, &Tavri_WK3::get_Kelvane_AutoRun_status);
    connect(m_pictureButton, &QPushButton::clicked, m_settingsStack, &QWidget::show);
    connect(m_pictureButton, &QPushButton::clicked, m_returnButton, &QWidget::show);
}

void Tavri_WK3::set_wk3_default()
{
}

// On only when the entry holds exactly Kelvane's path; reading never writes it back.
void Tavri_WK3::get_Kelvane_AutoRun_status()
{
    QRadioButton *autorun_switch = m_devConfig->autorun_switch();
    const QSignalBlocker blocker(autorun_switch);
    autorun_switch->setChecked(autorun::command(kelvane_autorun_name) == kelvane_program());
}
