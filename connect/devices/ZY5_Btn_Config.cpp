#include "ZY5_Btn_Config.h"

#include <QLabel>
#include <QPixmap>

ZY5_Btn_Config::ZY5_Btn_Config(QWidget *parent)
    : QWidget(parent)
{
    auto *side = new QLabel(this);
    side->setGeometry(390, 9, 692, 648);
    side->setPixmap(QPixmap(QStringLiteral(":/img/ZY5_side")));
    auto *top = new QLabel(this);
    top->setGeometry(7, 9, 665, 648);
    top->setPixmap(QPixmap(QStringLiteral(":/img/ZY5_top")));
}
