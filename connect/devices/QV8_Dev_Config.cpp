#include "QV8_Dev_Config.h"

#include <QLabel>
#include <QPixmap>

QV8_Dev_Config::QV8_Dev_Config(QWidget *parent)
    : QWidget(parent)
{
    auto *picture = new QLabel(this);
    picture->setGeometry(400, 50, 800, 550);
    picture->setPixmap(QPixmap(QStringLiteral(":/img/QV8")));
    picture->setAlignment(Qt::AlignCenter);

    m_versionLabel = new QLabel(tr("固件版本："), this);
    m_versionLabel->setGeometry(342, 231, 150, 14);
}
