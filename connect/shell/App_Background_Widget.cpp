#include "App_Background_Widget.h"

#include <QLabel>

App_Background_Widget::App_Background_Widget(QWidget *parent)
    : QWidget(parent)
{
    auto *logo = new QLabel(this);
    logo->setGeometry(516, 230, 167, 100);
    logo->setPixmap(QPixmap(QStringLiteral(":/img/connect_logo")));

    auto *welcome = new QLabel(QStringLiteral("欢迎使用 TAVRI ZIREZEV"), this);
    welcome->setGeometry(0, 360, 1200, 30);
    welcome->setAlignment(Qt::AlignCenter);
    welcome->setStyleSheet(QStringLiteral("QLabel{font:23px;color:rgba(255,255,255,0.04)}"));
}
