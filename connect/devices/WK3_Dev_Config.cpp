#include "WK3_Dev_Config.h"

#include "KelvaneProgram.h"
#include "common/Autorun.h"
#include "common/ProcessLaunch.h"
#include "common/SharedStyles.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

WK3_Dev_Config::WK3_Dev_Config(QWidget *parent)
    : QWidget(parent)
{
    auto *picture = new QLabel(this);
    picture->setGeometry(100, 50, 800, 550);
    picture->setStyleSheet(QStringLiteral("QLabel {image:url(:/img/WK3.png)}"));

    m_startButton = new QPushButton(tr("启动语音输入法"), this);
    m_startButton->setGeometry(920, 260, 130, 26);
    m_startButton->setStyleSheet(style_push_button);
    connect(m_startButton, &QPushButton::clicked, this, &WK3_Dev_Config::run_orvane);

    // A switch of its own: checkable both ways, exclusive with nothing.
    m_autorunSwitch = new QRadioButton(QStringLiteral("输入法开机自启动"), this);
    m_autorunSwitch->setGeometry(920, 320, 200, 34);
    m_autorunSwitch->setStyleSheet(style_radio_button);
    m_autorunSwitch->setAutoExclusive(false);
    connect(m_autorunSwitch, &QRadioButton::toggled, this, &WK3_Dev_Config::enable_autorun);
}

// Started in connect's own folder, so it works from a shortcut or autorun too.
void WK3_Dev_Config::run_orvane()
{
    const QString program = kelvane_program();
    if (!process_launcher().start_detached(program, QCoreApplication::applicationDirPath()))
        qDebug() << "run_orvane cannot start" << program;
}

void WK3_Dev_Config::enable_autorun(bool enabled)
{
    if (enabled)
        autorun::set_command(kelvane_autorun_name, kelvane_program());
    else
        autorun::remove(kelvane_autorun_name);
}
